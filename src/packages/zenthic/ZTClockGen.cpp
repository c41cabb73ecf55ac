#include "packages/zenthic/ZTClockGen.h"

#include <algorithm>
#include <utility>

#include "packages/zenthic/ZTException.h"

namespace qx {
namespace {

TZTHundredNanoseconds CheckedPeriod(std::int64_t period) {
  if (period <= 0) throw EZTException("a clock period must be positive");
  return TZTHundredNanoseconds(period);
}

}  // namespace

TZTClockGen::TZTClockGen(std::int64_t period, TTickEvent onTick, std::string name,
                         TThreadPriority priority)
    : TNXThread(std::move(name), priority),
      FPeriod(CheckedPeriod(period)),
      FOnTick(std::move(onTick)),
      FStartTime(std::chrono::steady_clock::now()) {
  Start();
}

TZTClockGen::~TZTClockGen() {
  Terminate();
  WaitFor();
}

void TZTClockGen::Execute() {
  std::int64_t tick = 0;
  while (!Terminated()) {
    const auto due = FStartTime + tick * FPeriod;
    // A wake-up that is not a termination only means another wait.
    while (WaitForWakeUntil(due)) {
      if (Terminated()) return;
    }
    if (Terminated()) return;
    if (FOnTick) FOnTick(tick);
    // The next tick is the first one that is not yet due.
    const auto elapsed = std::chrono::steady_clock::now() - FStartTime;
    const std::int64_t passed =
        std::chrono::duration_cast<TZTHundredNanoseconds>(elapsed).count() / FPeriod.count();
    tick = std::max(tick + 1, passed + 1);
  }
}

}  // namespace qx
