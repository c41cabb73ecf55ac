#include "packages/zenthic/ZTMainThreadNotify.h"

#include <utility>

namespace qx {

TZTMainThreadNotify::TZTMainThreadNotify(std::function<void()> callback, TMessageQueue& queue)
    : FCallback(std::move(callback)), FTarget([](const TMessage&) {}, queue) {}

void TZTMainThreadNotify::Notify() {
  // Only the request that finds no run pending posts one.
  if (!FPending.exchange(true, std::memory_order_acq_rel)) FTarget.PostCall([this] { Run(); });
}

void TZTMainThreadNotify::Run() {
  // Cleared before the callback: a request made from now on posts a new run,
  // one made earlier is covered by this one.
  FPending.store(false, std::memory_order_release);
  if (FCallback) FCallback();
}

}  // namespace qx
