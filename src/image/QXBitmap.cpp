#include "image/QXBitmap.h"

namespace qx {

TQXBitmap::TQXBitmap() = default;

TQXBitmap::TQXBitmap(int width, int height) : TQXBasicBitmap(width, height) {}

TQXBitmap::TQXBitmap(int width, int height, std::uint32_t color, std::uint8_t alpha)
    : TQXBasicBitmap(width, height, color, alpha) {}

TQXBitmap::TQXBitmap(const TQXBasicBitmap& source) : TQXBasicBitmap(source) {}

TQXBitmap::TQXBitmap(const TBitmap& bitmap) : TQXBasicBitmap(bitmap) {}

}  // namespace qx
