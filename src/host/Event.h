// TEvent: a signal that threads wait for.
//
// A manual-reset event stays set until `ResetEvent`: every waiter passes,
// those waiting and those coming later. An auto-reset event lets exactly one
// waiter pass per `SetEvent` and is reset by that waiter; set while nobody
// waits, it stays set until the next wait consumes it. Setting an event that
// is already set does nothing (signals do not accumulate).
//
// Every member is thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace qx {

class TEvent {
 public:
  explicit TEvent(bool manualReset = false, bool initialState = false)
      : FManualReset(manualReset), FSignaled(initialState) {}
  TEvent(const TEvent&) = delete;
  TEvent& operator=(const TEvent&) = delete;

  bool IsManualReset() const noexcept { return FManualReset; }

  void SetEvent();
  void ResetEvent();

  // Waits until the event is set (and, for an auto-reset event, resets it).
  void WaitFor();
  // The same for at most `timeout` (zero only tests the event; a time-out too
  // long to represent waits without limit); false when the time ran out.
  bool WaitFor(std::chrono::nanoseconds timeout);

  // Whether the event is set now, without waiting or consuming it.
  bool IsSet() const;

 private:
  const bool FManualReset;
  mutable std::mutex FMutex;
  std::condition_variable FChanged;
  bool FSignaled;
};

}  // namespace qx
