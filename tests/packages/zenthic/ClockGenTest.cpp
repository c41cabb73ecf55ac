// The clock generator's schedule. Its timing is measured with generous bounds:
// the checks catch a schedule that drifts or ticks early, not jitter. How
// fast it stops is not asserted here.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

#include "packages/zenthic/ZTClockGen.h"
#include "packages/zenthic/ZTException.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The ticks a clock called back with and when. Only the clock's thread
// writes them; the test reads them once the clock is destroyed, or polls the
// count while it runs.
struct TTickRecorder {
  struct TTick {
    std::int64_t Tick;
    Clock::time_point Time;
  };
  std::vector<TTick> Ticks;
  std::atomic<std::size_t> Count{0};

  void Record(std::int64_t tick) {
    Ticks.push_back({tick, Clock::now()});
    ++Count;
  }
};

TEST(ZTClockGen, KeepsToTheScheduleFromTheStartOverALongRun) {
  for (std::int64_t period : {0, -1}) {
    EXPECT_THROW(TZTClockGen(period, [](std::int64_t) {}), EZTException);
  }
  TTickRecorder recorder;
  Clock::time_point start;
  {
    TZTClockGen clock(10'000, [&](std::int64_t tick) { recorder.Record(tick); });  // 1 ms
    start = clock.GetStartTime();
    std::this_thread::sleep_for(3s);
  }
  const auto& ticks = recorder.Ticks;
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

TEST(ZTClockGen, SkipsTicksAnOverlongCallMissed) {
  TTickRecorder recorder;
  bool overran = false;  // used on the clock's thread only
  {
    TZTClockGen clock(200'000, [&](std::int64_t tick) {  // 20 ms
      recorder.Record(tick);
      // The first call, for tick k due at 20k ms, returns after 20k + 50 ms,
      // when ticks k + 1 and k + 2 have passed.
      if (!std::exchange(overran, true)) std::this_thread::sleep_for(50ms);
    });
    // Wait for the first tick after the overrun, however slow the machine.
    const auto deadline = Clock::now() + 20s;
    while (Clock::now() < deadline && recorder.Count < 2) {
      std::this_thread::sleep_for(5ms);
    }
  }
  const auto& ticks = recorder.Ticks;
  ASSERT_GE(ticks.size(), 2u);
  EXPECT_GE(ticks[1].Tick, ticks[0].Tick + 3);
}

}  // namespace
}  // namespace qx::test
