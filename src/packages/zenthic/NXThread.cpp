#include "packages/zenthic/NXThread.h"

#include <utility>

namespace qx {

TNXThread::TNXThread(std::string name, TThreadPriority priority) : TThread(std::move(name)) {
  SetPriority(priority);
}

TNXThread::~TNXThread() {
  // The wake signal dies with this object: the thread must be gone first.
  Terminate();
  WaitFor();
}

bool TNXThread::WaitForWakeUntil(std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return false;
    if (FWakeSignal.WaitFor(deadline - now)) return true;
  }
}

}  // namespace qx
