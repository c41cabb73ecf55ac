// The clock generator's schedule. Its timing is measured with generous bounds:
// the checks catch a schedule that drifts or ticks early, not jitter.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "packages/zenthic/ZTClockGen.h"
#include "packages/zenthic/ZTException.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A tick a clock called back with and when.
struct TTick {
  std::int64_t Tick;
  Clock::time_point Time;
};

TEST(ZTClockGen, KeepsToTheScheduleFromTheStartOverALongRun) {
  for (std::int64_t period : {0, -1}) {
    EXPECT_THROW(TZTClockGen(period, [](std::int64_t) {}), EZTException);
  }
  std::vector<TTick> ticks;  // written by the clock's thread, read once it ended
  Clock::time_point start;
  {
    TZTClockGen clock(10'000, [&](std::int64_t tick) { ticks.push_back({tick, Clock::now()}); });
    start = clock.GetStartTime();  // the period is 1 ms
    std::this_thread::sleep_for(3s);
  }
  ASSERT_GT(ticks.size(), 100u);
  EXPECT_EQ(ticks.front().Tick, 0);
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    ASSERT_GE(ticks[i].Time, start + ticks[i].Tick * 1ms) << "tick " << ticks[i].Tick;
    ASSERT_TRUE(i == 0 || ticks[i].Tick > ticks[i - 1].Tick) << "tick " << ticks[i].Tick;
  }
  // A clock that waits one period after each call would be behind by
  // thousands of wake-up latencies. The median of the last hundred ignores a
  // tick the system happened to hold up.
  EXPECT_GT(ticks.back().Tick, 2500);
  std::vector<Clock::duration> lateness;
  for (std::size_t i = ticks.size() - 100; i < ticks.size(); ++i) {
    lateness.push_back(ticks[i].Time - (start + ticks[i].Tick * 1ms));
  }
  std::nth_element(lateness.begin(), lateness.begin() + 50, lateness.end());
  EXPECT_LT(lateness[50], 50ms);
}

}  // namespace
}  // namespace qx::test
