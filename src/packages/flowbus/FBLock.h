// IFBLock: the lock a component shares with its pins and property objects.
//
// One lock per component, created with `FBCreateLock()` and handed to every
// pin the component creates. It serialises everything that touches the
// component's stream state: operations arriving on its pins (the framework
// enters the pin's lock before calling the pin's handlers), property
// setters, timers and workers.
//
// Entries:
// - `Enter` (ordinary entry): waits until no other thread holds the lock.
//   Re-entrant: the thread that holds it enters again at once (a handler that
//   sends on a pin whose operation comes back into the same component).
//   Refused (returns false) once destruction has begun, and when waiting
//   would close a wait cycle between threads (see "Deadlocks" below). A
//   caller whose entry is refused does nothing: it drops the operation, skips
//   the change.
// - `EnterExclusive`: for stop paths. Waits like `Enter`, but goes before
//   every ordinary entry that is still waiting, so that a stop is not starved
//   by a stream of frames. Refused only once destruction has begun (or, as a
//   last resort, when the only other way out of a wait cycle would be to
//   block forever).
// - `BeginDestroy`: for the destructor. Marks the lock as destroying, which
//   refuses every entry of other threads from then on (including those
//   already waiting), then waits until no other thread holds it and keeps it
//   for good. The destroying thread may still enter and leave.
// Every successful `Enter`/`EnterExclusive` is paired with one `Leave` on the
// same thread; prefer `TFBLockGuard`.
//
// Deadlocks. Two components deadlock when each holds its own lock and waits
// for the other's. The rules that prevent it:
// 1. Send downstream (a source pin's `Notify`) while holding your lock if you
//    need to; the receiving components take their own locks after yours.
// 2. Send upstream (a sink pin's `Notify`) and call into other components
//    outside your lock whenever you can: an upstream send under your lock
//    takes the locks in the opposite order of the frames coming down.
// 3. Never wait for another thread (a join, an event, a queue with room)
//    while holding your lock, unless that thread never takes a component
//    lock.
// 4. Take `BeginDestroy` first in the destructor, holding no other
//    component's lock, then shut your pins down (`TFBPin::Shutdown`).
// The framework follows them itself: it holds no lock of its own while a
// handler runs and takes a pin's lock only around that pin's handlers.
// Where code breaks rule 2 anyway, the lock does not hang: the entry that
// would close the cycle is refused, and that operation is dropped as when
// the component is being destroyed.
#pragma once

#include "host/RefCounted.h"

namespace qx {

class IFBLock : public virtual TRefCounted {
 public:
  [[nodiscard]] virtual bool Enter() = 0;
  [[nodiscard]] virtual bool EnterExclusive() = 0;
  // Leaves one entry of the calling thread.
  virtual void Leave() = 0;
  virtual void BeginDestroy() = 0;
  virtual bool IsDestroying() const = 0;
  // Whether the calling thread holds the lock now.
  virtual bool IsHeldByCurrentThread() const = 0;
};

// A new lock, free and not destroying.
TRefPtr<IFBLock> FBCreateLock();

enum TFBLockEntry : bool { leOrdinary, leExclusive };

// Holds one entry of a lock for its lifetime, when the entry was granted:
//
//   TFBLockGuard guard(FLock);
//   if (!guard) return false;  // being destroyed: drop the operation
//
// A null lock counts as granted (a pin without a lock runs its handlers
// unguarded).
class TFBLockGuard {
 public:
  explicit TFBLockGuard(IFBLock* lock, TFBLockEntry entry = leOrdinary)
      : FLock(lock),
        FAcquired(!lock || (entry == leExclusive ? lock->EnterExclusive() : lock->Enter())) {}
  explicit TFBLockGuard(const TRefPtr<IFBLock>& lock, TFBLockEntry entry = leOrdinary)
      : TFBLockGuard(lock.Get(), entry) {}
  ~TFBLockGuard() {
    if (FLock && FAcquired) FLock->Leave();
  }
  TFBLockGuard(const TFBLockGuard&) = delete;
  TFBLockGuard& operator=(const TFBLockGuard&) = delete;

  bool Acquired() const noexcept { return FAcquired; }
  explicit operator bool() const noexcept { return FAcquired; }

 private:
  IFBLock* FLock;
  bool FAcquired;
};

}  // namespace qx
