// TQXBasicBitmap: a picture held in plain memory, the signal package's
// partner of the host's TBitmap for exchanging pixels with frames.
//
// A bitmap has a width, a height and one of two pixel formats:
//   pf24bit  three bytes per pixel: blue, green, red
//   pf32bit  four bytes per pixel: blue, green, red, alpha
// Rows are stored top row first with no padding: row y starts
// y x GetRowSize() bytes after row 0. Asking for any other TPixelFormat gives
// pf24bit, which holds every colour the smaller formats can express.
//
// Colours are colour references: red in bits 0-7, green in 8-15, blue in
// 16-23 (the top byte is ignored).
//
//   TQXBasicBitmap picture(5, 3, 0x0000FF, 128);  // pf32bit, red, half transparent
//   picture.SetPixel(4, 2, 0x00FF00);             // green
//   std::vector<std::uint8_t> block(picture.GetHeight() * 32);
//   picture.ToBuffer(block.data(), 32);   // 3 rows of 20 bytes, 32 bytes apart
//
// A bitmap is a value: copies own their pixels. Sizes below zero count as 0;
// a size too large to address raises EInvalidGraphic (host/Bitmap.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/Bitmap.h"

namespace qx {

class TQXBasicBitmap {
 public:
  // An empty bitmap (0 x 0) in pf24bit.
  TQXBasicBitmap() = default;
  // A black bitmap of width x height; in pf32bit its alpha is 0.
  TQXBasicBitmap(int width, int height, TPixelFormat format = pf24bit);
  // A pf32bit bitmap of width x height, every pixel `color` with `alpha`.
  TQXBasicBitmap(int width, int height, std::uint32_t color, std::uint8_t alpha);
  // The pixels of `bitmap`, whatever its depth: pf32bit keeps its fourth
  // bytes as alpha, every other depth becomes pf24bit.
  explicit TQXBasicBitmap(const TBitmap& bitmap);

  int GetWidth() const noexcept { return FWidth; }
  int GetHeight() const noexcept { return FHeight; }
  bool Empty() const noexcept { return FWidth == 0 || FHeight == 0; }
  // Resizing keeps the pixels of the area old and new sizes share (measured
  // from the top-left corner); new pixels are 0.
  void SetWidth(int width) { SetSize(width, FHeight); }
  void SetHeight(int height) { SetSize(FWidth, height); }
  void SetSize(int width, int height);

  TPixelFormat GetPixelFormat() const noexcept { return FPixelFormat; }
  // Converts the pixels: to pf32bit with alpha 255, to pf24bit dropping alpha.
  void SetPixelFormat(TPixelFormat format);
  // 3 or 4.
  int GetBytesPerPixel() const noexcept { return FPixelFormat == pf32bit ? 4 : 3; }
  // Width x bytes per pixel: the bytes of one row.
  std::size_t GetRowSize() const noexcept;

  // Row y, y = 0 being the top row. Requires 0 <= y < height.
  std::uint8_t* ScanLine(int y) noexcept { return FPixels.data() + RowOffset(y); }
  const std::uint8_t* ScanLine(int y) const noexcept { return FPixels.data() + RowOffset(y); }

  // Pixel (x, y) as a colour reference; outside the bitmap, 0.
  std::uint32_t GetPixel(int x, int y) const noexcept;
  // Sets the colour of pixel (x, y), keeping its alpha; outside the bitmap
  // it does nothing.
  void SetPixel(int x, int y, std::uint32_t color) noexcept;
  // The alpha of pixel (x, y): 255 in pf24bit; outside the bitmap, 0.
  std::uint8_t GetAlpha(int x, int y) const noexcept;
  // Sets the alpha of pixel (x, y) of a pf32bit bitmap; does nothing in
  // pf24bit or outside the bitmap.
  void SetAlpha(int x, int y, std::uint8_t alpha) noexcept;

  // Writes the pixels into `block` as GetHeight() rows of GetRowSize() bytes
  // in this bitmap's format, top row first, each row `step` bytes after the
  // previous one; bytes between rows are left as they are. Returns false,
  // writing nothing, when `block` is null or `step` is shorter than a row.
  bool ToBuffer(void* block, std::size_t step) const noexcept;
  // Reads the pixels from `block`, laid out as ToBuffer writes them. Returns
  // false, changing nothing, when `block` is null or `step` is shorter than a row.
  bool FromBuffer(const void* block, std::size_t step) noexcept;

  // Same size, format and pixels.
  friend bool operator==(const TQXBasicBitmap&, const TQXBasicBitmap&) = default;

 private:
  std::size_t RowOffset(int y) const noexcept { return static_cast<std::size_t>(y) * GetRowSize(); }
  bool Contains(int x, int y) const noexcept {
    return x >= 0 && y >= 0 && x < FWidth && y < FHeight;
  }
  std::uint8_t* PixelAddress(int x, int y) noexcept;
  const std::uint8_t* PixelAddress(int x, int y) const noexcept;

  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FPixelFormat = pf24bit;
  std::vector<std::uint8_t> FPixels;  // top row first, rows of GetRowSize() bytes
};

}  // namespace qx
