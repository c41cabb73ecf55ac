// TKRDSBufferQueue: blocks of bytes with a start and a stop time, copied in
// by a producer (a platform callback) and taken out in order by a consumer
// thread.
//
// `Add` copies the data, so the producer's memory may be reused at once;
// `Get` hands out the oldest block, which its taker owns. Giving a block back
// with `DestroyBlock` lets a later `Add` reuse its memory instead of
// allocating (a few blocks are kept for that); simply dropping the pointer
// frees it. Every member may be called from any thread; the copy in `Add`
// runs outside the queue's lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "packages/zenthic/ZTBufferAllocator.h"

namespace qx {

class TKRDSBufferBlock {
 public:
  std::int64_t GetStart() const noexcept { return FStart; }
  std::int64_t GetStop() const noexcept { return FStop; }
  // The copied bytes (null when the size is 0).
  const std::uint8_t* GetData() const noexcept { return FSize ? FMemory.GetData() : nullptr; }
  std::size_t GetSize() const noexcept { return FSize; }

 private:
  friend class TKRDSBufferQueue;

  TZTBufferBlock FMemory;  // may be larger than FSize when reused
  std::size_t FSize = 0;
  std::int64_t FStart = 0;
  std::int64_t FStop = 0;
};

using TKRDSBufferBlockPtr = std::unique_ptr<TKRDSBufferBlock>;

class TKRDSBufferQueue {
 public:
  // Blocks kept for reuse at most.
  static constexpr std::size_t SpareBlocks = 4;

  TKRDSBufferQueue() = default;
  TKRDSBufferQueue(const TKRDSBufferQueue&) = delete;
  TKRDSBufferQueue& operator=(const TKRDSBufferQueue&) = delete;

  // Queues a copy of the `size` bytes at `data` with its times. False (and
  // nothing queued) when `data` is null while `size` is not 0.
  bool Add(std::int64_t start, std::int64_t stop, const void* data, std::size_t size);

  // The oldest block, or null when the queue is empty.
  TKRDSBufferBlockPtr Get();

  bool HasData() const;
  std::size_t GetCount() const;

  // Drops every queued block.
  void Clear();

  // Gives a block back once its taker is done with it; null is ignored.
  void DestroyBlock(TKRDSBufferBlockPtr block);

 private:
  // A block whose memory holds `size` bytes: a spare one when it fits.
  TKRDSBufferBlockPtr TakeBlock(std::size_t size);
  // Keeps `blocks` for reuse, as far as there is room; with FMutex held.
  void KeepSpares(std::vector<TKRDSBufferBlockPtr>& blocks);

  mutable std::mutex FMutex;
  std::deque<TKRDSBufferBlockPtr> FBlocks;
  std::vector<TKRDSBufferBlockPtr> FSpares;
};

}  // namespace qx
