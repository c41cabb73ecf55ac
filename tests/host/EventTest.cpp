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

TEST(EventTest, ManualResetStaysSetAutoResetIsConsumedByOneWait) {
  TEvent manual(true, false);
  EXPECT_FALSE(manual.WaitFor(0ns));
  manual.SetEvent();
  manual.WaitFor();  // not consumed
  EXPECT_TRUE(manual.IsSet());
  manual.ResetEvent();
  EXPECT_FALSE(manual.WaitFor(1ms));

  TEvent automatic(false, true);  // created set
  EXPECT_TRUE(automatic.WaitFor(0ns));
  automatic.SetEvent();
  automatic.SetEvent();  // signals do not add up
  automatic.WaitFor();
  EXPECT_FALSE(automatic.WaitFor(1ms));

  // A timed wait on an unset event lasts at least its time-out.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(automatic.WaitFor(20ms));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 20ms);
}

TEST(EventThreadedTest, SetFromAnotherThreadReleasesEveryTimedWaiterOfAManualEvent) {
  TEvent event(true);
  std::atomic<int> released{0};
  {
    std::vector<std::jthread> waiters;
    for (int i = 0; i < 4; ++i) {
      // The longest time-out must not overflow into an immediate time-out.
      const auto timeout = i % 2 ? std::chrono::nanoseconds::max() : std::chrono::nanoseconds(10s);
      waiters.emplace_back([&, timeout] { released += event.WaitFor(timeout); });
    }
    std::this_thread::sleep_for(10ms);
    event.SetEvent();
  }
  EXPECT_EQ(released, 4);
}

TEST(CriticalSectionThreadedTest, TheHolderEntersAgainOtherThreadsDoNot) {
  TCriticalSection section;
  TCriticalSectionGuard guard(section);
  EXPECT_TRUE(section.TryEnter());
  section.Leave();
  bool otherEntered = true;
  std::jthread([&] { otherEntered = section.TryEnter(); }).join();
  EXPECT_FALSE(otherEntered);
}

}  // namespace
}  // namespace qx
