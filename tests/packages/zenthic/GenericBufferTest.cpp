#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "TestStorage.h"
#include "packages/zenthic/ZTException.h"
#include "packages/zenthic/ZTGenericBuffer.h"

namespace qx::test {
namespace {

TEST(ZTGenericBuffer, StartsWithAnEmptyStorageOrTheGivenSize) {
  auto empty = MakeRef<TZTGenericBuffer>();
  EXPECT_EQ(empty->GetByteSize(), 0u);
  EXPECT_EQ(empty->ByteRead(), nullptr);
  EXPECT_EQ(empty->ByteWrite(), nullptr);

  auto sized = MakeRef<TZTGenericBuffer>(100);
  EXPECT_EQ(sized->GetByteSize(), 100u);
  EXPECT_EQ(sized->GetSize(), 100u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(sized->ByteRead()) % 64, 0u);

  EXPECT_THROW(TZTGenericBuffer(TRefPtr<TZTSmartBuffer>()), EZTException);
}

TEST(ZTGenericBuffer, CopiesShareTheStorageWithoutCopyingBytes) {
  const int before = TCountedStorage::Live;
  auto original = CountedBuffer(64);
  auto built = MakeRef<TZTGenericBuffer>(*original);
  TRefPtr<IZTDataBuffer> copy = original->MakeCopy();
  auto assigned = MakeRef<TZTGenericBuffer>(8);
  assigned->Assign(*original);

  EXPECT_EQ(TCountedStorage::Live, before + 1);
  EXPECT_EQ(original->GetDataContainer()->GetRefCount(), 4);
  for (const IZTDataBuffer* buffer : {static_cast<IZTDataBuffer*>(built.Get()), copy.Get(),
                                      static_cast<IZTDataBuffer*>(assigned.Get())}) {
    EXPECT_EQ(buffer->ByteRead(), original->ByteRead());
    EXPECT_EQ(buffer->GetByteSize(), 64u);
  }
  EXPECT_EQ(&copy->GetInstance(), copy.Get());
}

TEST(ZTGenericBuffer, ModifyUnsharesAndKeepsTheBytes) {
  auto first = CountedBuffer(32);
  auto second = MakeRef<TZTGenericBuffer>(*first);
  const std::uint8_t* shared = first->ByteRead();

  std::uint8_t* own = second->ByteModify();
  EXPECT_NE(own, shared);
  EXPECT_TRUE(HoldsSequence(*second));
  own[0] = 200;

  EXPECT_EQ(first->ByteRead(), shared);
  EXPECT_TRUE(HoldsSequence(*first));
  EXPECT_TRUE(first->GetDataContainer()->SingleOwner());
  EXPECT_TRUE(second->GetDataContainer()->SingleOwner());
  EXPECT_NE(dynamic_cast<TCountedStorage*>(second->GetDataContainer().Get()), nullptr);
}

TEST(ZTGenericBuffer, WriteUnsharesWithoutTouchingTheOtherHolder) {
  auto first = CountedBuffer(32);
  auto second = MakeRef<TZTGenericBuffer>(*first);
  std::uint8_t* own = second->ByteWrite();
  EXPECT_NE(own, first->ByteRead());
  EXPECT_EQ(second->GetByteSize(), 32u);
  std::memset(own, 0, 32);
  EXPECT_TRUE(HoldsSequence(*first));
}

TEST(ZTGenericBuffer, SingleOwnerWritesInPlace) {
  auto buffer = CountedBuffer(16);
  const int before = TCountedStorage::Live;
  const std::uint8_t* read = buffer->ByteRead();
  EXPECT_EQ(buffer->ByteWrite(), read);
  EXPECT_EQ(buffer->ByteModify(), read);
  buffer->Unique(true);
  EXPECT_EQ(buffer->ByteRead(), read);
  EXPECT_EQ(TCountedStorage::Live, before);

  // Once the other holder is gone the storage is private again.
  auto other = MakeRef<TZTGenericBuffer>(*buffer);
  other.Reset();
  EXPECT_EQ(buffer->ByteModify(), read);
}

TEST(ZTGenericBuffer, AssignReleasesTheOldStorage) {
  const int before = TCountedStorage::Live;
  auto target = CountedBuffer(8, 100);
  auto source = CountedBuffer(4);
  ASSERT_EQ(TCountedStorage::Live, before + 2);

  target->Assign(*source);
  EXPECT_EQ(TCountedStorage::Live, before + 1);
  EXPECT_EQ(target->GetByteSize(), 4u);
  EXPECT_TRUE(HoldsSequence(*target));

  target->Assign(*target);
  EXPECT_EQ(target->GetDataContainer()->GetRefCount(), 2);
  EXPECT_EQ(target->ByteRead(), source->ByteRead());
}

TEST(ZTGenericBuffer, SequenceStampTravelsWithTheStorage) {
  auto producer = CountedBuffer(8);
  producer->SetSequenceStamp({true, 7});
  auto receiver = MakeRef<TZTGenericBuffer>(*producer);
  EXPECT_EQ(receiver->GetSequenceStamp(), (TZTSequenceStamp{true, 7}));
  receiver->ByteModify();
  EXPECT_EQ(receiver->GetSequenceStamp(), (TZTSequenceStamp{true, 7}));
  EXPECT_EQ(MakeRef<TZTGenericBuffer>(8)->GetSequenceStamp(), TZTSequenceStamp{});
}

TEST(ZTGenericBuffer, CopyToFillsTheDestinationsOwnBytes) {
  auto source = CountedBuffer(4, 1);  // 1 2 3 4

  auto larger = CountedBuffer(6, 50);  // 50 .. 55
  auto largerHolder = MakeRef<TZTGenericBuffer>(*larger);
  EXPECT_EQ(source->CopyTo(*larger), 4u);
  const std::uint8_t expectLarger[] = {1, 2, 3, 4, 54, 55};
  EXPECT_EQ(std::memcmp(larger->ByteRead(), expectLarger, 6), 0);
  EXPECT_TRUE(HoldsSequence(*largerHolder, 50));  // the shared storage was not written

  auto smaller = CountedBuffer(2, 90);
  EXPECT_EQ(source->CopyTo(*smaller), 2u);
  EXPECT_TRUE(HoldsSequence(*smaller, 1));

  // A destination sharing the source's storage gets its own copy.
  auto sharing = MakeRef<TZTGenericBuffer>(*source);
  EXPECT_EQ(source->CopyTo(*sharing), 4u);
  EXPECT_NE(sharing->ByteRead(), source->ByteRead());
  EXPECT_TRUE(HoldsSequence(*sharing, 1));
  EXPECT_EQ(source->CopyTo(*source), 4u);
}

TEST(ZTGenericBuffer, ResizeKeepsTheLeadingBytesWhereTheStorageAllowsIt) {
  auto buffer = CountedBuffer(4, 10);
  auto holder = MakeRef<TZTGenericBuffer>(*buffer);
  ASSERT_TRUE(buffer->Resize(7));
  EXPECT_EQ(buffer->GetByteSize(), 7u);
  EXPECT_EQ(std::memcmp(buffer->ByteRead(), holder->ByteRead(), 4), 0);
  EXPECT_EQ(holder->GetByteSize(), 4u);
  ASSERT_TRUE(buffer->Resize(2));
  EXPECT_TRUE(HoldsSequence(*buffer, 10));
  EXPECT_TRUE(buffer->Resize(2));

  auto fixed = MakeRef<TZTGenericBuffer>(TRefPtr<TZTSmartBuffer>(new TFixedStorage(4)));
  const std::uint8_t* bytes = fixed->ByteRead();
  EXPECT_FALSE(fixed->Resize(5));
  EXPECT_EQ(fixed->GetByteSize(), 4u);
  EXPECT_EQ(fixed->ByteRead(), bytes);
}

class ZTGenericBufferFile : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove(FPath); }

  void WriteFile(const std::string& text) { std::ofstream(FPath, std::ios::binary) << text; }

  const std::string FPath =
      (std::filesystem::temp_directory_path() /
       ("zt_buffer_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
        ::testing::UnitTest::GetInstance()->current_test_info()->name()))
          .string();
};

TEST_F(ZTGenericBufferFile, SavedBytesLoadBackAndResizeTheBuffer) {
  auto saved = CountedBuffer(300, 3);
  ASSERT_TRUE(saved->SaveToFile(FPath));
  EXPECT_EQ(std::filesystem::file_size(FPath), 300u);

  auto loaded = MakeRef<TZTGenericBuffer>(10);
  ASSERT_TRUE(loaded->LoadFromFile(FPath));
  EXPECT_EQ(loaded->GetByteSize(), 300u);
  EXPECT_TRUE(HoldsSequence(*loaded, 3));

  // Loading into a shared buffer leaves the other holder alone.
  auto holder = MakeRef<TZTGenericBuffer>(*saved);
  WriteFile(std::string(300, 'z'));
  ASSERT_TRUE(saved->LoadFromFile(FPath));
  EXPECT_EQ(saved->ByteRead()[299], 'z');
  EXPECT_TRUE(HoldsSequence(*holder, 3));
}

TEST_F(ZTGenericBufferFile, LoadFailsWithoutChangeWhenTheSizeCannotFollow) {
  WriteFile("12345");
  auto fixed = MakeRef<TZTGenericBuffer>(TRefPtr<TZTSmartBuffer>(new TFixedStorage(4)));
  std::memcpy(fixed->ByteWrite(), "abcd", 4);
  EXPECT_FALSE(fixed->LoadFromFile(FPath));
  EXPECT_EQ(std::memcmp(fixed->ByteRead(), "abcd", 4), 0);

  WriteFile("wxyz");
  ASSERT_TRUE(fixed->LoadFromFile(FPath));
  EXPECT_EQ(std::memcmp(fixed->ByteRead(), "wxyz", 4), 0);

  EXPECT_FALSE(fixed->LoadFromFile(FPath + ".missing"));
  EXPECT_FALSE(fixed->SaveToFile("/nonexistent-directory/file"));
}

}  // namespace
}  // namespace qx::test
