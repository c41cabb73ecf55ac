// TQXImageBuffer: filling the whole frame with a colour, a gray level or an
// alpha value.
#include <array>
#include <cstdint>

#include "dispatch/QXBasicDispatcher.h"
#include "image/QXImageBuffer.h"
#include "packages/sonquo/SNBasicDispatcher.h"
#include "packages/zenthic/ZTBasicDispatcher.h"

namespace qx {
namespace {

// A pixel in memory order: blue, green, red, alpha.
using TPixelBytes = std::array<Ipp8u, 4>;

TPixelBytes PixelOf(std::uint32_t color, std::uint8_t alpha) {
  return {QXBlueOf(color), QXGreenOf(color), QXRedOf(color), alpha};
}

// The 16-bit word of `color` in `format`: the top bits of each channel.
Ipp16s WordOf(TQXVideoFormat format, std::uint32_t color) {
  const unsigned red = QXRedOf(color) >> 3, blue = QXBlueOf(color) >> 3;
  const unsigned word = format == vfRGB565 ? red << 11 | (QXGreenOf(color) >> 2u) << 5 | blue
                                           : red << 10 | (QXGreenOf(color) >> 3u) << 5 | blue;
  return static_cast<Ipp16s>(word);
}

int StepOf(const TQXImageBuffer& image) { return static_cast<int>(image.GetStep()); }

// Colour bytes into every pixel: an RGBA32 frame keeps its alpha (its pixels
// are kept through unsharing for it); any other frame becomes RGB24.
void FillColor(TQXImageBuffer& image, const TPixelBytes& pixel) {
  if (image.GetFormat() == vfRGBA32) {
    if (image.GetByteSize() == 0) return;
    Ipp8u* const pixels = image.Modify();
    ippiSet_8u_AC4R(pixel.data(), pixels, StepOf(image), image.GetDimSize());
    return;
  }
  image.SetFormat(vfRGB24);
  if (image.GetByteSize() == 0) return;
  Ipp8u* const pixels = image.Write();
  ippiSet_8u_C3R(pixel.data(), pixels, StepOf(image), image.GetDimSize());
}

// All four bytes into every pixel of a frame that is RGBA32.
void FillColorAlpha(TQXImageBuffer& image, const TPixelBytes& pixel) {
  if (image.GetByteSize() == 0) return;
  Ipp8u* const pixels = image.Write();
  zenthic::ippiSet_8u_C4R(pixel.data(), pixels, StepOf(image), image.GetDimSize());
}

// One byte into every pixel of a frame that is gray.
void FillGray(TQXImageBuffer& image, std::uint8_t value) {
  if (image.GetByteSize() == 0) return;
  Ipp8u* const pixels = image.Write();
  sonquo::ippiSet_8u_C1R(value, pixels, StepOf(image), image.GetDimSize());
}

// One word into every pixel of a frame that is RGB565 or RGB555.
void FillWord(TQXImageBuffer& image, Ipp16s word) {
  if (image.GetByteSize() == 0) return;
  auto* const pixels = reinterpret_cast<Ipp16s*>(image.Write());
  sonquo::ippiSet_16s_C1R(word, pixels, StepOf(image), image.GetDimSize());
}

}  // namespace

void TQXImageBuffer::SetValue(std::uint32_t color) {
  switch (FFormat) {
    case vfGrayScale:
      return FillGray(*this, QXGrayOf(color));
    case vfRGB565:
    case vfRGB555:
      return FillWord(*this, WordOf(FFormat, color));
    default:
      return FillColor(*this, PixelOf(color, 0));
  }
}

void TQXImageBuffer::SetValue(TQXPackedColor value) {
  SetFormat(vfRGBA32);
  FillColorAlpha(*this, PixelOf(value.Value, static_cast<std::uint8_t>(value.Value >> 24)));
}

void TQXImageBuffer::SetValue(std::uint8_t value) {
  if (FFormat == vfGrayScale) return FillGray(*this, value);
  FillColor(*this, {value, value, value, 0});
}

void TQXImageBuffer::SetValue(std::uint8_t value, std::uint8_t alpha) {
  if (FFormat != vfRGBA32) return SetValue(value);
  FillColorAlpha(*this, {value, value, value, alpha});
}

void TQXImageBuffer::SetValue(std::uint32_t color, std::uint8_t alpha) {
  if (FFormat != vfRGBA32) return SetValue(color);
  FillColorAlpha(*this, PixelOf(color, alpha));
}

// Alpha only: the colours are kept through unsharing (Modify).
void TQXImageBuffer::SetAlpha(std::uint8_t alpha) { SetAlphaChannel(alpha); }

void TQXImageBuffer::SetGrayScale(std::uint8_t value) {
  SetFormat(vfGrayScale);
  FillGray(*this, value);
}

void TQXImageBuffer::Zero() { SetValue(std::uint8_t{0}); }

void TQXImageBuffer::Zero(std::uint8_t alpha) { SetValue(std::uint8_t{0}, alpha); }

}  // namespace qx
