// The main-thread queue: messages and calls posted from any thread, handled on
// the thread that processes the queue.
//
// This is how work reaches the user-interface thread. A `TMessageTarget`
// stands where a hidden window would: it has a handler (its "window
// procedure") that receives every message posted to it, on the queue's
// thread. Any thread may post a message (a number and two parameters) to a
// target, or post a plain call. The queue's thread handles them in the order
// they were posted, by calling `ProcessMessages` now and then, by blocking in
// `Run` until `Quit`, or, inside an application that has its own event loop,
// from that loop when the queue wakes it through an `IEventLoop` adapter.
//
// Lifetime rules:
// - Post to a target through its handle (`TMessageTarget::GetHandle`): a
//   handle may outlive its target; posting to a destroyed target does nothing.
// - A target destroyed with messages pending receives none of them, even
//   those already taken by a `ProcessMessages` that is under way.
// - Create, re-handle and destroy a target on the queue's thread.
//
// `MainThreadQueue()` is the process's queue; tests and embedders may create
// others.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace qx {

// The first message number free for a program's own messages.
inline constexpr std::uint32_t WM_APP = 0x8000;

struct TMessage {
  std::uint32_t Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
};

using TMessageHandler = std::function<void(const TMessage&)>;

// What an application's event loop implements to drive a queue: `Wake` is
// called (on the posting thread) when a message or call arrives in an empty
// queue, and the loop then calls the queue's `ProcessMessages` on its own
// thread, for example through its own posted-event mechanism. `Wake` must be
// quick and thread-safe.
class IEventLoop {
 public:
  virtual ~IEventLoop() = default;
  virtual void Wake() = 0;
};

class TMessageTarget;
class TMessageTargetHandle;

namespace detail {
struct TTargetLink;
}

class TMessageQueue {
 public:
  TMessageQueue() = default;
  // Pending messages and calls are dropped. No target may outlive its queue.
  ~TMessageQueue();
  TMessageQueue(const TMessageQueue&) = delete;
  TMessageQueue& operator=(const TMessageQueue&) = delete;

  // Queues `call` to run on the queue's thread. Any thread.
  void PostCall(std::function<void()> call);

  // Handles the messages and calls queued when it is called, in order, and
  // returns how many were delivered. Those posted meanwhile wait for the next
  // call. An exception from a handler propagates; the messages not yet
  // handled stay queued, in order.
  std::size_t ProcessMessages();

  // Handles messages as they arrive until `Quit`, then returns. An exception
  // from a handler propagates as from ProcessMessages.
  void Run();
  // Makes the current `Run` return (or the next one, when none runs) once the
  // messages it has taken are handled. Any thread.
  void Quit();

  // Messages or calls are waiting. Any thread.
  bool HasPendingMessages() const;

  // The loop to wake when something is posted to the empty queue (null: none).
  // Any thread; the adapter is kept alive while a wake-up is under way.
  void SetEventLoop(std::shared_ptr<IEventLoop> eventLoop);

 private:
  friend class TMessageTarget;
  friend bool PostMessage(const TMessageTargetHandle&, std::uint32_t, std::uintptr_t,
                          std::intptr_t);

  struct TItem {
    std::shared_ptr<detail::TTargetLink> Target;  // null for a plain call
    TMessage Message;
    std::function<void()> Call;
  };

  void Post(TItem item);
  void Forget(const detail::TTargetLink* target);
  // Runs the item; false when its target is gone.
  static bool Deliver(TItem& item);

  mutable std::mutex FMutex;
  std::condition_variable FArrived;
  std::deque<TItem> FItems;
  bool FQuit = false;
  std::shared_ptr<IEventLoop> FEventLoop;
};

// The process's main-thread queue. It lives until the process ends.
TMessageQueue& MainThreadQueue();

// A reference to a message target that stays safe to post to from any
// thread, even after the target is gone.
class TMessageTargetHandle {
 public:
  TMessageTargetHandle() = default;

 private:
  friend class TMessageTarget;
  friend bool PostMessage(const TMessageTargetHandle&, std::uint32_t, std::uintptr_t,
                          std::intptr_t);
  explicit TMessageTargetHandle(std::weak_ptr<detail::TTargetLink> link) : FLink(std::move(link)) {}

  std::weak_ptr<detail::TTargetLink> FLink;
};

// Queues a message for the target; false when the target no longer exists (or
// the handle is empty). Any thread.
bool PostMessage(const TMessageTargetHandle& target, std::uint32_t msg, std::uintptr_t wParam = 0,
                 std::intptr_t lParam = 0);

class TMessageTarget {
 public:
  explicit TMessageTarget(TMessageHandler handler, TMessageQueue& queue = MainThreadQueue());
  // Pending messages and calls of the target are dropped.
  ~TMessageTarget();
  TMessageTarget(const TMessageTarget&) = delete;
  TMessageTarget& operator=(const TMessageTarget&) = delete;

  TMessageTargetHandle GetHandle() const { return TMessageTargetHandle(FLink); }
  TMessageQueue& GetQueue() const noexcept { return FQueue; }

  // The handler may be replaced (to hook the target, keep the previous one and
  // call it from the new one); on the queue's thread only.
  const TMessageHandler& GetHandler() const noexcept { return FHandler; }
  void SetHandler(TMessageHandler handler) { FHandler = std::move(handler); }

  // Queues a message for this target. Any thread, while the target exists.
  void PostMessage(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) const;
  // Queues a call that runs on the queue's thread unless the target is
  // destroyed first. Any thread, while the target exists.
  void PostCall(std::function<void()> call) const;

 private:
  friend class TMessageQueue;

  TMessageQueue& FQueue;
  TMessageHandler FHandler;
  std::shared_ptr<detail::TTargetLink> FLink;
};

}  // namespace qx
