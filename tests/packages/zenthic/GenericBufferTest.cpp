#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "TestStorage.h"
#include "packages/zenthic/ZTException.h"
#include "packages/zenthic/ZTGenericBuffer.h"

namespace qx::test {
namespace {

TEST(ZTGenericBuffer, CopiesShareTheStorageWithoutCopyingBytes) {
  const int before = TCountedStorage::Live;
  auto original = CountedBuffer(64);
  auto built = MakeRef<TZTGenericBuffer>(*original);
  TRefPtr<IZTDataBuffer> copy = original->MakeCopy();
  auto assigned = CountedBuffer(8);
  assigned->Assign(*original);  // releases its own storage

  EXPECT_EQ(TCountedStorage::Live, before + 1);
  EXPECT_EQ(original->GetDataContainer()->GetRefCount(), 4);
  EXPECT_EQ(built->ByteRead(), original->ByteRead());
  EXPECT_EQ(copy->ByteRead(), original->ByteRead());
  EXPECT_EQ(assigned->ByteRead(), original->ByteRead());
  EXPECT_EQ(assigned->GetByteSize(), 64u);
  assigned->Assign(*assigned);
  EXPECT_EQ(original->GetDataContainer()->GetRefCount(), 4);

  EXPECT_THROW(TZTGenericBuffer(TRefPtr<TZTSmartBuffer>()), EZTException);
}

TEST(ZTGenericBuffer, WritingASharedStorageUnsharesItFirst) {
  auto first = CountedBuffer(32);
  const std::uint8_t* shared = first->ByteRead();

  auto modified = MakeRef<TZTGenericBuffer>(*first);
  std::uint8_t* own = modified->ByteModify();
  EXPECT_NE(own, shared);
  EXPECT_TRUE(HoldsSequence(*modified));  // Modify keeps the contents
  own[0] = 200;

  auto written = MakeRef<TZTGenericBuffer>(*first);
  own = written->ByteWrite();
  EXPECT_NE(own, shared);
  EXPECT_EQ(written->GetByteSize(), 32u);
  std::memset(own, 0, 32);

  EXPECT_EQ(first->ByteRead(), shared);
  EXPECT_TRUE(HoldsSequence(*first));
  EXPECT_TRUE(first->GetDataContainer()->SingleOwner());
  EXPECT_NE(dynamic_cast<TCountedStorage*>(modified->GetDataContainer().Get()), nullptr);
}

TEST(ZTGenericBuffer, SingleOwnerWritesInPlace) {
  auto buffer = CountedBuffer(16);
  const int before = TCountedStorage::Live;
  const std::uint8_t* read = buffer->ByteRead();
  EXPECT_EQ(buffer->ByteWrite(), read);
  EXPECT_EQ(buffer->ByteModify(), read);
  // Once the other holder is gone the storage is private again.
  MakeRef<TZTGenericBuffer>(*buffer).Reset();
  EXPECT_EQ(buffer->ByteModify(), read);
  EXPECT_EQ(TCountedStorage::Live, before);
}

TEST(ZTGenericBuffer, CopyToFillsTheDestinationsOwnBytes) {
  auto source = CountedBuffer(4, 1);   // 1 2 3 4
  auto larger = CountedBuffer(6, 50);  // 50 .. 55
  auto largerHolder = MakeRef<TZTGenericBuffer>(*larger);
  EXPECT_EQ(source->CopyTo(*larger), 4u);
  const std::uint8_t expectLarger[] = {1, 2, 3, 4, 54, 55};
  EXPECT_EQ(std::memcmp(larger->ByteRead(), expectLarger, 6), 0);
  EXPECT_TRUE(HoldsSequence(*largerHolder, 50));  // the shared storage was not written

  auto smaller = CountedBuffer(2, 90);
  EXPECT_EQ(source->CopyTo(*smaller), 2u);
  EXPECT_TRUE(HoldsSequence(*smaller, 1));
}

TEST(ZTGenericBuffer, ResizeKeepsTheLeadingBytesWhereTheStorageAllowsIt) {
  auto buffer = CountedBuffer(4, 10);
  auto holder = MakeRef<TZTGenericBuffer>(*buffer);
  ASSERT_TRUE(buffer->Resize(7));
  EXPECT_EQ(buffer->GetByteSize(), 7u);
  EXPECT_EQ(holder->GetByteSize(), 4u);
  ASSERT_TRUE(buffer->Resize(2));
  EXPECT_TRUE(HoldsSequence(*buffer, 10));

  auto fixed = MakeRef<TZTGenericBuffer>(TRefPtr<TZTSmartBuffer>(new TFixedStorage(4)));
  const std::uint8_t* bytes = fixed->ByteRead();
  EXPECT_FALSE(fixed->Resize(5));
  EXPECT_EQ(fixed->ByteRead(), bytes);
}

TEST(ZTGenericBuffer, FilesRoundTripAndResizeOnlyWhereAllowed) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("zt_buffer_" + std::to_string(getpid()))).string();
  auto saved = CountedBuffer(300, 3);
  ASSERT_TRUE(saved->SaveToFile(path));
  auto loaded = MakeRef<TZTGenericBuffer>(10);
  ASSERT_TRUE(loaded->LoadFromFile(path));
  EXPECT_EQ(loaded->GetByteSize(), 300u);
  EXPECT_TRUE(HoldsSequence(*loaded, 3));

  auto fixed = MakeRef<TZTGenericBuffer>(TRefPtr<TZTSmartBuffer>(new TFixedStorage(4)));
  std::memcpy(fixed->ByteWrite(), "abcd", 4);
  EXPECT_FALSE(fixed->LoadFromFile(path));
  EXPECT_EQ(std::memcmp(fixed->ByteRead(), "abcd", 4), 0);
  std::ofstream(path, std::ios::binary) << "wxyz";
  ASSERT_TRUE(fixed->LoadFromFile(path));
  EXPECT_EQ(std::memcmp(fixed->ByteRead(), "wxyz", 4), 0);

  std::filesystem::remove(path);
  EXPECT_FALSE(fixed->LoadFromFile(path));
  EXPECT_FALSE(fixed->SaveToFile("/nonexistent-directory/file"));
}

}  // namespace
}  // namespace qx::test
