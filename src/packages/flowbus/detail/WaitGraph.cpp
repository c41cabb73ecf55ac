#include "packages/flowbus/detail/WaitGraph.h"

#include <algorithm>

namespace qx::detail {

std::mutex& FlowbusMutex() {
  // Never destroyed: threads may still leave flights while statics go away.
  static auto* mutex = new std::mutex;
  return *mutex;
}

TThreadRecord& CurrentThread() {
  thread_local TThreadRecord record;
  return record;
}

void TFlight::Leave(TThreadRecord& thread) {
  const auto position = std::find(FThreads.begin(), FThreads.end(), &thread);
  if (position != FThreads.end()) FThreads.erase(position);
  if (FWaiters > 0) FDrained.notify_all();
}

bool TFlight::HasOthers(const TThreadRecord& thread) const {
  return std::any_of(FThreads.begin(), FThreads.end(),
                     [&](const TThreadRecord* inside) { return inside != &thread; });
}

bool TFlight::WaitForOthers(std::unique_lock<std::mutex>& guard, TThreadRecord& me,
                            TWaitKind kind) {
  if (!HasOthers(me)) return true;
  me.Kind = kind;
  me.WaitFlight = this;
  me.WakeUp = &FDrained;
  me.Refused = false;
  ++FWaiters;
  BreakWaitCycles(me);
  FDrained.wait(guard, [&] { return me.Refused || !HasOthers(me); });
  --FWaiters;
  const bool gaveUp = me.Refused && HasOthers(me);
  EndWait(me);
  return !gaveUp;
}

namespace {

// The threads that `thread` waits for.
void AppendWaitedFor(const TThreadRecord& thread, std::vector<TThreadRecord*>& out) {
  if (thread.Refused) return;
  switch (thread.Kind) {
    case TWaitKind::LockOrdinary:
    case TWaitKind::LockExclusive:
    case TWaitKind::LockDestroy: {
      const TLockCore& lock = *thread.WaitLock;
      if (lock.Owner && lock.Owner != &thread) out.push_back(lock.Owner);
      // Exclusive entries go first: an ordinary entry waits for all of them,
      // an exclusive one for those queued before it.
      for (TThreadRecord* waiter : lock.ExclusiveQueue) {
        if (waiter == &thread) break;
        if (thread.Kind != TWaitKind::LockDestroy) out.push_back(waiter);
      }
      break;
    }
    case TWaitKind::Disconnect:
    case TWaitKind::PinClose:
      for (TThreadRecord* inside : thread.WaitFlight->Threads()) {
        if (inside != &thread) out.push_back(inside);
      }
      break;
    case TWaitKind::None:
      break;
  }
}

// Which waits may be refused to break a cycle, the most willing first; -1
// for those that never are.
int RefusalRank(TWaitKind kind) {
  switch (kind) {
    case TWaitKind::LockOrdinary:
      return 0;
    case TWaitKind::Disconnect:
      return 1;
    case TWaitKind::LockExclusive:
      return 2;
    default:
      return -1;
  }
}

// Depth-first search for a way from `node` back to `me`; `path` collects it.
bool FindWayBack(const TThreadRecord& node, const TThreadRecord& me,
                 std::vector<TThreadRecord*>& path, std::vector<const TThreadRecord*>& visited) {
  std::vector<TThreadRecord*> next;
  AppendWaitedFor(node, next);
  for (TThreadRecord* thread : next) {
    if (thread == &me) return true;
    if (std::find(visited.begin(), visited.end(), thread) != visited.end()) continue;
    visited.push_back(thread);
    path.push_back(thread);
    if (FindWayBack(*thread, me, path, visited)) return true;
    path.pop_back();
  }
  return false;
}

}  // namespace

void BreakWaitCycles(TThreadRecord& me) {
  while (!me.Refused) {
    std::vector<TThreadRecord*> path{&me};
    std::vector<const TThreadRecord*> visited{&me};
    if (!FindWayBack(me, me, path, visited)) return;
    // The most willing waiter of the cycle; the caller itself on a tie.
    TThreadRecord* victim = nullptr;
    int victimRank = 0;
    for (TThreadRecord* thread : path) {
      const int rank = RefusalRank(thread->Kind);
      if (rank >= 0 && (!victim || rank < victimRank)) {
        victim = thread;
        victimRank = rank;
      }
    }
    if (!victim) return;  // only waits that cannot give way: they wait
    victim->Refused = true;
    if (victim != &me) victim->WakeUp->notify_all();
  }
}

void EndWait(TThreadRecord& me) {
  me.Kind = TWaitKind::None;
  me.WaitLock = nullptr;
  me.WaitFlight = nullptr;
  me.WakeUp = nullptr;
  me.Refused = false;
}

}  // namespace qx::detail
