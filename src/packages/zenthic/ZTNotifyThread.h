// TZTNotifyThread: a worker that runs its owner's handler each time it is
// woken.
//
// The thread starts with the object. Every `Wake` (any thread) is followed by
// at least one run of the handler that begins after it; wake-ups that come
// while the handler waits to run, or while it runs, coalesce into one more
// run. So a producer queues its data, then wakes the thread, and the handler
// drains whatever it finds queued.
//
// Destruction (or `Terminate` followed by `WaitFor`) returns once a running
// handler has finished; no run begins after `Terminate`. Never destroy the
// object from its own handler. The handler must not raise: an exception ends
// the thread and is kept in `FatalException()`.
#pragma once

#include <functional>
#include <string>

#include "packages/zenthic/NXThread.h"

namespace qx {

class TZTNotifyThread final : public TNXThread {
 public:
  explicit TZTNotifyThread(std::function<void()> handler, std::string name = "TZTNotifyThread",
                           TThreadPriority priority = tpNormal);
  ~TZTNotifyThread() override;

 protected:
  void Execute() override;

 private:
  const std::function<void()> FHandler;
};

}  // namespace qx
