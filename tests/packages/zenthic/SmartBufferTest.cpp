#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "TestStorage.h"
#include "packages/zenthic/ZTBufferAllocator.h"

namespace qx::test {
namespace {

TEST(ZTBufferAllocator, BlocksAreAlignedAndPaddedToWholeLines) {
  EXPECT_EQ(ZTBufferAllocate(0), nullptr);
  for (std::size_t size : {1u, 63u, 64u, 65u, 1000u}) {
    void* block = ZTBufferAllocate(size);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 64, 0u) << size;
    // The whole last line is usable (AddressSanitizer checks the writes).
    std::memset(block, 0xA5, (size + 63) / 64 * 64);
    ZTBufferDeallocate(block, size);
  }
}

TEST(ZTSmartBuffer, BothReferenceKindsShareOneCount) {
  const int before = TCountedStorage::Live;
  auto* storage = new TCountedStorage(16);
  storage->AddReff(true);
  storage->AddReff(false);
  TRefPtr<TZTSmartBuffer> holder(storage);
  EXPECT_EQ(storage->GetRefCount(), 3);
  holder.Reset();
  storage->RemoveReff(true);
  EXPECT_TRUE(storage->SingleOwner());
  storage->RemoveReff(false);
  EXPECT_EQ(TCountedStorage::Live, before);
}

TEST(ZTSmartBuffer, RemoveOwnerShipDestroysOnlyWhatNobodyHolds) {
  const int before = TCountedStorage::Live;
  (new TCountedStorage(8))->RemoveOwnerShip();
  EXPECT_EQ(TCountedStorage::Live, before);

  auto* storage = new TCountedStorage(8);
  TRefPtr<TZTSmartBuffer> holder(storage);
  storage->RemoveOwnerShip();
  EXPECT_EQ(TCountedStorage::Live, before + 1);
  EXPECT_EQ(holder->GetRefCount(), 1);
}

TEST(ZTSmartBuffer, CopiesKeepClassAndStampsAndTheRequestedBytes) {
  TRefPtr<TZTSmartBuffer> source(new TCountedStorage(5));
  std::memcpy(source->GetData(), "abcde", 5);
  source->SetSequenceStamp({true, 42});

  TRefPtr<TZTSmartBuffer> full = source->Clone(true);
  EXPECT_NE(full->GetData(), source->GetData());
  EXPECT_EQ(std::memcmp(full->GetData(), "abcde", 5), 0);
  EXPECT_EQ(full->GetRefCount(), 1);  // a new object: only our reference
  EXPECT_NE(dynamic_cast<TCountedStorage*>(full.Get()), nullptr);
  EXPECT_EQ(source->Clone(false)->GetSequenceStamp(), (TZTSequenceStamp{true, 42}));

  TRefPtr<TZTSmartBuffer> longer = source->CreateResized(7);
  ASSERT_EQ(longer->GetCharSize(), 7u);
  EXPECT_EQ(std::memcmp(longer->GetData(), "abcde", 5), 0);
  TRefPtr<TZTSmartBuffer> shorter = source->CreateResized(2);
  ASSERT_EQ(shorter->GetCharSize(), 2u);
  EXPECT_EQ(std::memcmp(shorter->GetData(), "ab", 2), 0);
  EXPECT_EQ(shorter->GetSequenceStamp(), (TZTSequenceStamp{true, 42}));
  EXPECT_EQ(TRefPtr<TZTSmartBuffer>(new TFixedStorage(4))->CreateResized(8), nullptr);
}

}  // namespace
}  // namespace qx::test
