// TEvent and TCriticalSection across threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "host/CriticalSection.h"
#include "host/Event.h"

namespace qx {
namespace {

using namespace std::chrono_literals;

TEST(EventTest, ManualResetStaysSetForEveryWaiterUntilReset) {
  TEvent event(true, false);
  EXPECT_FALSE(event.WaitFor(0ns));
  event.SetEvent();
  EXPECT_TRUE(event.WaitFor(0ns));
  EXPECT_TRUE(event.WaitFor(0ns));  // not consumed
  event.WaitFor();
  EXPECT_TRUE(event.IsSet());
  event.ResetEvent();
  EXPECT_FALSE(event.WaitFor(1ms));
}

TEST(EventTest, AutoResetIsConsumedByOneWait) {
  TEvent event(false, true);  // created set
  EXPECT_TRUE(event.WaitFor(0ns));
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(event.WaitFor(0ns));
  event.SetEvent();
  event.SetEvent();  // signals do not add up
  event.WaitFor();
  EXPECT_FALSE(event.WaitFor(1ms));
}

TEST(EventTest, TimedWaitReturnsFalseAfterTheTimeOut) {
  TEvent event;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(event.WaitFor(20ms));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 20ms);
}

TEST(EventThreadedTest, ManualResetReleasesAllWaiters) {
  TEvent event(true);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 4; ++i) {
    waiters.emplace_back([&] {
      event.WaitFor();
      ++released;
    });
  }
  event.SetEvent();
  for (auto& waiter : waiters) waiter.join();
  EXPECT_EQ(released, 4);
}

TEST(EventThreadedTest, AutoResetReleasesExactlyOneWaiterPerSet) {
  TEvent event;
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i) {
    waiters.emplace_back([&] {
      if (event.WaitFor(5s)) ++released;
    });
  }
  for (int expected = 1; expected <= 3; ++expected) {
    event.SetEvent();
    // Wait until the signal was consumed, then check that only one waiter passed.
    while (event.IsSet()) std::this_thread::yield();
    while (released < expected) std::this_thread::yield();
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(released, expected);
  }
  for (auto& waiter : waiters) waiter.join();
}

TEST(EventThreadedTest, SetFromAnotherThreadWakesATimedWait) {
  TEvent event;
  std::thread setter([&] {
    std::this_thread::sleep_for(10ms);
    event.SetEvent();
  });
  EXPECT_TRUE(event.WaitFor(10s));
  setter.join();

  // The longest time-out must not overflow into an immediate time-out.
  std::thread lateSetter([&] {
    std::this_thread::sleep_for(10ms);
    event.SetEvent();
  });
  EXPECT_TRUE(event.WaitFor(std::chrono::nanoseconds::max()));
  lateSetter.join();
}

TEST(CriticalSectionThreadedTest, IsRecursiveAndExcludesOtherThreads) {
  TCriticalSection section;
  section.Enter();
  EXPECT_TRUE(section.TryEnter());  // the holder enters again
  bool otherEntered = true;
  std::thread other([&] { otherEntered = section.TryEnter(); });
  other.join();
  EXPECT_FALSE(otherEntered);
  section.Leave();
  section.Leave();

  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 10000; ++i) {
        TCriticalSectionGuard guard(section);
        TCriticalSectionGuard nested(section);
        ++counter;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counter, 40000);
}

}  // namespace
}  // namespace qx
