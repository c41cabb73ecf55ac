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

TEST(OperationList, TakesInArrivalOrderWithPutBacksFirstLatestPutBackFirst) {
  TZTOperationList list;
  EXPECT_EQ(list.Pop(), nullptr);
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
  EXPECT_TRUE(list.IsEmpty());
}

TEST(OperationList, RefusesNullAndClearReleasesEverything) {
  TZTOperationList list;
  EXPECT_FALSE(list.Push(nullptr));
  EXPECT_FALSE(list.PushBack(nullptr));
  EXPECT_TRUE(list.IsEmpty());

  TFBOperationPtr kept = Tagged(7);
  list.Push(kept);
  list.PushBack(kept);
  EXPECT_EQ(kept->GetRefCount(), 3);
  list.Clear();
  EXPECT_EQ(kept->GetRefCount(), 1);
  EXPECT_EQ(list.Pop(), nullptr);
  list.Push(Tagged(8));
  EXPECT_EQ(Drain(list), (std::vector<int>{8}));
}

TEST(OperationListThreaded, ConcurrentPushAndPopLoseAndDuplicateNothing) {
  constexpr int producers = 3;
  constexpr int perProducer = 4000;
  TZTOperationList list;
  std::atomic<int> producing{producers};
  std::vector<std::vector<int>> taken(2 * producers);  // [consumer * producers + producer]

  auto consume = [&](int consumer) {
    for (;;) {
      const bool finished = producing.load() == 0;
      TFBOperationPtr operation = list.Pop();
      if (!operation) {
        if (finished) return;
        std::this_thread::yield();
        continue;
      }
      auto sequenced = RefCast<TSequenced>(operation);
      taken[consumer * producers + sequenced->Producer].push_back(sequenced->Index);
    }
  };
  std::vector<std::thread> threads;
  for (int consumer = 0; consumer < 2; ++consumer) threads.emplace_back(consume, consumer);
  for (int producer = 0; producer < producers; ++producer) {
    threads.emplace_back([&, producer] {
      for (int index = 0; index < perProducer; ++index)
        list.Push(MakeRef<TSequenced>(producer, index));
      --producing;
    });
  }
  for (auto& thread : threads) thread.join();

  EXPECT_TRUE(list.IsEmpty());
  for (int producer = 0; producer < producers; ++producer) {
    std::vector<bool> seen(perProducer, false);
    for (int consumer = 0; consumer < 2; ++consumer) {
      const std::vector<int>& indices = taken[consumer * producers + producer];
      // Each consumer sees one producer's operations in the order pushed.
      for (std::size_t i = 1; i < indices.size(); ++i) EXPECT_LT(indices[i - 1], indices[i]);
      for (int index : indices) {
        EXPECT_FALSE(seen[index]) << "taken twice: " << producer << "/" << index;
        seen[index] = true;
      }
    }
    for (int index = 0; index < perProducer; ++index)
      EXPECT_TRUE(seen[index]) << "lost: " << producer << "/" << index;
  }
}

TEST(OperationListThreaded, PutBacksRacingWithPushesAreAllTaken) {
  TZTOperationList list;
  constexpr int count = 3000;
  std::thread pusher([&] {
    for (int i = 0; i < count; ++i) list.Push(MakeRef<TSequenced>(0, i));
  });
  std::thread putter([&] {
    for (int i = 0; i < count; ++i) list.PushBack(MakeRef<TSequenced>(1, i));
  });
  pusher.join();
  putter.join();

  // Put-backs come first, latest first; then the pushes in order.
  std::vector<int> expected;
  for (int i = count - 1; i >= 0; --i) expected.push_back(i + count);
  for (int i = 0; i < count; ++i) expected.push_back(i);
  std::vector<int> taken;
  while (TFBOperationPtr op = list.Pop()) {
    auto sequenced = RefCast<TSequenced>(op);
    taken.push_back(sequenced->Index + sequenced->Producer * count);
  }
  EXPECT_EQ(taken, expected);
}

}  // namespace
}  // namespace qx
