// TZTBufferStampList: data buffers queued with three 64-bit values each
// (times, for a frame: start, end and capture start), first in, first out.
//
// Any thread may add and take entries; a producer thread typically adds while
// a consumer thread takes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "host/RefCounted.h"
#include "packages/zenthic/ZTDataBuffer.h"
#include "packages/zenthic/ZTLockedQueue.h"

namespace qx {

struct TZTBufferStampEntry {
  TRefPtr<IZTDataBuffer> Buffer;
  std::array<std::int64_t, 3> Stamps{};
};

class TZTBufferStampList {
 public:
  // Queues `buffer` with its three values; returns the number of entries now
  // queued.
  std::size_t Add(TRefPtr<IZTDataBuffer> buffer, std::int64_t stamp1, std::int64_t stamp2,
                  std::int64_t stamp3) {
    return FEntries.Push({std::move(buffer), {stamp1, stamp2, stamp3}});
  }

  // Takes the oldest entry, or nothing when the list is empty.
  std::optional<TZTBufferStampEntry> Pop() { return FEntries.Pop(); }

  std::size_t GetCount() const { return FEntries.GetCount(); }
  bool IsEmpty() const { return FEntries.IsEmpty(); }
  // Drops every entry (and so its reference to the buffer).
  void Clear() { FEntries.Clear(); }

 private:
  TZTLockedQueue<TZTBufferStampEntry> FEntries;
};

}  // namespace qx
