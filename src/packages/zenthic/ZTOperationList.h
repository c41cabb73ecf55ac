// TZTOperationList: a queue of stream operations that any thread may use.
//
// A component that cannot handle an operation at once (a logger waiting for
// its audio to catch up, a text input drained on the user-interface thread)
// keeps it here. Operations are taken first in, first out; one that could
// not be handled after all is put back at the head with `PushBack`, so that
// it is the next one taken:
//
//   FQueue.Push(op);                 // newly arrived: at the tail
//   while (auto next = FQueue.Pop()) {
//     if (!Handle(next)) { FQueue.PushBack(next); break; }   // retry later, first
//   }
//
// Operations put back one after the other are therefore taken in the reverse
// order of putting back. Every member takes the list's own mutex; `Clear`
// releases the removed operations after leaving it, so an operation's
// destructor may use the list.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>

#include "packages/flowbus/FBOperations.h"

namespace qx {

class TZTOperationList {
 public:
  // Appends `operation` at the tail, or inserts it at the head when
  // `atHead` is set. A null operation is not queued (Pop's null means
  // "empty"); returns whether it was.
  bool Push(const TFBOperationPtr& operation, bool atHead = false);
  // Puts `operation` at the head: it is the next one Pop takes.
  bool PushBack(const TFBOperationPtr& operation) { return Push(operation, true); }

  // Takes the operation at the head; null when the list is empty.
  TFBOperationPtr Pop();

  // Drops every queued operation.
  void Clear();

  std::size_t GetCount() const;
  bool IsEmpty() const { return GetCount() == 0; }

 private:
  mutable std::mutex FMutex;
  std::deque<TFBOperationPtr> FItems;
};

}  // namespace qx
