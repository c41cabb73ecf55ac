// TZTOperationList: first in, first out, with PushBack jumping the queue,
// alone and under concurrent producers and consumers.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "packages/zenthic/ZTOperationList.h"

namespace qx {
namespace {

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
}  // namespace qx
