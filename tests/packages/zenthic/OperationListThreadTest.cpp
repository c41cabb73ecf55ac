// TZTOperationList under concurrent producers and consumers: every operation
// is taken exactly once, and one producer's operations keep their order.
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
  std::vector<int> order[2];
  while (TFBOperationPtr operation = list.Pop()) {
    auto sequenced = RefCast<TSequenced>(operation);
    if (sequenced->Producer == 1) {
      EXPECT_TRUE(order[0].empty()) << "a put-back taken after a push";
    }
    order[sequenced->Producer].push_back(sequenced->Index);
  }
  ASSERT_EQ(order[0].size(), std::size_t(count));
  ASSERT_EQ(order[1].size(), std::size_t(count));
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(order[0][i], i);
    EXPECT_EQ(order[1][i], count - 1 - i);
  }
}

}  // namespace
}  // namespace qx
