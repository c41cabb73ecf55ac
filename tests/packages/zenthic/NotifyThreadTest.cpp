#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "TestStorage.h"
#include "host/Event.h"
#include "packages/zenthic/ZTNotifyThread.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;

TEST(ZTNotifyThread, NoWakeUpIsLostUnderConcurrentProducers) {
  constexpr int Producers = 3;
  constexpr int PerProducer = 3000;
  std::atomic<int> posted{0};
  std::atomic<int> seen{0};
  std::atomic<bool> onWorkerThread{true};
  const auto testThread = std::this_thread::get_id();
  TZTNotifyThread worker([&] {
    seen = posted.load();
    if (std::this_thread::get_id() == testThread) onWorkerThread = false;
  });
  std::vector<std::thread> producers;
  for (int p = 0; p < Producers; ++p) {
    producers.emplace_back([&] {
      for (int i = 0; i < PerProducer; ++i) {
        ++posted;
        worker.Wake();
      }
    });
  }
  for (auto& producer : producers) producer.join();
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
  // A worker that is never woken never runs its handler.
  bool ran = false;
  {
    TZTNotifyThread idle([&] { ran = true; });
  }
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace qx::test
