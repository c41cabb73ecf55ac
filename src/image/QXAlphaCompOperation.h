// TQXAlphaCompOperation: how IQXImageBuffer::AlphaComp combines two frames by
// their per-pixel alpha (byte 3 of each RGBA32 pixel, 255 opaque).
//
// The upper frame is A with alpha a, the frame being changed is B with alpha
// b; each colour channel of the result is, with products taken in 0..1:
//
//   acoOver   A a + B b (1 - a)      A over B
//   acoIn     A a b                  A where B is
//   acoOut    A a (1 - b)            A where B is not
//   acoATop   A a b + B b (1 - a)    A over B, only where B is
//   acoXor    A a (1 - b) + B b (1 - a)
//   acoPlus   A a + B b, saturated
//
// and the result's alpha is the same formula with both colours taken as 1.
#pragma once

#include <cstdint>

namespace qx {

// The values are the compositing types of the kernel (dispatch/IppTypes.h's
// IppiAlphaType) and are passed to it unchanged.
enum TQXAlphaCompOperation : std::uint8_t {
  acoOver = 0,
  acoIn = 1,
  acoOut = 2,
  acoATop = 3,
  acoXor = 4,
  acoPlus = 5,
};

}  // namespace qx
