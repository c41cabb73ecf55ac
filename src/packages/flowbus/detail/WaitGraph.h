// Internal: the bookkeeping that lets the framework wait for other threads
// without ever waiting forever on itself.
//
// Every wait the framework makes (entering a component lock, a disconnect
// waiting for deliveries under way, a pin waiting before it goes away) is
// recorded here, under one mutex, as an edge from the waiting thread to the
// threads it waits for. Before a thread blocks it looks for a cycle through
// itself; when there is one, one waiter of the cycle is refused instead of
// blocking: an ordinary lock entry first, then a disconnect's wait (which
// gives up waiting), then an exclusive lock entry. A pin that closes and a
// destroying lock are never refused: they wait.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace qx::detail {

// The mutex that guards every piece of shared framework state: locks,
// flights, pin connection lists, pump groups. It is never held while a
// handler or any other user code runs.
std::mutex& FlowbusMutex();

enum class TWaitKind : std::uint8_t {
  None,
  LockOrdinary,   // IFBLock::Enter
  LockExclusive,  // IFBLock::EnterExclusive
  LockDestroy,    // IFBLock::BeginDestroy
  Disconnect,     // a disconnect waiting for deliveries through the connection
  PinClose,       // a pin waiting for the threads still inside it
};

struct TLockCore;
class TFlight;

// What one thread is doing, as far as waits go. Guarded by FlowbusMutex().
struct TThreadRecord {
  TWaitKind Kind = TWaitKind::None;
  const TLockCore* WaitLock = nullptr;
  const TFlight* WaitFlight = nullptr;
  std::condition_variable* WakeUp = nullptr;  // what the thread sleeps on
  bool Refused = false;
};

// The calling thread's record.
TThreadRecord& CurrentThread();

// The state of one IFBLock.
struct TLockCore {
  TThreadRecord* Owner = nullptr;
  int Depth = 0;
  bool Destroying = false;
  TThreadRecord* Destroyer = nullptr;
  std::vector<TThreadRecord*> ExclusiveQueue;  // waiting exclusive entries, first come first
  std::condition_variable Changed;
};

// The threads currently running inside one framework object (a connection
// delivering, a pin sending). A thread may be inside several times (a
// handler that sends again through the same object).
class TFlight {
 public:
  // Both with FlowbusMutex() held.
  void Enter(TThreadRecord& thread) { FThreads.push_back(&thread); }
  void Leave(TThreadRecord& thread);

  bool HasOthers(const TThreadRecord& thread) const;
  const std::vector<TThreadRecord*>& Threads() const noexcept { return FThreads; }

  // Blocks (`guard` holds FlowbusMutex()) until no thread but the caller is
  // inside. Returns false when a Disconnect wait was given up to break a
  // wait cycle.
  bool WaitForOthers(std::unique_lock<std::mutex>& guard, TThreadRecord& me, TWaitKind kind);

 private:
  std::vector<TThreadRecord*> FThreads;
  std::condition_variable FDrained;
  int FWaiters = 0;
};

// Records that `me` is about to wait (its fields already set) and breaks
// every wait cycle through it by refusing one waiter of each. With
// FlowbusMutex() held.
void BreakWaitCycles(TThreadRecord& me);

// Clears `me`'s wait fields after its wait ended.
void EndWait(TThreadRecord& me);

// Enters `flight` for the lifetime of the guard (the mutex must not be held
// when the guard is destroyed).
class TFlightGuard {
 public:
  TFlightGuard() = default;
  // With FlowbusMutex() held.
  void Enter(TFlight& flight) {
    FThread = &CurrentThread();
    FFlight = &flight;
    flight.Enter(*FThread);
  }
  ~TFlightGuard() {
    if (!FFlight) return;
    std::lock_guard guard(FlowbusMutex());
    FFlight->Leave(*FThread);
  }
  TFlightGuard(const TFlightGuard&) = delete;
  TFlightGuard& operator=(const TFlightGuard&) = delete;

 private:
  TFlight* FFlight = nullptr;
  TThreadRecord* FThread = nullptr;
};

}  // namespace qx::detail
