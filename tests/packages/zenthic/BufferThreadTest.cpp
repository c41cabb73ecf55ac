// Reference counts and copy-on-write with buffers on several threads, and
// the package's two locked lists: the stamped buffer list and the operation
// list, first in, first out, with PushBack jumping the queue.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "TestStorage.h"
#include "packages/zenthic/ZTBufferStampList.h"
#include "packages/zenthic/ZTOperationList.h"

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

class TSequenced : public TFBNotifyOperation {
 public:
  TSequenced(int producer, int index) : Producer(producer), Index(index) {}
  const int Producer;
  const int Index;
};

TFBOperationPtr Tagged(int tag) { return MakeRef<TSequenced>(0, tag); }

// Pops until empty and lists the indices in the order taken.
std::vector<int> Drain(TZTOperationList& list) {
  std::vector<int> tags;
  while (TFBOperationPtr op = list.Pop()) tags.push_back(RefCast<TSequenced>(op)->Index);
  return tags;
}

TEST(OperationList, TakesInArrivalOrderWithPutBacksFirstAndClearReleasesEverything) {
  TZTOperationList list;
  EXPECT_EQ(list.Pop(), nullptr);
  EXPECT_FALSE(list.Push(nullptr));
  EXPECT_FALSE(list.PushBack(nullptr));
  list.Push(Tagged(1));
  list.Push(Tagged(2), false);
  list.PushBack(Tagged(3));
  list.PushBack(Tagged(4));
  list.Push(Tagged(5));
  list.Push(Tagged(6), true);
  EXPECT_EQ(list.GetCount(), 6u);
  TFBOperationPtr first = list.Pop();
  list.PushBack(first);  // what was just taken comes next again
  EXPECT_EQ(list.Pop(), first);
  EXPECT_EQ(Drain(list), (std::vector<int>{4, 3, 1, 2, 5}));

  TFBOperationPtr kept = Tagged(7);
  list.Push(kept);
  list.PushBack(kept);
  list.Clear();
  EXPECT_EQ(kept->GetRefCount(), 1);
  EXPECT_TRUE(list.IsEmpty());
}

TEST(OperationListThreaded, ConcurrentPushesArriveCompleteAndInEachProducersOrder) {
  constexpr int Producers = 3, PerProducer = 4000;
  TZTOperationList list;
  std::vector<std::thread> producers;
  for (int producer = 0; producer < Producers; ++producer) {
    producers.emplace_back([&, producer] {
      for (int index = 0; index < PerProducer; ++index) {
        list.Push(MakeRef<TSequenced>(producer, index));
      }
    });
  }
  int next[Producers] = {};
  for (int taken = 0; taken < Producers * PerProducer;) {
    auto operation = RefCast<TSequenced>(list.Pop());
    if (!operation) {
      std::this_thread::yield();
      continue;
    }
    ASSERT_EQ(operation->Index, next[operation->Producer]++) << operation->Producer;
    ++taken;
  }
  for (auto& producer : producers) producer.join();
  EXPECT_TRUE(list.IsEmpty());
}

}  // namespace
}  // namespace qx::test
