// TKRSmartMediaBuffer: the storage base of media data (frames, audio), a
// TZTSmartBuffer that also carries the media time stamp.
//
// The time stamp is a begin and an end time (64-bit, 100-ns units) with a
// flag saying whether they are known. Like the sequence stamp it travels with
// the bytes: copies made by the copy constructor, `Clone` and
// `CreateResized` keep it. It is written in place, shared or not, so a
// producer stamps its data before handing it to another thread.
//
// `TKRSmartMediaByteBuffer` is the media storage of plain bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "packages/zenthic/ZTBlockStorage.h"
#include "packages/zenthic/ZTSmartBuffer.h"

namespace qx {

struct TKRMediaTimeStamp {
  bool Available = false;
  std::int64_t Begin = 0;
  std::int64_t End = 0;

  friend bool operator==(const TKRMediaTimeStamp&, const TKRMediaTimeStamp&) = default;
};

class TKRSmartMediaBuffer : public TZTSmartBuffer {
 public:
  TKRMediaTimeStamp GetTimeStamp() const noexcept { return FTimeStamp; }
  void SetTimeStamp(const TKRMediaTimeStamp& stamp) noexcept { FTimeStamp = stamp; }

 protected:
  TKRSmartMediaBuffer() = default;
  // Copies the time stamp and the sequence stamp.
  TKRSmartMediaBuffer(const TKRSmartMediaBuffer& source) = default;
  ~TKRSmartMediaBuffer() override = default;

 private:
  TKRMediaTimeStamp FTimeStamp;
};

class TKRSmartMediaByteBuffer final
    : public TZTBlockStorage<TKRSmartMediaByteBuffer, TKRSmartMediaBuffer> {
 public:
  // `charSize` uninitialised bytes, without a time stamp.
  explicit TKRSmartMediaByteBuffer(std::size_t charSize) : TZTBlockStorage(charSize) {}
  TKRSmartMediaByteBuffer(const TKRSmartMediaByteBuffer& source, std::size_t charSize,
                          bool copyData)
      : TZTBlockStorage(source, charSize, copyData) {}
};

}  // namespace qx
