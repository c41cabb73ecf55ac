// TQXBitmap: the library's memory bitmap, exchanged with frames through
// IQXImageBuffer::FromBitmap and ToBitmap.
//
// Everything but the constructors is TQXBasicBitmap's
// (packages/zenthic/ZTBasicBitmap.h): 24-bit (blue, green, red) or 32-bit
// (blue, green, red, alpha) pixels in rows stored top row first.
//
//   TQXBitmap overlay(100, 50, QXColorRGB(0, 0, 255), 128);  // 32-bit, blue, half transparent
//   auto frame = MakeRef<TQXImageBuffer>(overlay);            // an RGBA32 frame of it
#pragma once

#include <cstdint>

#include "host/Bitmap.h"
#include "packages/zenthic/ZTBasicBitmap.h"

namespace qx {

class TQXBitmap : public TQXBasicBitmap {
 public:
  // An empty bitmap (0 x 0) in pf24bit.
  TQXBitmap();
  // A black 24-bit bitmap of width x height.
  TQXBitmap(int width, int height);
  // A 32-bit bitmap of width x height, every pixel `color` (a colour
  // reference) with `alpha`.
  TQXBitmap(int width, int height, std::uint32_t color, std::uint8_t alpha);
  // A copy of `source`'s size, format and pixels.
  explicit TQXBitmap(const TQXBasicBitmap& source);
  // The pixels of `bitmap`: 32-bit bitmaps stay 32-bit, every other depth
  // becomes 24-bit.
  explicit TQXBitmap(const TBitmap& bitmap);
};

}  // namespace qx
