// Storage reference counts on several threads, and the package's two locked
// lists: the stamped buffer list and the operation list, first in, first
// out, with PushBack jumping the queue.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "TestStorage.h"
#include "packages/zenthic/ZTBufferStampList.h"
#include "packages/zenthic/ZTOperationList.h"

namespace qx::test {
namespace {

// Three producers `push(producer, index)` while this thread takes items with
// `pop`: none may be lost, taken twice or out of its producer's order.
template <class Push, class Pop>
void ExpectEachProducersOrder(Push push, Pop pop) {
  constexpr int Producers = 3, PerProducer = 3000;
  std::vector<std::jthread> producers;
  for (int p = 0; p < Producers; ++p) {
    producers.emplace_back([&, p] {
      for (int i = 0; i < PerProducer; ++i) push(p, i);
    });
  }
  int next[Producers] = {};
  for (int taken = 0; taken < Producers * PerProducer;) {
    const std::optional<std::pair<int, int>> item = pop();
    if (!item) {
      std::this_thread::yield();
      continue;
    }
    ASSERT_TRUE(item->first >= 0 && item->first < Producers);
    ASSERT_EQ(item->second, next[item->first]++) << "producer " << item->first;
    ++taken;
  }
}

TEST(ZTBufferThreads, ConcurrentReferencesBalanceOut) {
  const int before = TCountedStorage::Live;
  auto* storage = new TCountedStorage(64);
  TRefPtr<TZTSmartBuffer> keeper(storage);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
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

TEST(ZTBufferStampList, KeepsEachProducersEntriesInOrderAndReleasesWhatItClears) {
  TZTBufferStampList list;
  auto buffer = MakeRef<TZTGenericBuffer>(4);
  ExpectEachProducersOrder(
      [&](int producer, int index) {
        list.Add(buffer->MakeCopy(), producer, index, -(std::int64_t{index} << 32));
      },
      [&]() -> std::optional<std::pair<int, int>> {
        auto entry = list.Pop();
        if (!entry) return std::nullopt;
        EXPECT_EQ(entry->Stamps[2], -(entry->Stamps[1] << 32));  // all 64 bits
        return std::pair(static_cast<int>(entry->Stamps[0]), static_cast<int>(entry->Stamps[1]));
      });
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
  TZTOperationList list;
  ExpectEachProducersOrder(
      [&](int producer, int index) { list.Push(MakeRef<TSequenced>(producer, index)); },
      [&]() -> std::optional<std::pair<int, int>> {
        auto operation = RefCast<TSequenced>(list.Pop());
        if (!operation) return std::nullopt;
        return std::pair(operation->Producer, operation->Index);
      });
  EXPECT_TRUE(list.IsEmpty());
}

}  // namespace
}  // namespace qx::test
