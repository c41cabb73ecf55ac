// Wake-ups for a worker thread and deliveries on the user-interface thread.
// The test thread plays the user-interface thread with a private queue.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "../Eventually.h"
#include "TestStorage.h"
#include "host/Event.h"
#include "host/MessageQueue.h"
#include "packages/zenthic/ZTMainThreadBufferQueue.h"
#include "packages/zenthic/ZTMainThreadNotify.h"
#include "packages/zenthic/ZTNotifyThread.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;

// Starts `count` threads running `body(index)`, joined when the result goes.
template <class F>
std::vector<std::jthread> Spawn(int count, F body) {
  std::vector<std::jthread> threads;
  for (int i = 0; i < count; ++i) threads.emplace_back(body, i);
  return threads;
}

// Handles the queue's messages until `condition` holds (ten seconds at most).
template <class F>
bool ProcessUntil(TMessageQueue& queue, F condition) {
  return Eventually([&] {
    queue.ProcessMessages();
    return condition();
  });
}

TEST(ZTNotifyThread, NoWakeUpIsLostUnderConcurrentProducers) {
  constexpr int Producers = 3, PerProducer = 3000;
  std::atomic<int> posted{0}, seen{0};
  TZTNotifyThread worker([&] { seen = posted.load(); });
  Spawn(Producers, [&](int) {
    for (int i = 0; i < PerProducer; ++i) {
      ++posted;
      worker.Wake();
    }
  });
  // Every wake-up is followed by a run that starts after it, so the last run
  // sees the final count.
  EXPECT_TRUE(Eventually([&] { return seen == Producers * PerProducer; }));
}

TEST(ZTNotifyThread, DestructionWaitsForTheRunningHandlerAndStartsNoOther) {
  TEvent entered;
  std::atomic<bool> finished{false};
  std::atomic<int> runs{0};
  auto worker = std::make_unique<TZTNotifyThread>([&] {
    ++runs;
    entered.SetEvent();
    std::this_thread::sleep_for(30ms);
    finished = true;
  });
  worker->Wake();
  ASSERT_TRUE(entered.WaitFor(10s));
  worker->Wake();  // pending when the destruction begins
  worker.reset();
  EXPECT_TRUE(finished);
  EXPECT_EQ(runs, 1);
}

TEST(ZTMainThreadNotify, CoalescesRequestsFromAnyThreadAndHonoursThoseMadeDuringARun) {
  TMessageQueue queue;
  std::atomic<int> requested{0};
  int seen = 0, runs = 0;
  std::unique_ptr<TZTMainThreadNotify> notify;
  notify = std::make_unique<TZTMainThreadNotify>(
      [&] {
        seen = requested.load();
        if (++runs == 1) notify->Notify();  // the first run asks for another one
      },
      queue);
  for (int i = 0; i < 3; ++i) notify->Notify();
  EXPECT_EQ(queue.ProcessMessages(), 1u);
  EXPECT_EQ(queue.ProcessMessages(), 1u);
  EXPECT_EQ(runs, 2);
  EXPECT_FALSE(queue.HasPendingMessages());

  Spawn(4, [&](int) {
    for (int i = 0; i < 500; ++i) {
      ++requested;
      notify->Notify();
    }
  });
  EXPECT_TRUE(ProcessUntil(queue, [&] { return seen == 2000; }));

  // A pending request dies with the object.
  const int runsBefore = runs;
  notify->Notify();
  notify.reset();
  queue.ProcessMessages();
  EXPECT_EQ(runs, runsBefore);
}

// The queue is the locked queue of the stamp list (whose suite runs it under
// concurrent producers) behind a main-thread notifier.
TEST(ZTMainThreadBufferQueue, DeliversInArrivalOrderOnTheQueuesThreadAndReleasesWhatIsCleared) {
  TMessageQueue queue;
  std::vector<const IZTDataBuffer*> delivered;
  TZTMainThreadBufferQueue buffers(
      [&](const TRefPtr<IZTDataBuffer>& buffer) { delivered.push_back(buffer.Get()); }, queue);
  const TRefPtr<IZTDataBuffer> sent[] = {CountedBuffer(1), CountedBuffer(2), CountedBuffer(3)};
  std::thread([&] {
    for (const auto& buffer : sent) buffers.Add(buffer);
  }).join();
  EXPECT_EQ(queue.ProcessMessages(), 1u);
  EXPECT_EQ(delivered,
            (std::vector<const IZTDataBuffer*>{sent[0].Get(), sent[1].Get(), sent[2].Get()}));

  const int before = TCountedStorage::Live;
  buffers.Add(CountedBuffer(4));
  buffers.Clear();
  EXPECT_EQ(TCountedStorage::Live, before);
  queue.ProcessMessages();
  EXPECT_EQ(delivered.size(), 3u);
}

}  // namespace
}  // namespace qx::test
