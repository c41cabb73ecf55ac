// TThread: a named worker thread with a priority, stopped by request.
//
// Derive, put the work in `Execute`, and `Start` the thread once the object is
// fully built. `Execute` checks `Terminated()` and returns when it is set;
// `Terminate` asks for that from any thread (override `TerminatedSet` to wake
// an `Execute` that is waiting, e.g. by setting its TEvent). `WaitFor` waits
// until `Execute` has returned.
//
// Destruction terminates and waits too, but only after the derived class's
// members are gone: a derived class whose `Execute` uses its own members
// calls `Terminate(); WaitFor();` in its destructor.
//
// No exception leaves the thread: one escaping `Execute` ends the thread and is
// kept in `FatalException()`.
//
// The name is given to the system thread (visible in debuggers and `top`),
// cut to the system's 15 bytes. The priority maps to the thread's nice value
// (idle 19, lowest 10, lower 5, normal 0, higher -5, highest -10, time
// critical -15) and is best effort: where raising it is not permitted the
// thread keeps running at the priority it has.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace qx {

enum TThreadPriority : std::uint8_t {
  tpIdle,
  tpLowest,
  tpLower,
  tpNormal,
  tpHigher,
  tpHighest,
  tpTimeCritical
};

class TThread {
 public:
  explicit TThread(std::string name = {});
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  const std::string& GetName() const noexcept { return FName; }

  // Starts `Execute` on a new thread. Raises EThreadError when started before.
  void Start();

  // Asks `Execute` to return, then calls `TerminatedSet`. Any thread.
  void Terminate();
  bool Terminated() const noexcept { return FTerminated.load(std::memory_order_acquire); }

  // Waits until `Execute` has returned; returns at once for a thread never
  // started. Any thread but the thread itself (EThreadError).
  void WaitFor();

  // `Execute` has returned.
  bool Finished() const noexcept { return FFinished.load(std::memory_order_acquire); }

  // The exception that escaped `Execute`, or null; meaningful once Finished().
  std::exception_ptr FatalException() const;

  TThreadPriority GetPriority() const noexcept { return FPriority.load(); }
  // Best effort, before or after Start.
  void SetPriority(TThreadPriority priority);

 protected:
  virtual void Execute() = 0;
  // Called by Terminate after Terminated() became true, on the terminating thread.
  virtual void TerminatedSet() {}

 private:
  void Run();
  void ApplyPriority();  // with FThreadMutex held

  const std::string FName;
  std::atomic<TThreadPriority> FPriority{tpNormal};
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::exception_ptr FFatalException;  // written by the thread before FFinished

  std::mutex FThreadMutex;  // guards FStarted, FThread, FThreadId, FSystemId
  bool FStarted = false;
  std::thread FThread;
  std::thread::id FThreadId;
  int FSystemId = 0;  // the running thread's kernel id; 0 when not running
  std::mutex FJoinMutex;
};

// Names the calling thread as TThread names its threads (at most 15 bytes).
void SetCurrentThreadName(std::string_view name);

}  // namespace qx
