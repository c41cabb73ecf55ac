// TNXLockedPersistent: a persistent property object that shares its owner
// component's lock.
//
// Components publish small value objects (sizes, formats, regions) as
// properties. Each holds the owner's lock (packages/flowbus/FBLock.h), so
// that a value changes while no operation of the owner runs, and a setter
// that the lock refuses (the owner is being destroyed) changes nothing.
// Derived classes write their setters with PSetProp:
//
//   void TQXPoint::SetX(std::uint16_t value) { PSetProp(FX, value); }
//
// and take the lock themselves for anything longer:
//
//   void TQXPoint::Assign(const TPersistent& source) {
//     auto guard = EnterLock();
//     if (!guard) return;
//     ...
//   }
//
// The change signal. PSetProp calls `Notify` after a change; the base's does
// nothing, TNXLockedPersistentNotify's calls its OnChange, and a class with
// its own event overrides it. It runs *inside* the lock, still held by the
// setter: the owner sees the new value in a consistent state, and the lock
// being re-entrant, the handler may call the owner's own locked code. As
// under any held component lock, the handler must not wait for another
// thread, and should send on its source pins (downstream) rather than its
// sink pins (upstream).
#pragma once

#include <functional>
#include <utility>

#include "host/Component.h"
#include "host/Persistent.h"
#include "packages/flowbus/FBLock.h"

namespace qx {

class TNXLockedPersistent : public TPersistent {
  QX_CLASS(TNXLockedPersistent, TPersistent)

 public:
  // `lock` may be null: the object is then unguarded (for one used by a
  // single thread).
  TNXLockedPersistent(TComponent* owner, TRefPtr<IFBLock> lock)
      : FOwner(owner), FLock(std::move(lock)) {}

  TComponent* GetOwner() const noexcept { return FOwner; }
  IFBLock* GetLock() const noexcept { return FLock.Get(); }

 protected:
  // One ordinary entry of the lock for the guard's lifetime; false when
  // refused (then do nothing).
  [[nodiscard]] TFBLockGuard EnterLock() const { return TFBLockGuard(FLock); }

  // The property setter: under the lock, stores `value` into `field` when it
  // differs and then calls Notify (still under the lock). Returns whether
  // the value changed; false, and `field` untouched, when the lock refused.
  template <class T, class V>
  bool PSetProp(T& field, V&& value) {
    TFBLockGuard guard(FLock);
    if (!guard || field == value) return false;
    field = std::forward<V>(value);
    Notify();
    return true;
  }

  // The change signal (see above). Called under the lock.
  virtual void Notify() {}

 private:
  TComponent* FOwner;
  TRefPtr<IFBLock> FLock;
};

// A locked persistent whose change signal is an event.
class TNXLockedPersistentNotify : public TNXLockedPersistent {
  QX_CLASS(TNXLockedPersistentNotify, TNXLockedPersistent)

 public:
  using TChangeEvent = std::function<void(TNXLockedPersistentNotify& sender)>;

  TNXLockedPersistentNotify(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange = {})
      : TNXLockedPersistent(owner, std::move(lock)), OnChange(std::move(onChange)) {}

  // Called after each change, under the lock.
  TChangeEvent OnChange;

 protected:
  void Notify() override {
    if (OnChange) OnChange(*this);
  }
};

}  // namespace qx
