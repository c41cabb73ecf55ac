#include "packages/zenthic/ZTOperationList.h"

#include <utility>

namespace qx {

bool TZTOperationList::Push(const TFBOperationPtr& operation, bool atHead) {
  if (!operation) return false;
  std::lock_guard guard(FMutex);
  if (atHead)
    FItems.push_front(operation);
  else
    FItems.push_back(operation);
  return true;
}

TFBOperationPtr TZTOperationList::Pop() {
  std::lock_guard guard(FMutex);
  if (FItems.empty()) return nullptr;
  TFBOperationPtr head = std::move(FItems.front());
  FItems.pop_front();
  return head;
}

void TZTOperationList::Clear() {
  std::deque<TFBOperationPtr> removed;
  std::lock_guard guard(FMutex);
  removed.swap(FItems);
  // `removed` is destroyed after `guard`, outside the mutex.
}

std::size_t TZTOperationList::GetCount() const {
  std::lock_guard guard(FMutex);
  return FItems.size();
}

}  // namespace qx
