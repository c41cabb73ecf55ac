// TQXImageBuffer: pixels exchanged with the host's TBitmap and the memory
// bitmap, in 24 or 32 bits, rows top row first.
#include <cstring>

#include "host/Bitmap.h"
#include "image/QXImageBuffer.h"
#include "packages/zenthic/ZTBasicBitmap.h"

namespace qx {
namespace {

// The frame format that takes a bitmap's pixels as they are: RGBA32 for 32
// bits, RGB24 for any other depth.
TQXVideoFormat FrameFormatFor(TPixelFormat depth) { return depth == pf32bit ? vfRGBA32 : vfRGB24; }

// Makes `frame` a private frame of width x height able to take the pixels of
// a bitmap of `depth`. Returns its pixels.
std::uint8_t* PrepareFor(TQXImageBuffer& frame, int width, int height, TPixelFormat depth) {
  frame.SetImageSizeFormat(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                           FrameFormatFor(depth));
  return frame.Write();
}

// Brings `frame` to a format a bitmap holds as it is: RGBA32 stays, any other
// becomes RGB24. Returns the bitmap format of the result.
TPixelFormat ExchangeFormatOf(TQXImageBuffer& frame) {
  if (frame.GetFormat() == vfRGBA32) return pf32bit;
  frame.SetFormat(vfRGB24);
  return pf24bit;
}

// Makes `bitmap` width x height in `format` unless it is already; its
// pixels are about to be overwritten.
template <typename Bitmap>
void Reshape(Bitmap& bitmap, int width, int height, TPixelFormat format) {
  if (bitmap.GetPixelFormat() != format || bitmap.GetWidth() != width ||
      bitmap.GetHeight() != height) {
    bitmap = Bitmap(width, height, format);
  }
}

}  // namespace

TQXImageBuffer::TQXImageBuffer(const TBitmap& bitmap)
    : TQXImageBuffer(static_cast<std::uint32_t>(bitmap.GetWidth()),
                     static_cast<std::uint32_t>(bitmap.GetHeight()),
                     FrameFormatFor(bitmap.GetPixelFormat())) {
  FromBitmap(bitmap);
}

TQXImageBuffer::TQXImageBuffer(const TQXBasicBitmap& bitmap)
    : TQXImageBuffer(static_cast<std::uint32_t>(bitmap.GetWidth()),
                     static_cast<std::uint32_t>(bitmap.GetHeight()),
                     FrameFormatFor(bitmap.GetPixelFormat())) {
  FromBitmap(bitmap);
}

void TQXImageBuffer::FromBitmap(const TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  const TPixelFormat format = bitmap.GetPixelFormat();
  std::uint8_t* pixels = PrepareFor(*this, bitmap.GetWidth(), bitmap.GetHeight(), format);
  bitmap.GetDIB(pixels, static_cast<int>(FStep), format == pf32bit ? 32 : 24);
}

void TQXImageBuffer::FromBitmap(const TQXBasicBitmap& bitmap) {
  std::uint8_t* pixels =
      PrepareFor(*this, bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetPixelFormat());
  bitmap.ToBuffer(pixels, FStep);
}

void TQXImageBuffer::ToBitmap(TBitmap& bitmap) {
  const TPixelFormat format = ExchangeFormatOf(*this);
  const auto width = static_cast<int>(FWidth);
  const auto height = static_cast<int>(FHeight);
  Reshape(bitmap, width, height, format);
  const std::size_t rowBytes = std::size_t{FWidth} * FBytesPerPixel;
  if (rowBytes == 0) return;
  const std::uint8_t* rows = Read();
  for (int y = 0; y < height; ++y) {
    std::memcpy(bitmap.ScanLine(y), rows + static_cast<std::size_t>(y) * FStep, rowBytes);
  }
}

void TQXImageBuffer::ToBitmap(TQXBasicBitmap& bitmap) {
  const TPixelFormat format = ExchangeFormatOf(*this);
  Reshape(bitmap, static_cast<int>(FWidth), static_cast<int>(FHeight), format);
  bitmap.FromBuffer(Read(), FStep);
}

}  // namespace qx
