// Delivery on the user-interface thread. Each test drives a private message
// queue from the test thread, which plays the user-interface thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "TestStorage.h"
#include "host/MessageQueue.h"
#include "packages/zenthic/ZTMainThreadBufferQueue.h"
#include "packages/zenthic/ZTMainThreadNotify.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;

// Handles the queue's messages until `condition` holds (ten seconds at most).
template <class F>
bool ProcessUntil(TMessageQueue& queue, F condition) {
  return Eventually([&] {
    queue.ProcessMessages();
    return condition();
  });
}

TEST(ZTMainThreadNotify, RequestsFromManyThreadsEndInARunOnTheQueuesThread) {
  TMessageQueue queue;
  std::atomic<int> requested{0};
  int seen = 0;
  int runs = 0;
  bool onQueueThread = true;
  const auto queueThread = std::this_thread::get_id();
  TZTMainThreadNotify notify(
      [&] {
        ++runs;
        seen = requested.load();
        onQueueThread = onQueueThread && std::this_thread::get_id() == queueThread;
      },
      queue);

  constexpr int Threads = 4;
  constexpr int PerThread = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < Threads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < PerThread; ++i) {
        ++requested;
        notify.Notify();
      }
    });
  }
  for (auto& thread : threads) thread.join();
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
  notify->Notify();
  notify->Notify();
  notify->Notify();
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

  for (int i = 0; i < 10; ++i) buffers.Add(NamedBuffer(i));
  EXPECT_EQ(buffers.GetCount(), 10u);
  EXPECT_EQ(queue.ProcessMessages(), 1u);
  EXPECT_EQ(delivered, (std::vector<std::int64_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  delivered.clear();

  constexpr int Producers = 3;
  constexpr int PerProducer = 400;
  std::vector<std::thread> producers;
  for (int p = 0; p < Producers; ++p) {
    producers.emplace_back([&, p] {
      for (int i = 0; i < PerProducer; ++i) buffers.Add(NamedBuffer(p * 1'000'000 + i));
    });
  }
  EXPECT_TRUE(ProcessUntil(queue, [&] { return delivered.size() == Producers * PerProducer; }));
  for (auto& producer : producers) producer.join();
  std::vector<std::int64_t> next(Producers, 0);
  for (std::int64_t name : delivered) {
    const auto producer = static_cast<std::size_t>(name / 1'000'000);
    ASSERT_LT(producer, next.size());
    ASSERT_EQ(name % 1'000'000, next[producer]);
    ++next[producer];
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
