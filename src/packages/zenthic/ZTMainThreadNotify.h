// TZTMainThreadNotify: runs a callback on the user-interface thread after a
// request from any thread.
//
// `Notify` (any thread) asks for one run of the callback on the thread of the
// message queue (the process's main-thread queue unless another is given).
// Every request is followed by at least one run that begins after it;
// requests made before that run begins coalesce into it, so the callback
// handles whatever work has been left for it.
//
// Create and destroy the object on the queue's thread. Requests still pending
// at destruction are dropped: the callback never runs after the destructor.
// `Notify` may be called only while the object exists; owners stop their
// worker threads first. An exception from the callback propagates to the
// queue's caller (TMessageQueue::ProcessMessages); later requests still run.
#pragma once

#include <atomic>
#include <functional>

#include "host/MessageQueue.h"

namespace qx {

class TZTMainThreadNotify {
 public:
  explicit TZTMainThreadNotify(std::function<void()> callback,
                               TMessageQueue& queue = MainThreadQueue());
  TZTMainThreadNotify(const TZTMainThreadNotify&) = delete;
  TZTMainThreadNotify& operator=(const TZTMainThreadNotify&) = delete;

  // Asks for a run of the callback. Any thread.
  void Notify();

 private:
  void Run();

  const std::function<void()> FCallback;
  std::atomic<bool> FPending{false};
  // Last: destroyed first, which drops the pending run.
  TMessageTarget FTarget;
};

}  // namespace qx
