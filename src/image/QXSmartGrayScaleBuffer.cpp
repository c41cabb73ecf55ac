#include "image/QXSmartImageBuffers.h"

namespace qx {

std::uint32_t TQXSmartGrayScaleBuffer::GetPixel(std::uint32_t x, std::uint32_t y) const {
  const std::uint8_t value = *PixelAt(x, y);
  return QXColorRGB(value, value, value);
}

std::uint8_t TQXSmartGrayScaleBuffer::GetGrayScale(std::uint32_t x, std::uint32_t y) const {
  return *PixelAt(x, y);
}

void TQXSmartGrayScaleBuffer::SetGrayScale(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  *PixelAt(x, y) = value;
}

}  // namespace qx
