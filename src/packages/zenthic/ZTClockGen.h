// TZTClockGen: a thread that calls a method at a fixed period.
//
// The period is given in 100-ns units. Tick n is due at
// GetStartTime() + n x period on the steady clock, tick 0 when the generator
// is created; the schedule is computed from the start, never from the
// previous tick, so it does not drift however long the generator runs. Each
// tick calls `onTick(n)` on the generator's thread, never before it is due.
//
// A tick whose time has already passed when the previous call returns (the
// method ran longer than a period, or the thread was held up) is skipped:
// the next call is for the first tick still ahead, so ticks never come in a
// burst and the tick number always tells the time.
//
// Destruction stops the generator and returns once a running call has
// finished. Never destroy it from its own method; the method must not raise
// (an exception ends the thread and is kept in `FatalException()`).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <ratio>
#include <string>

#include "packages/zenthic/NXThread.h"

namespace qx {

// A duration in 100-ns units, the library's unit of time.
using TZTHundredNanoseconds = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;

class TZTClockGen final : public TNXThread {
 public:
  using TTickEvent = std::function<void(std::int64_t tick)>;

  // Starts ticking every `period` 100-ns units. Raises EZTException for a
  // period that is not positive.
  TZTClockGen(std::int64_t period, TTickEvent onTick, std::string name = "TZTClockGen",
              TThreadPriority priority = tpNormal);
  ~TZTClockGen() override;

  std::int64_t GetPeriod() const noexcept { return FPeriod.count(); }
  // When tick 0 was due.
  std::chrono::steady_clock::time_point GetStartTime() const noexcept { return FStartTime; }

 protected:
  void Execute() override;

 private:
  const TZTHundredNanoseconds FPeriod;
  const TTickEvent FOnTick;
  const std::chrono::steady_clock::time_point FStartTime;
};

}  // namespace qx
