// Reference counts, copy-on-write and the stamped buffer list with buffers
// on several threads.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "TestStorage.h"
#include "packages/zenthic/ZTBufferStampList.h"

namespace qx::test {
namespace {

constexpr int Threads = 4;

TEST(ZTBufferThreads, ConcurrentReferencesBalanceOut) {
  const int before = TCountedStorage::Live;
  auto* storage = new TCountedStorage(64);
  TRefPtr<TZTSmartBuffer> keeper(storage);
  std::vector<std::thread> threads;
  for (int t = 0; t < Threads; ++t) {
    threads.emplace_back([storage, t] {
      for (int i = 0; i < 20000; ++i) {
        storage->AddReff(t % 2 == 0);
        TRefPtr<TZTSmartBuffer> extra(storage);
        storage->RemoveReff(t % 2 == 0);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(storage->GetRefCount(), 1);
  keeper.Reset();
  EXPECT_EQ(TCountedStorage::Live, before);
}

TEST(ZTBufferThreads, SharedStorageIsNeverWritten) {
  constexpr std::size_t Size = 4096;
  auto source = CountedBuffer(Size);
  std::vector<TRefPtr<IZTDataBuffer>> copies;
  for (int t = 0; t < Threads; ++t) copies.push_back(source->MakeCopy());

  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < Threads; ++t) {
    threads.emplace_back([&, t] {
      const TRefPtr<IZTDataBuffer>& mine = copies[t];
      for (int round = 0; round < 200; ++round) {
        TRefPtr<IZTDataBuffer> working = mine->MakeCopy();
        // Alternate the two ways of unsharing: the kept contents of Modify
        // must be the source's, and neither may reach the shared bytes.
        std::uint8_t* bytes = round % 2 ? working->ByteModify() : working->ByteWrite();
        if (round % 2 && !HoldsSequence(*working)) ++failures;
        for (std::size_t i = 0; i < Size; i += 97) bytes[i] = static_cast<std::uint8_t>(t + 1);
        if (!HoldsSequence(*mine)) ++failures;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
  EXPECT_TRUE(HoldsSequence(*source));
  copies.clear();
  EXPECT_TRUE(source->GetDataContainer()->SingleOwner());
}

TEST(ZTBufferStampList, KeepsEachProducersEntriesInOrderAndReleasesWhatItClears) {
  constexpr int Producers = 3, PerProducer = 3000;
  TZTBufferStampList list;
  auto buffer = MakeRef<TZTGenericBuffer>(4);
  std::vector<std::thread> producers;
  for (int p = 0; p < Producers; ++p) {
    producers.emplace_back([&, p] {
      for (int i = 0; i < PerProducer; ++i)
        list.Add(buffer->MakeCopy(), p, i, -(std::int64_t{i} << 32));
    });
  }
  std::array<std::int64_t, Producers> next{};
  for (int received = 0; received < Producers * PerProducer;) {
    auto entry = list.Pop();
    if (!entry) {
      std::this_thread::yield();
      continue;
    }
    const auto producer = static_cast<std::size_t>(entry->Stamps[0]);
    ASSERT_LT(producer, next.size());
    ASSERT_EQ(entry->Stamps[1], next[producer]);
    ASSERT_EQ(entry->Stamps[2], -(next[producer] << 32));  // all 64 bits
    ++next[producer];
    ++received;
  }
  for (auto& producer : producers) producer.join();
  EXPECT_FALSE(list.Pop());
  EXPECT_EQ(buffer->GetDataContainer()->GetRefCount(), 1);

  // What is cleared is released.
  list.Add(buffer->MakeCopy(), 0, 0, 0);
  list.Clear();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(buffer->GetDataContainer()->GetRefCount(), 1);
}

}  // namespace
}  // namespace qx::test
