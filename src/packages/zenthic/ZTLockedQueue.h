// TZTLockedQueue<T>: a first-in, first-out queue that any thread may use.
//
// The package's lists and queues keep their items in one. Every member takes
// the queue's own mutex; items are moved in and out, and `Clear` destroys the
// removed items after releasing the mutex, so an item's destructor may use the
// queue.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace qx {

template <class T>
class TZTLockedQueue {
 public:
  // Appends `item` and returns the number of items now queued.
  std::size_t Push(T item) {
    std::lock_guard lock(FMutex);
    FItems.push_back(std::move(item));
    return FItems.size();
  }

  // Takes the oldest item, or nothing when the queue is empty.
  std::optional<T> Pop() {
    std::lock_guard lock(FMutex);
    if (FItems.empty()) return std::nullopt;
    std::optional<T> item(std::move(FItems.front()));
    FItems.pop_front();
    return item;
  }

  std::size_t GetCount() const {
    std::lock_guard lock(FMutex);
    return FItems.size();
  }
  bool IsEmpty() const { return GetCount() == 0; }

  void Clear() {
    std::deque<T> removed;
    {
      std::lock_guard lock(FMutex);
      removed.swap(FItems);
    }
  }

 private:
  mutable std::mutex FMutex;
  std::deque<T> FItems;
};

}  // namespace qx
