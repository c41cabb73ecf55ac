// Storage classes of packed 4:2:2 YUV pixels (YUY2 and UYVY).
#include <utility>

#include "dispatch/QXBasicDispatcher.h"
#include "image/QXSmartImageBuffers.h"

namespace qx {

std::uint32_t TQXSmartYUV422ImageBuffer::GetPixel(std::uint32_t x, std::uint32_t y) const {
  // The pixels to convert: the pixel's pair; for the last pixel of an odd
  // width, which has a U but no V, the last three pixels, so that it borrows
  // the preceding pair's V as the whole-frame conversion does. Either way
  // only bytes of this row are read.
  std::uint32_t first = x & ~1u;
  std::uint32_t count = 2;
  if (x == first && x + 1 == GetWidth()) {
    first = x >= 2 ? x - 2 : x;
    count = x - first + 1;
  }
  Ipp8u yuy2[6];
  const std::uint8_t* group = PixelAt(first, y);
  for (std::uint32_t i = 0; i < 2 * count; ++i) yuy2[i] = group[i];
  if (GetFormat() == vfUYVY) {
    // U Y0 V Y1 becomes Y0 U Y1 V: the bytes of each 16-bit word exchanged.
    for (std::uint32_t i = 0; i < 2 * count; i += 2) std::swap(yuy2[i], yuy2[i + 1]);
  }
  Ipp8u rgb[9];
  const int width = static_cast<int>(count);
  ippiYUV422ToRGB_8u_C2C3R(yuy2, 2 * width, rgb, 3 * width, {width, 1});
  const Ipp8u* pixel = rgb + 3 * (x - first);
  return QXColorRGB(pixel[0], pixel[1], pixel[2]);
}

}  // namespace qx
