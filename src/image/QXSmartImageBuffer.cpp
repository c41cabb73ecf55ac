#include "image/QXSmartImageBuffer.h"

#include <cstring>
#include <limits>

#include "image/QXFormatConversion.h"

namespace qx {
namespace {

struct TGeometry {
  std::uint32_t width = 0;
  std::uint32_t extWidth = 0;
  std::uint32_t height = 0;
  std::uint32_t bytesPerPixel = 0;

  std::size_t CharSize() const { return std::size_t{extWidth} * bytesPerPixel * height; }
};

std::uint32_t BytesPerPixel(TQXVideoFormat storageFormat) {
  switch (storageFormat) {
    case vfRGBA32:
      return 4;
    case vfYUY2:
    case vfUYVY:
    case vfRGB565:
    case vfRGB555:
      return 2;
    case vfGrayScale:
      return 1;
    default:
      return 3;
  }
}

// The layout of a width x height frame of `storageFormat`, or an empty one
// when its byte size would not fit 32 bits, or its row -- in its own format
// or as the 3-byte pixels that conversions pass through -- would not fit a
// kernel's signed 32-bit step.
TGeometry GeometryOf(TQXVideoFormat storageFormat, std::uint32_t width, std::uint32_t height) {
  const std::uint64_t bytesPerPixel = BytesPerPixel(storageFormat);
  // Only 3-byte rows are padded, to whole multiples of 4 pixels.
  const std::uint64_t paddedWidth = (std::uint64_t{width} + 3) / 4 * 4;
  const std::uint64_t extWidth = bytesPerPixel == 3 ? paddedWidth : std::uint64_t{width};
  const std::uint64_t step = extWidth * bytesPerPixel;
  constexpr std::uint64_t kMaxStep = std::numeric_limits<std::int32_t>::max();
  constexpr std::uint64_t kMaxCharSize = std::numeric_limits<std::uint32_t>::max();
  if (step > kMaxStep || paddedWidth * 3 > kMaxStep || height > kMaxStep ||
      (height != 0 && step > kMaxCharSize / height)) {
    return {0, 0, 0, static_cast<std::uint32_t>(bytesPerPixel)};
  }
  return {width, static_cast<std::uint32_t>(extWidth), height,
          static_cast<std::uint32_t>(bytesPerPixel)};
}

}  // namespace

TQXSmartImageBuffer::TQXSmartImageBuffer(TQXVideoFormat format, std::uint32_t width,
                                         std::uint32_t height) {
  const TGeometry geometry = GeometryOf(format, width, height);
  FWidth = geometry.width;
  FExtWidth = geometry.extWidth;
  FHeight = geometry.height;
  FBytesPerPixel = geometry.bytesPerPixel;
  FBlock = TZTBufferBlock(geometry.CharSize());
}

TQXSmartImageBuffer::TQXSmartImageBuffer(TQXVideoFormat format, const TQXSmartImageBuffer& source,
                                         bool copyData)
    : TQXSmartImageBuffer(format, source.FWidth, source.FHeight) {
  if (source.GetFormat() != format) {
    // A frame too wide for this format's rows has become empty: nothing to convert into.
    if (GetCharSize() != 0) detail::QXConvertPixels(source, format, GetData(), GetStep());
    return;
  }
  SetTimeStamp(source.GetTimeStamp());
  SetSequenceStamp(source.GetSequenceStamp());
  if (copyData && GetCharSize() != 0) std::memcpy(GetData(), source.GetData(), GetCharSize());
}

void TQXSmartImageBuffer::SetPixel(std::uint32_t, std::uint32_t, std::uint32_t) {}

std::uint8_t TQXSmartImageBuffer::GetRed(std::uint32_t x, std::uint32_t y) const {
  return QXRedOf(GetPixel(x, y));
}

void TQXSmartImageBuffer::SetRed(std::uint32_t, std::uint32_t, std::uint8_t) {}

std::uint8_t TQXSmartImageBuffer::GetGreen(std::uint32_t x, std::uint32_t y) const {
  return QXGreenOf(GetPixel(x, y));
}

void TQXSmartImageBuffer::SetGreen(std::uint32_t, std::uint32_t, std::uint8_t) {}

std::uint8_t TQXSmartImageBuffer::GetBlue(std::uint32_t x, std::uint32_t y) const {
  return QXBlueOf(GetPixel(x, y));
}

void TQXSmartImageBuffer::SetBlue(std::uint32_t, std::uint32_t, std::uint8_t) {}

std::uint8_t TQXSmartImageBuffer::GetAlpha(std::uint32_t, std::uint32_t) const { return 255; }

void TQXSmartImageBuffer::SetAlpha(std::uint32_t, std::uint32_t, std::uint8_t) {}

std::uint8_t TQXSmartImageBuffer::GetGrayScale(std::uint32_t x, std::uint32_t y) const {
  return QXGrayOf(GetPixel(x, y));
}

void TQXSmartImageBuffer::SetGrayScale(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  SetPixel(x, y, QXColorRGB(value, value, value));
}

}  // namespace qx
