// TZTMainThreadBufferQueue: hands data buffers queued on any thread to a
// callback on the user-interface thread, in the order they were added.
//
// `Add` (any thread) queues a buffer and asks the queue's thread for a
// delivery; each delivery passes the buffers that were queued when it began,
// one by one, to the callback (buffers added meanwhile come with the next
// delivery, so a busy producer cannot hold the user-interface thread). The
// queue owns the buffers until they are delivered.
//
// Create and destroy it on the queue's thread; buffers not yet delivered are
// dropped at destruction. `Add` may be called only while the object exists.
// When the callback raises, the exception propagates to the queue's caller
// and the buffers after the failing one are delivered later.
#pragma once

#include <cstddef>
#include <functional>

#include "host/MessageQueue.h"
#include "host/RefCounted.h"
#include "packages/zenthic/ZTDataBuffer.h"
#include "packages/zenthic/ZTLockedQueue.h"
#include "packages/zenthic/ZTMainThreadNotify.h"

namespace qx {

class TZTMainThreadBufferQueue {
 public:
  using TBufferEvent = std::function<void(const TRefPtr<IZTDataBuffer>& buffer)>;

  explicit TZTMainThreadBufferQueue(TBufferEvent onBuffer,
                                    TMessageQueue& queue = MainThreadQueue());

  // Queues `buffer` for the callback. Any thread.
  void Add(TRefPtr<IZTDataBuffer> buffer);

  // Buffers not yet delivered. Any thread.
  std::size_t GetCount() const { return FBuffers.GetCount(); }
  // Drops the buffers not yet delivered. Any thread.
  void Clear() { FBuffers.Clear(); }

 private:
  void Deliver();

  const TBufferEvent FOnBuffer;
  TZTLockedQueue<TRefPtr<IZTDataBuffer>> FBuffers;
  // Last: destroyed first, so no delivery runs on a half-destroyed queue.
  TZTMainThreadNotify FNotify;
};

}  // namespace qx
