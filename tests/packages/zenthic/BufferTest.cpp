// Storage, the copy-on-write data buffer and the typed buffers built on it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "TestStorage.h"
#include "packages/zenthic/NXBufferPair.h"
#include "packages/zenthic/ZTBufferAllocator.h"
#include "packages/zenthic/ZTException.h"
#include "packages/zenthic/ZTRealBuffer.h"

namespace qx::test {
namespace {

// Bytes whose number follows from something else (as an image's does).
class TFixedStorage final : public TZTBlockStorage<TFixedStorage, TZTSmartBuffer> {
 public:
  explicit TFixedStorage(std::size_t charSize) : TZTBlockStorage(charSize) {}
  TFixedStorage(const TFixedStorage& source, std::size_t charSize, bool copyData)
      : TZTBlockStorage(source, charSize, copyData) {}
  TRefPtr<TZTSmartBuffer> CreateResized(std::size_t) const override { return nullptr; }
};

TEST(ZTBufferAllocator, BlocksAreAlignedAndPaddedToWholeLines) {
  EXPECT_EQ(ZTBufferAllocate(0), nullptr);
  void* block = ZTBufferAllocate(65);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 64, 0u);
  std::memset(block, 0xA5, 128);  // the whole last line (AddressSanitizer checks)
  ZTBufferDeallocate(block, 65);
}

TEST(ZTGenericBuffer, CopiesShareTheStorageAndWritingUnsharesIt) {
  const int before = TCountedStorage::Live;
  auto first = CountedBuffer(32);
  const std::uint8_t* shared = first->ByteRead();
  TRefPtr<IZTDataBuffer> copy = first->MakeCopy();
  auto assigned = CountedBuffer(8);
  assigned->Assign(*first);  // releases its own storage
  EXPECT_EQ(TCountedStorage::Live, before + 1);
  EXPECT_EQ(copy->ByteRead(), shared);
  EXPECT_EQ(assigned->GetByteSize(), 32u);

  std::uint8_t* own = assigned->ByteModify();
  EXPECT_NE(own, shared);
  EXPECT_TRUE(HoldsSequence(*assigned));  // Modify keeps the contents
  EXPECT_NE(dynamic_cast<TCountedStorage*>(assigned->GetDataContainer().Get()), nullptr);
  own[0] = 200;
  own = copy->ByteWrite();
  EXPECT_NE(own, shared);
  std::memset(own, 0, 32);

  EXPECT_EQ(first->ByteRead(), shared);
  EXPECT_TRUE(HoldsSequence(*first));
  // Private again now that the others wrote their own copies: in place.
  EXPECT_EQ(first->ByteWrite(), shared);
  EXPECT_THROW(TZTGenericBuffer(TRefPtr<TZTSmartBuffer>()), EZTException);
}

TEST(ZTGenericBuffer, CopyToAndResizeKeepTheLeadingBytes) {
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

  ASSERT_TRUE(source->Resize(7));
  ASSERT_TRUE(source->Resize(2));
  EXPECT_TRUE(HoldsSequence(*source, 1));
  auto fixed = MakeRef<TZTGenericBuffer>(TRefPtr<TZTSmartBuffer>(new TFixedStorage(4)));
  EXPECT_FALSE(fixed->Resize(5));
  EXPECT_EQ(fixed->GetByteSize(), 4u);
}

TEST(ZTGenericBuffer, FilesRoundTrip) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("zt_buffer_" + std::to_string(getpid()))).string();
  ASSERT_TRUE(CountedBuffer(300, 3)->SaveToFile(path));
  auto loaded = MakeRef<TZTGenericBuffer>(10);
  ASSERT_TRUE(loaded->LoadFromFile(path));
  EXPECT_EQ(loaded->GetByteSize(), 300u);
  EXPECT_TRUE(HoldsSequence(*loaded, 3));
  std::filesystem::remove(path);
  EXPECT_FALSE(loaded->LoadFromFile(path));
  EXPECT_EQ(loaded->GetByteSize(), 300u);
}

TEST(ZTRealBuffer, HoldsWholeDoublesAndPairsTakeTwoBuffers) {
  auto values = MakeRef<TZTRealBuffer>(5);
  EXPECT_EQ(values->GetByteSize(), 40u);
  values->Write()[4] = 2.0;
  EXPECT_EQ(values->Read()[4], 2.0);
  // Bytes after the last whole value do not count.
  EXPECT_EQ(TZTRealBuffer(TZTGenericBuffer(20)).GetCount(), 2u);

  TRefPtr<IZTDataBuffer> copy = values->MakeCopy();
  auto pair = MakeRef<TNXBufferPair>();
  pair->AddBuffer(values);
  pair->AddBuffer(copy);
  EXPECT_EQ(pair->GetFirst(), values);
  EXPECT_EQ(pair->GetSecond(), copy);
  EXPECT_THROW(pair->AddBuffer(values), EZTException);
  EXPECT_THROW(MakeRef<TNXBufferPair>()->AddBuffer(nullptr), EZTException);
}

}  // namespace
}  // namespace qx::test
