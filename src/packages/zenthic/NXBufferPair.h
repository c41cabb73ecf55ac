// TNXBufferPair: two data buffers that travel together, for example the X and
// the Y values of a list of points.
//
// Fill it with `AddBuffer` (the first call gives the first buffer, the second
// the second) or with the two-buffer constructor, then hand it on; holders
// only read it. Reference-counted like the buffers it carries.
#pragma once

#include "host/RefCounted.h"
#include "packages/zenthic/ZTDataBuffer.h"

namespace qx {

class TNXBufferPair : public TRefCounted {
 public:
  TNXBufferPair() = default;
  TNXBufferPair(TRefPtr<IZTDataBuffer> first, TRefPtr<IZTDataBuffer> second);

  // Takes `buffer` as the first buffer, or as the second when the first is
  // there. Raises EZTException for a null buffer or when both are there.
  void AddBuffer(TRefPtr<IZTDataBuffer> buffer);

  // How many buffers were added: 0, 1 or 2.
  int GetCount() const noexcept { return FSecond ? 2 : FFirst ? 1 : 0; }
  // Null until added.
  const TRefPtr<IZTDataBuffer>& GetFirst() const noexcept { return FFirst; }
  const TRefPtr<IZTDataBuffer>& GetSecond() const noexcept { return FSecond; }

 private:
  TRefPtr<IZTDataBuffer> FFirst;
  TRefPtr<IZTDataBuffer> FSecond;
};

}  // namespace qx
