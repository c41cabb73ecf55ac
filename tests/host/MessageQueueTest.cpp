// The main-thread queue: order, targets, lifetime, Run/Quit, event-loop
// adapters and posting from many threads.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "host/Event.h"
#include "host/MessageQueue.h"

namespace qx {
namespace {

using namespace std::chrono_literals;

TEST(MessageQueueTest, MessagesAndCallsArriveInPostingOrderOneRoundAtATime) {
  TMessageQueue queue;
  std::vector<std::string> seen;
  TMessageTarget target(
      [&](const TMessage& m) {
        seen.push_back("msg " + std::to_string(m.Msg - WM_APP) + " " + std::to_string(m.WParam) +
                       " " + std::to_string(m.LParam));
      },
      queue);
  target.PostMessage(WM_APP + 2, 7, -1);
  queue.PostCall([&] { seen.push_back("call"); });
  EXPECT_TRUE(PostMessage(target.GetHandle(), WM_APP + 4));
  target.PostCall([&] { seen.push_back("target call"); });
  EXPECT_TRUE(seen.empty());  // nothing runs before the queue is processed
  EXPECT_EQ(queue.ProcessMessages(), 4u);
  const std::vector<std::string> expected = {"msg 2 7 -1", "call", "msg 4 0 0", "target call"};
  EXPECT_EQ(seen, expected);

  // Messages posted while processing wait for the next round.
  int handled = 0;
  std::function<void()> repost = [&] {
    if (++handled < 3) queue.PostCall(repost);
  };
  queue.PostCall(repost);
  for (std::size_t expected : {1u, 1u, 1u, 0u}) EXPECT_EQ(queue.ProcessMessages(), expected);
}

TEST(MessageQueueTest, AHandlerThatDestroysATargetOrThrowsLeavesTheRestOfTheRoundSound) {
  TMessageQueue queue;
  std::vector<int> seen;
  // A target destroyed by an earlier message of the round gets none of its messages.
  auto victim =
      std::make_unique<TMessageTarget>([&](const TMessage&) { seen.push_back(0); }, queue);
  const TMessageTargetHandle handle = victim->GetHandle();
  queue.PostCall([&] { victim.reset(); });
  victim->PostMessage(WM_APP);
  EXPECT_EQ(queue.ProcessMessages(), 1u);
  EXPECT_FALSE(PostMessage(handle, WM_APP));
  EXPECT_FALSE(PostMessage(TMessageTargetHandle(), WM_APP));

  // An exception leaves the messages after it queued, in order.
  queue.PostCall([&] { seen.push_back(1); });
  queue.PostCall([] { throw std::runtime_error("handler failed"); });
  queue.PostCall([&] { seen.push_back(3); });
  EXPECT_THROW(queue.ProcessMessages(), std::runtime_error);
  queue.PostCall([&] { seen.push_back(4); });
  EXPECT_EQ(queue.ProcessMessages(), 2u);
  EXPECT_EQ(seen, (std::vector<int>{1, 3, 4}));
}

TEST(MessageQueueThreadedTest, RunHandlesMessagesOnItsThreadUntilQuit) {
  TMessageQueue queue;
  queue.Quit();
  queue.Run();  // a Quit before Run makes it return at once, once
  std::thread::id handlerThread;
  std::thread poster([&] {
    queue.PostCall([&] { handlerThread = std::this_thread::get_id(); });
    queue.PostCall([&] { queue.Quit(); });
  });
  queue.Run();
  poster.join();
  EXPECT_EQ(handlerThread, std::this_thread::get_id());

  // Quit from another thread while Run is waiting for messages.
  std::thread quitter([&] {
    std::this_thread::sleep_for(10ms);
    queue.Quit();
  });
  queue.Run();
  quitter.join();
}

// An event loop of its own, as an application's would be: woken by the
// queue, it processes messages on its thread.
class TTestEventLoop : public IEventLoop {
 public:
  void Wake() override {
    ++FWakes;
    FWakeEvent.SetEvent();
  }

  std::atomic<int> FWakes{0};
  TEvent FWakeEvent;
};

TEST(MessageQueueThreadedTest, PostsFromManyThreadsKeepEachThreadsOrderAndWakeTheEventLoop) {
  TMessageQueue queue;
  auto loop = std::make_shared<TTestEventLoop>();
  queue.PostCall([] {});
  queue.SetEventLoop(loop);  // something is already waiting: wake at once
  queue.PostCall([] {});     // the queue was not empty: no wake
  EXPECT_EQ(loop->FWakes, 1);
  queue.ProcessMessages();
  constexpr int threads = 4;
  constexpr int perThread = 5000;
  std::vector<std::intptr_t> last(threads, -1);
  int outOfOrder = 0;
  int messages = 0;
  TMessageTarget target(
      [&](const TMessage& m) {
        if (m.LParam != last[m.WParam] + 1) ++outOfOrder;
        last[m.WParam] = m.LParam;
        ++messages;
      },
      queue);
  const TMessageTargetHandle handle = target.GetHandle();
  std::vector<std::thread> posters;
  for (int t = 0; t < threads; ++t) {
    posters.emplace_back([&, t] {
      for (int i = 0; i < perThread; ++i) {
        PostMessage(handle, WM_APP, static_cast<std::uintptr_t>(t), i);
      }
    });
  }
  // This thread is the event loop: it processes when the posters wake it.
  while (messages < threads * perThread) {
    loop->FWakeEvent.WaitFor(1s);
    queue.ProcessMessages();
  }
  for (auto& poster : posters) poster.join();
  queue.ProcessMessages();
  queue.SetEventLoop(nullptr);
  EXPECT_EQ(outOfOrder, 0);
  EXPECT_GT(loop->FWakes, 1);
}

TEST(MessageQueueThreadedTest, NoDeliveryToTargetsDestroyedWhileAnotherThreadPosts) {
  TMessageQueue queue;
  std::mutex handleMutex;
  TMessageTargetHandle handle;
  std::atomic<bool> stop{false};
  std::jthread poster([&] {
    while (!stop) {
      std::lock_guard lock(handleMutex);
      PostMessage(handle, WM_APP);
    }
  });

  // Each target is destroyed with messages pending before the queue is processed:
  // any call of a handler is a late delivery.
  int lateDeliveries = 0;
  for (int round = 0; round < 500; ++round) {
    auto target =
        std::make_unique<TMessageTarget>([&](const TMessage&) { ++lateDeliveries; }, queue);
    {
      std::lock_guard lock(handleMutex);
      handle = target->GetHandle();
    }
    while (!queue.HasPendingMessages()) std::this_thread::yield();
    target.reset();
    queue.ProcessMessages();
  }
  stop = true;
  poster.join();
  queue.ProcessMessages();
  EXPECT_EQ(lateDeliveries, 0);
}

}  // namespace
}  // namespace qx
