// Wake-ups for a worker thread and deliveries on the user-interface thread.
// The main-thread tests drive a private message queue from the test thread,
// which plays the user-interface thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "TestStorage.h"
#include "host/Event.h"
#include "host/MessageQueue.h"
#include "packages/zenthic/ZTMainThreadBufferQueue.h"
#include "packages/zenthic/ZTMainThreadNotify.h"
#include "packages/zenthic/ZTNotifyThread.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;

// Starts `count` threads running `body(index)`; they are joined when the
// returned vector goes.
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
  std::atomic<bool> onWorkerThread{true};
  const auto testThread = std::this_thread::get_id();
  TZTNotifyThread worker([&] {
    seen = posted.load();
    if (std::this_thread::get_id() == testThread) onWorkerThread = false;
  });
  Spawn(Producers, [&](int) {
    for (int i = 0; i < PerProducer; ++i) {
      ++posted;
      worker.Wake();
    }
  });
  // Every wake-up is followed by a run that starts after it, so the last run
  // sees the final count.
  EXPECT_TRUE(Eventually([&] { return seen == Producers * PerProducer; }));
  EXPECT_TRUE(onWorkerThread);
}

TEST(ZTNotifyThread, WakeUpsDuringARunCoalesceIntoOneMore) {
  TEvent entered;
  TEvent release(true);
  std::atomic<int> runs{0};
  TZTNotifyThread worker([&] {
    if (++runs == 1) {
      entered.SetEvent();
      release.WaitFor();
    }
  });
  worker.Wake();
  ASSERT_TRUE(entered.WaitFor(10s));
  for (int i = 0; i < 100; ++i) worker.Wake();
  release.SetEvent();
  ASSERT_TRUE(Eventually([&] { return runs == 2; }));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(runs, 2);
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

TEST(ZTNotifyThread, TerminationNeverHangsUnderStress) {
  for (int round = 0; round < 200; ++round) {
    std::atomic<int> runs{0};
    TZTNotifyThread* self = nullptr;  // set before the first wake-up
    auto worker = std::make_unique<TZTNotifyThread>([&] {
      // A handler that keeps waking itself: the thread is always busy.
      if (++runs < 1000) self->Wake();
    });
    self = worker.get();
    if (round % 2) worker->Wake();
    worker.reset();
  }
}

TEST(ZTMainThreadNotify, RequestsFromManyThreadsEndInARunOnTheQueuesThread) {
  constexpr int Threads = 4, PerThread = 500;
  TMessageQueue queue;
  std::atomic<int> requested{0};
  int seen = 0, runs = 0;
  bool onQueueThread = true;
  const auto queueThread = std::this_thread::get_id();
  TZTMainThreadNotify notify(
      [&] {
        ++runs;
        seen = requested.load();
        onQueueThread = onQueueThread && std::this_thread::get_id() == queueThread;
      },
      queue);
  Spawn(Threads, [&](int) {
    for (int i = 0; i < PerThread; ++i) {
      ++requested;
      notify.Notify();
    }
  });
  EXPECT_TRUE(ProcessUntil(queue, [&] { return seen == Threads * PerThread; }));
  EXPECT_TRUE(onQueueThread);
  EXPECT_LT(runs, Threads * PerThread);  // the requests coalesced
}

TEST(ZTMainThreadNotify, CoalescesPendingRequestsAndHonoursThoseMadeDuringARun) {
  TMessageQueue queue;
  int runs = 0;
  std::unique_ptr<TZTMainThreadNotify> notify;
  notify = std::make_unique<TZTMainThreadNotify>(
      [&] {
        // The first run asks for another one.
        if (++runs == 1) notify->Notify();
      },
      queue);
  for (int i = 0; i < 3; ++i) notify->Notify();
  EXPECT_EQ(queue.ProcessMessages(), 1u);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(queue.ProcessMessages(), 1u);
  EXPECT_EQ(runs, 2);
  EXPECT_FALSE(queue.HasPendingMessages());

  // A pending request dies with the object.
  notify->Notify();
  notify.reset();
  queue.ProcessMessages();
  EXPECT_EQ(runs, 2);
}

// Sequence stamps name the buffers: producer x 1,000,000 + number.
TRefPtr<IZTDataBuffer> NamedBuffer(std::int64_t name) {
  auto buffer = MakeRef<TZTGenericBuffer>(std::size_t{1});
  buffer->SetSequenceStamp({true, name});
  return buffer;
}

TEST(ZTMainThreadBufferQueue, DeliversInArrivalOrderOnTheQueuesThread) {
  constexpr int Producers = 3, PerProducer = 400;
  TMessageQueue queue;
  std::vector<std::int64_t> delivered;
  const auto queueThread = std::this_thread::get_id();
  bool onQueueThread = true;
  TZTMainThreadBufferQueue buffers(
      [&](const TRefPtr<IZTDataBuffer>& buffer) {
        delivered.push_back(buffer->GetSequenceStamp().Value);
        onQueueThread = onQueueThread && std::this_thread::get_id() == queueThread;
      },
      queue);

  for (int i = 0; i < 3; ++i) buffers.Add(NamedBuffer(i));
  EXPECT_EQ(buffers.GetCount(), 3u);
  EXPECT_EQ(queue.ProcessMessages(), 1u);
  EXPECT_EQ(delivered, (std::vector<std::int64_t>{0, 1, 2}));
  delivered.clear();

  {
    auto producers = Spawn(Producers, [&](int p) {
      for (int i = 0; i < PerProducer; ++i) buffers.Add(NamedBuffer(p * 1'000'000 + i));
    });
    EXPECT_TRUE(ProcessUntil(queue, [&] { return delivered.size() == Producers * PerProducer; }));
  }
  std::vector<std::int64_t> next(Producers, 0);
  for (std::int64_t name : delivered) {
    const auto producer = static_cast<std::size_t>(name / 1'000'000);
    ASSERT_LT(producer, next.size());
    ASSERT_EQ(name % 1'000'000, next[producer]++);
  }
  EXPECT_TRUE(onQueueThread);
}

TEST(ZTMainThreadBufferQueue, UndeliveredBuffersAreReleased) {
  TMessageQueue queue;
  const int before = TCountedStorage::Live;
  int delivered = 0;
  {
    TZTMainThreadBufferQueue buffers([&](const TRefPtr<IZTDataBuffer>&) { ++delivered; }, queue);
    buffers.Add(CountedBuffer(4));
    buffers.Clear();
    buffers.Add(CountedBuffer(4));
    EXPECT_EQ(TCountedStorage::Live, before + 1);
  }
  EXPECT_EQ(TCountedStorage::Live, before);
  queue.ProcessMessages();
  EXPECT_EQ(delivered, 0);
}

}  // namespace
}  // namespace qx::test
