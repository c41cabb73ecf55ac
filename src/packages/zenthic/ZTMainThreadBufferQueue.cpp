#include "packages/zenthic/ZTMainThreadBufferQueue.h"

#include <utility>

namespace qx {

TZTMainThreadBufferQueue::TZTMainThreadBufferQueue(TBufferEvent onBuffer, TMessageQueue& queue)
    : FOnBuffer(std::move(onBuffer)), FNotify([this] { Deliver(); }, queue) {}

void TZTMainThreadBufferQueue::Add(TRefPtr<IZTDataBuffer> buffer) {
  FBuffers.Push(std::move(buffer));
  FNotify.Notify();
}

void TZTMainThreadBufferQueue::Deliver() {
  for (std::size_t count = FBuffers.GetCount(); count > 0; --count) {
    auto buffer = FBuffers.Pop();
    if (!buffer) return;  // cleared meanwhile
    try {
      if (FOnBuffer) FOnBuffer(*buffer);
    } catch (...) {
      // The buffers behind the failing one still need a delivery.
      if (!FBuffers.IsEmpty()) FNotify.Notify();
      throw;
    }
  }
}

}  // namespace qx
