#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "TestStorage.h"
#include "packages/zenthic/ZTBufferAllocator.h"

namespace qx::test {
namespace {

TEST(ZTBufferAllocator, BlocksAreAlignedAndPaddedToWholeLines) {
  EXPECT_EQ(ZTBufferAllocate(0), nullptr);
  ZTBufferDeallocate(nullptr, 0);
  for (std::size_t size : {1u, 63u, 64u, 65u, 1000u}) {
    void* block = ZTBufferAllocate(size);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 64, 0u) << size;
    // The whole last line is usable (AddressSanitizer checks the writes).
    const std::size_t lines = (size + 63) / 64;
    std::memset(block, 0xA5, lines * 64);
    ZTBufferDeallocate(block, size);
  }
}

TEST(ZTBufferAllocator, BlockOwnsItsMemoryAndMoves) {
  TZTBufferBlock empty;
  EXPECT_EQ(empty.GetData(), nullptr);
  EXPECT_EQ(empty.GetSize(), 0u);

  TZTBufferBlock block(100);
  std::uint8_t* data = block.GetData();
  TZTBufferBlock moved(std::move(block));
  EXPECT_EQ(moved.GetData(), data);
  EXPECT_EQ(moved.GetSize(), 100u);
  EXPECT_EQ(block.GetData(), nullptr);  // NOLINT(bugprone-use-after-move)

  // Move-assignment frees the target's old block (LeakSanitizer checks it).
  TZTBufferBlock other(10);
  other = std::move(moved);
  EXPECT_EQ(other.GetData(), data);
}

TEST(ZTSmartBuffer, BothReferenceKindsShareOneCount) {
  TCountedStorage::Live = 0;
  auto* storage = new TCountedStorage(16);
  storage->AddReff(true);
  storage->AddReff(false);
  EXPECT_EQ(storage->GetRefCount(), 2);
  EXPECT_FALSE(storage->SingleOwner());
  {
    TRefPtr<TZTSmartBuffer> holder(storage);  // a third holder, counted alike
    EXPECT_EQ(storage->GetRefCount(), 3);
  }
  storage->RemoveReff(true);
  EXPECT_TRUE(storage->SingleOwner());
  EXPECT_EQ(TCountedStorage::Live, 1);
  storage->RemoveReff(false);
  EXPECT_EQ(TCountedStorage::Live, 0);
}

TEST(ZTSmartBuffer, RemoveOwnerShipDestroysOnlyWhatNobodyHolds) {
  TCountedStorage::Live = 0;
  (new TCountedStorage(8))->RemoveOwnerShip();
  EXPECT_EQ(TCountedStorage::Live, 0);

  auto* storage = new TCountedStorage(8);
  TRefPtr<TZTSmartBuffer> holder(storage);
  storage->RemoveOwnerShip();
  EXPECT_EQ(TCountedStorage::Live, 1);
  EXPECT_EQ(holder->GetRefCount(), 1);
  holder.Reset();
  EXPECT_EQ(TCountedStorage::Live, 0);
}

TEST(ZTSmartBuffer, ClonesKeepSizeAndStampsAndCopyBytesOnRequest) {
  TRefPtr<TZTSmartBuffer> source(new TCountedStorage(5));
  std::memcpy(source->GetData(), "abcde", 5);
  source->SetSequenceStamp({true, 42});

  TRefPtr<TZTSmartBuffer> full = source->Clone(true);
  EXPECT_NE(full->GetData(), source->GetData());
  EXPECT_EQ(std::memcmp(full->GetData(), "abcde", 5), 0);
  EXPECT_EQ(full->GetSequenceStamp(), (TZTSequenceStamp{true, 42}));
  EXPECT_EQ(full->GetRefCount(), 1);  // the clone is new: only our reference
  EXPECT_NE(dynamic_cast<TCountedStorage*>(full.Get()), nullptr);

  TRefPtr<TZTSmartBuffer> blank = source->Clone(false);
  EXPECT_EQ(blank->GetCharSize(), 5u);
  EXPECT_EQ(blank->GetSequenceStamp(), (TZTSequenceStamp{true, 42}));
}

TEST(ZTSmartBuffer, ResizedCopiesKeepTheLeadingBytes) {
  TRefPtr<TZTSmartBuffer> source(new TZTSmartByteBuffer(4));
  std::memcpy(source->GetData(), "wxyz", 4);

  TRefPtr<TZTSmartBuffer> longer = source->CreateResized(6);
  ASSERT_EQ(longer->GetCharSize(), 6u);
  EXPECT_EQ(std::memcmp(longer->GetData(), "wxyz", 4), 0);

  TRefPtr<TZTSmartBuffer> shorter = source->CreateResized(2);
  ASSERT_EQ(shorter->GetCharSize(), 2u);
  EXPECT_EQ(std::memcmp(shorter->GetData(), "wx", 2), 0);

  TRefPtr<TZTSmartBuffer> empty = source->CreateResized(0);
  EXPECT_EQ(empty->GetCharSize(), 0u);
  EXPECT_EQ(empty->GetData(), nullptr);

  EXPECT_EQ(TRefPtr<TZTSmartBuffer>(new TFixedStorage(4))->CreateResized(8), nullptr);
}

}  // namespace
}  // namespace qx::test
