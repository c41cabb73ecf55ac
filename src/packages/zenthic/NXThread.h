// TNXThread: the package's worker thread, a host TThread with a name and a
// priority given at construction and a wake-up signal.
//
// `Wake` (any thread) sets the signal; `Execute` waits for it with
// `WaitForWake` or `WaitForWakeUntil`. Wake-ups do not accumulate: several
// before a wait let one wait pass. `Terminate` sets the signal too, so a
// waiting thread always sees a termination at once; check `Terminated()`
// after every wait.
//
// As with TThread, a derived class whose `Execute` uses its own members calls
// `Terminate(); WaitFor();` in its destructor. A derived class that overrides
// `TerminatedSet` calls this class's version.
#pragma once

#include <chrono>
#include <string>

#include "host/Event.h"
#include "host/Thread.h"

namespace qx {

class TNXThread : public TThread {
 public:
  // The thread is not started: the most derived constructor (or the owner)
  // calls `Start` once the object is complete.
  explicit TNXThread(std::string name, TThreadPriority priority = tpNormal);
  ~TNXThread() override;

  // Lets a pending or the next `WaitForWake` pass. Any thread.
  void Wake() { FWakeSignal.SetEvent(); }

 protected:
  // Waits until `Wake` or `Terminate`.
  void WaitForWake() { FWakeSignal.WaitFor(); }
  // The same, giving up at `deadline`; false when the deadline passed first.
  bool WaitForWakeUntil(std::chrono::steady_clock::time_point deadline);

  void TerminatedSet() override { FWakeSignal.SetEvent(); }

 private:
  TEvent FWakeSignal{false, false};
};

}  // namespace qx
