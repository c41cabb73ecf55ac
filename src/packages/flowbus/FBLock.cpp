#include "packages/flowbus/FBLock.h"

#include "packages/flowbus/detail/WaitGraph.h"

namespace qx {
namespace {

using detail::FlowbusMutex;
using detail::TThreadRecord;
using detail::TWaitKind;

class TFBLock final : public IFBLock {
 public:
  bool Enter() override { return Acquire(TWaitKind::LockOrdinary); }
  bool EnterExclusive() override { return Acquire(TWaitKind::LockExclusive); }

  void Leave() override {
    TThreadRecord& me = detail::CurrentThread();
    std::lock_guard guard(FlowbusMutex());
    if (FCore.Owner != &me || FCore.Depth == 0) return;  // not ours: nothing to leave
    if (--FCore.Depth == 0) {
      FCore.Owner = nullptr;
      FCore.Changed.notify_all();
    }
  }

  void BeginDestroy() override {
    TThreadRecord& me = detail::CurrentThread();
    std::unique_lock guard(FlowbusMutex());
    if (FCore.Destroying) return;
    FCore.Destroying = true;
    FCore.Destroyer = &me;
    FCore.Changed.notify_all();  // waiting entries are refused now
    if (FCore.Owner != &me) {
      me.Kind = TWaitKind::LockDestroy;
      me.WaitLock = &FCore;
      me.WakeUp = &FCore.Changed;
      detail::BreakWaitCycles(me);
      FCore.Changed.wait(guard, [&] { return FCore.Owner == nullptr; });
      detail::EndWait(me);
      FCore.Owner = &me;
    }
    ++FCore.Depth;  // kept for good
  }

  bool IsDestroying() const override {
    std::lock_guard guard(FlowbusMutex());
    return FCore.Destroying;
  }

  bool IsHeldByCurrentThread() const override {
    TThreadRecord& me = detail::CurrentThread();
    std::lock_guard guard(FlowbusMutex());
    return FCore.Owner == &me;
  }

 private:
  bool Acquire(TWaitKind kind) {
    TThreadRecord& me = detail::CurrentThread();
    std::unique_lock guard(FlowbusMutex());
    if (FCore.Owner == &me) {
      ++FCore.Depth;
      return true;
    }
    if (FCore.Destroying) {
      if (FCore.Destroyer != &me) return false;
      // The destroyer left more often than it entered: it still owns the lock.
      FCore.Owner = &me;
      FCore.Depth = 1;
      return true;
    }
    const bool exclusive = kind == TWaitKind::LockExclusive;
    auto isMyTurn = [&] {
      if (FCore.Owner) return false;
      if (exclusive) return FCore.ExclusiveQueue.front() == &me;
      return FCore.ExclusiveQueue.empty();
    };
    if (exclusive) FCore.ExclusiveQueue.push_back(&me);
    if (!isMyTurn()) {
      me.Kind = kind;
      me.WaitLock = &FCore;
      me.WakeUp = &FCore.Changed;
      detail::BreakWaitCycles(me);
      FCore.Changed.wait(guard, [&] { return me.Refused || FCore.Destroying || isMyTurn(); });
    }
    const bool granted = !me.Refused && !FCore.Destroying;
    detail::EndWait(me);
    if (exclusive) {
      std::erase(FCore.ExclusiveQueue, &me);
      // Ordinary entries queued behind this one may go now.
      if (!granted) FCore.Changed.notify_all();
    }
    if (!granted) return false;
    FCore.Owner = &me;
    FCore.Depth = 1;
    return true;
  }

  detail::TLockCore FCore;
};

}  // namespace

TRefPtr<IFBLock> FBCreateLock() { return MakeRef<TFBLock>(); }

}  // namespace qx
