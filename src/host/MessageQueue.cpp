#include "host/MessageQueue.h"

#include <atomic>
#include <iterator>

namespace qx {
namespace detail {

// What queued messages and handles know of a target: cleared when the target
// is destroyed, so that nothing more is delivered to it.
struct TTargetLink {
  explicit TTargetLink(TMessageQueue& queue, TMessageTarget& target)
      : Queue(queue), Target(&target) {}

  TMessageQueue& Queue;
  std::atomic<TMessageTarget*> Target;
};

}  // namespace detail

TMessageQueue::~TMessageQueue() = default;

TMessageQueue& MainThreadQueue() {
  // Never destroyed: threads may still post while the process exits.
  static TMessageQueue* queue = new TMessageQueue;
  return *queue;
}

void TMessageQueue::Post(TItem item) {
  std::shared_ptr<IEventLoop> eventLoop;
  {
    std::lock_guard lock(FMutex);
    if (FItems.empty()) eventLoop = FEventLoop;
    FItems.push_back(std::move(item));
  }
  FArrived.notify_one();
  if (eventLoop) eventLoop->Wake();
}

void TMessageQueue::PostCall(std::function<void()> call) { Post({nullptr, {}, std::move(call)}); }

void TMessageQueue::Forget(const detail::TTargetLink* target) {
  std::lock_guard lock(FMutex);
  std::erase_if(FItems, [target](const TItem& item) { return item.Target.get() == target; });
}

bool TMessageQueue::Deliver(TItem& item) {
  if (!item.Target) {
    item.Call();
    return true;
  }
  TMessageTarget* target = item.Target->Target.load(std::memory_order_acquire);
  if (!target) return false;
  if (item.Call) {
    item.Call();
  } else if (target->FHandler) {
    target->FHandler(item.Message);
  }
  return true;
}

std::size_t TMessageQueue::ProcessMessages() {
  std::deque<TItem> batch;
  {
    std::lock_guard lock(FMutex);
    batch.swap(FItems);
  }
  std::size_t delivered = 0;
  while (!batch.empty()) {
    TItem item = std::move(batch.front());
    batch.pop_front();
    try {
      if (Deliver(item)) ++delivered;
    } catch (...) {
      // What was not handled goes back to the head of the queue, in order.
      std::shared_ptr<IEventLoop> eventLoop;
      {
        std::lock_guard lock(FMutex);
        if (FItems.empty() && !batch.empty()) eventLoop = FEventLoop;
        FItems.insert(FItems.begin(), std::make_move_iterator(batch.begin()),
                      std::make_move_iterator(batch.end()));
      }
      if (eventLoop) eventLoop->Wake();
      throw;
    }
  }
  return delivered;
}

void TMessageQueue::Run() {
  while (true) {
    {
      std::unique_lock lock(FMutex);
      FArrived.wait(lock, [this] { return FQuit || !FItems.empty(); });
      if (FQuit) {
        FQuit = false;
        return;
      }
    }
    ProcessMessages();
  }
}

void TMessageQueue::Quit() {
  {
    std::lock_guard lock(FMutex);
    FQuit = true;
  }
  FArrived.notify_all();
}

bool TMessageQueue::HasPendingMessages() const {
  std::lock_guard lock(FMutex);
  return !FItems.empty();
}

void TMessageQueue::SetEventLoop(std::shared_ptr<IEventLoop> eventLoop) {
  bool pending = false;
  {
    std::lock_guard lock(FMutex);
    FEventLoop = eventLoop;
    pending = !FItems.empty();
  }
  // Messages already waiting would otherwise wait for the next post.
  if (eventLoop && pending) eventLoop->Wake();
}

bool PostMessage(const TMessageTargetHandle& target, std::uint32_t msg, std::uintptr_t wParam,
                 std::intptr_t lParam) {
  std::shared_ptr<detail::TTargetLink> link = target.FLink.lock();
  if (!link || !link->Target.load(std::memory_order_acquire)) return false;
  TMessageQueue& queue = link->Queue;
  queue.Post({std::move(link), {msg, wParam, lParam}, nullptr});
  return true;
}

TMessageTarget::TMessageTarget(TMessageHandler handler, TMessageQueue& queue)
    : FQueue(queue),
      FHandler(std::move(handler)),
      FLink(std::make_shared<detail::TTargetLink>(queue, *this)) {}

TMessageTarget::~TMessageTarget() {
  FLink->Target.store(nullptr, std::memory_order_release);
  FQueue.Forget(FLink.get());
}

void TMessageTarget::PostMessage(std::uint32_t msg, std::uintptr_t wParam,
                                 std::intptr_t lParam) const {
  FQueue.Post({FLink, {msg, wParam, lParam}, nullptr});
}

void TMessageTarget::PostCall(std::function<void()> call) const {
  FQueue.Post({FLink, {}, std::move(call)});
}

}  // namespace qx
