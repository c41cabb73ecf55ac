// Internal to the image operations: reading the second frame of a two-frame
// operation in a given format, and the region two frames have in common.
//
// The second frame is only ever read. When it must be converted, a temporary
// frame sharing its storage is converted instead, so neither the frame nor
// any other holder of its storage sees a change.
#pragma once

#include "dispatch/IppTypes.h"
#include "host/RefCounted.h"
#include "image/IQXImageBuffer.h"
#include "image/QXImageBuffer.h"
#include "image/QXVideoFormat.h"

namespace qx::detail {

// `frame` as seen in `format`: the frame itself when it is in it, otherwise
// a converted temporary that shares its storage.
class TFrameInFormat {
 public:
  TFrameInFormat(const IQXImageBuffer& frame, TQXVideoFormat format);
  const IQXImageBuffer& Get() const noexcept { return *FFrame; }

 private:
  TRefPtr<TQXImageBuffer> FConverted;
  const IQXImageBuffer* FFrame;
};

// The top-left region `image` and `operand` have in common, ready for a
// kernel that reads the operand and changes the image.
struct TFrameRegion {
  Ipp8u* Pixels = nullptr;
  int Step = 0;
  const Ipp8u* Operand = nullptr;
  int OperandStep = 0;
  IppiSize Size{0, 0};

  bool IsEmpty() const noexcept { return Size.width <= 0 || Size.height <= 0; }
};

// The smaller width and height of the two frames.
IppiSize CommonSize(const IQXImageBuffer& image, const IQXImageBuffer& operand);

// Unshares `image` (keeping its pixels) before it reads `operand`, so that an
// operand that is `image` itself, or shares its storage, is read as it was.
// Neither frame is touched when the common region is empty.
TFrameRegion CommonRegion(TQXImageBuffer& image, const IQXImageBuffer& operand);

}  // namespace qx::detail
