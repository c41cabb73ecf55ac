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
  std::unique_lock lock(FMutex);
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  if (!FChanged.wait_until(lock, deadline, [this] { return FSignaled; })) return false;
  if (!FManualReset) FSignaled = false;
  return true;
}

bool TEvent::IsSet() const {
  std::lock_guard lock(FMutex);
  return FSignaled;
}

}  // namespace qx
