// The clock generator's schedule. Its timing is measured with generous bounds:
// the checks catch a schedule that drifts or ticks early, not jitter.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "packages/zenthic/ZTClockGen.h"
#include "packages/zenthic/ZTException.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct TTickRecord {
  std::int64_t Tick;
  Clock::time_point Time;
};

class TTickRecorder {
 public:
  TZTClockGen::TTickEvent Callback() {
    return [this](std::int64_t tick) {
      std::lock_guard lock(FMutex);
      FTicks.push_back({tick, Clock::now()});
    };
  }
  std::vector<TTickRecord> Ticks() {
    std::lock_guard lock(FMutex);
    return FTicks;
  }

 private:
  std::mutex FMutex;
  std::vector<TTickRecord> FTicks;
};

TEST(ZTClockGen, RejectsAPeriodThatIsNotPositive) {
  EXPECT_THROW(TZTClockGen(0, [](std::int64_t) {}), EZTException);
  EXPECT_THROW(TZTClockGen(-5, [](std::int64_t) {}), EZTException);
}

TEST(ZTClockGen, DoesNotDriftOverALongRun) {
  constexpr std::int64_t Period = 10'000;  // 1 ms
  TTickRecorder recorder;
  Clock::time_point start;
  {
    TZTClockGen clock(Period, recorder.Callback());
    start = clock.GetStartTime();
    EXPECT_EQ(clock.GetPeriod(), Period);
    std::this_thread::sleep_for(3s);
  }
  const auto ticks = recorder.Ticks();
  ASSERT_GT(ticks.size(), 100u);
  EXPECT_EQ(ticks.front().Tick, 0);
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    const auto due = start + ticks[i].Tick * 1ms;
    ASSERT_GE(ticks[i].Time, due) << "tick " << ticks[i].Tick << " came early";
    if (i > 0) {
      ASSERT_GT(ticks[i].Tick, ticks[i - 1].Tick);
    }
  }
  // Three thousand periods later the ticks are still on the schedule
  // computed from the start: a clock that waits one period after each call
  // would be behind by thousands of wake-up latencies. The median of the last
  // hundred ignores a tick the system happened to hold up.
  EXPECT_GT(ticks.back().Tick, 2500);
  std::vector<Clock::duration> lateness;
  for (std::size_t i = ticks.size() - 100; i < ticks.size(); ++i) {
    lateness.push_back(ticks[i].Time - (start + ticks[i].Tick * 1ms));
  }
  std::nth_element(lateness.begin(), lateness.begin() + 50, lateness.end());
  EXPECT_LT(lateness[50], 50ms);
}

TEST(ZTClockGen, SkipsTicksAnOverlongCallMissed) {
  constexpr std::int64_t Period = 200'000;  // 20 ms
  TTickRecorder recorder;
  auto record = recorder.Callback();
  Clock::time_point start;
  {
    TZTClockGen clock(Period, [&](std::int64_t tick) {
      record(tick);
      // Tick 2 is due at 40 ms and returns after 90 ms, when ticks 3 (60 ms)
      // and 4 (80 ms) have passed.
      if (tick == 2) std::this_thread::sleep_for(50ms);
    });
    start = clock.GetStartTime();
    std::this_thread::sleep_for(300ms);
  }
  const auto ticks = recorder.Ticks();
  std::size_t afterOverrun = 0;
  while (afterOverrun < ticks.size() && ticks[afterOverrun].Tick <= 2) ++afterOverrun;
  ASSERT_LT(afterOverrun, ticks.size());
  EXPECT_GE(ticks[afterOverrun].Tick, 5);
  EXPECT_GE(ticks[afterOverrun].Time, start + ticks[afterOverrun].Tick * 20ms);
}

TEST(ZTClockGen, DestructionDoesNotWaitForTheNextTick) {
  std::atomic<int> calls{0};
  Clock::time_point stopping;
  {
    TZTClockGen clock(100'000'000, [&](std::int64_t) { ++calls; });  // 10 s
    // Tick 0 is due at once.
    const auto deadline = Clock::now() + 10s;
    while (calls == 0 && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
    stopping = Clock::now();
  }
  EXPECT_LT(Clock::now() - stopping, 5s);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace qx::test
