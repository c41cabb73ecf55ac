#include "host/Event.h"

namespace qx {

void TEvent::SetEvent() {
  {
    std::lock_guard lock(FMutex);
    if (FSignaled) return;
    FSignaled = true;
  }
  if (FManualReset) {
    FChanged.notify_all();
  } else {
    FChanged.notify_one();
  }
}

void TEvent::ResetEvent() {
  std::lock_guard lock(FMutex);
  FSignaled = false;
}

void TEvent::WaitFor() {
  std::unique_lock lock(FMutex);
  FChanged.wait(lock, [this] { return FSignaled; });
  if (!FManualReset) FSignaled = false;
}

bool TEvent::WaitFor(std::chrono::nanoseconds timeout) {
  const auto now = std::chrono::steady_clock::now();
  if (timeout >= std::chrono::steady_clock::time_point::max() - now) {
    // Beyond any representable deadline: the same as no time-out.
    WaitFor();
    return true;
  }
  const auto deadline = now + timeout;
  std::unique_lock lock(FMutex);
  if (!FChanged.wait_until(lock, deadline, [this] { return FSignaled; })) return false;
  if (!FManualReset) FSignaled = false;
  return true;
}

bool TEvent::IsSet() const {
  std::lock_guard lock(FMutex);
  return FSignaled;
}

}  // namespace qx
