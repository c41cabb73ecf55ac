// TBitmap: a device-independent bitmap held in memory.
//
// A bitmap has a width, a height and a pixel format of 1, 4, 8, 15, 16, 24
// or 32 bits per pixel. Its pixels are kept as a BMP file keeps them: rows
// ("scan lines") padded to a multiple of 4 bytes, stored bottom-up. Scan line
// 0 is nevertheless always the TOP row: `ScanLine(y)` hides the storage order.
//
// Pixel layouts within a scan line:
//   pf1bit, pf4bit, pf8bit  palette indices, the leftmost pixel in the most
//                           significant bits of a byte
//   pf15bit                 little-endian 16-bit words: bits 10-14 red, 5-9 green,
//                           0-4 blue, bit 15 zero
//   pf16bit                 little-endian 16-bit words: bits 11-15 red, 5-10 green,
//                           0-4 blue
//   pf24bit                 bytes blue, green, red
//   pf32bit                 bytes blue, green, red, alpha (or unused)
//
// The palettised formats carry a palette of at most 2^bits entries; a new
// palette is gray levels for pf8bit, the sixteen standard colours for pf4bit
// and black and white for pf1bit.
//
// Files: `LoadFromFile` / `LoadFromStream` read BMP files with a core (12
// byte), info (40), V4 (108) or V5 (124) header, of every depth above,
// uncompressed or with bit-field masks, stored bottom-up or top-down. 16-bit
// files with masks other than 5-5-5 and 5-6-5, and 32-bit files with masks
// other than blue-green-red-alpha bytes, are decoded into pf24bit and pf32bit
// bitmaps. Run-length encoded and embedded JPEG/PNG files are refused.
// A malformed or truncated file raises `EInvalidGraphic` and leaves the
// bitmap as it was; a file that cannot be opened or written raises
// `EFileStreamError`. `SaveToFile` / `SaveToStream` write a bottom-up BMP with
// an info header (bit-field masks for pf16bit).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "host/Exceptions.h"

namespace qx {

enum TPixelFormat : std::uint8_t { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// One palette entry, in BMP order.
struct TRGBQuad {
  std::uint8_t rgbBlue = 0;
  std::uint8_t rgbGreen = 0;
  std::uint8_t rgbRed = 0;
  std::uint8_t rgbReserved = 0;

  friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};

// A picture could not be read: not a BMP file, a malformed or truncated one,
// or a kind of BMP this class does not read.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

// A bitmap file could not be opened, read or written.
class EFileStreamError : public Exception {
 public:
  using Exception::Exception;
};

class TBitmap {
 public:
  // An empty bitmap (0 x 0) in pf24bit.
  TBitmap() = default;
  TBitmap(int width, int height, TPixelFormat format = pf24bit);

  int GetWidth() const noexcept { return FWidth; }
  int GetHeight() const noexcept { return FHeight; }
  // True while the bitmap has no pixels (width or height 0).
  bool Empty() const noexcept { return FWidth == 0 || FHeight == 0; }

  // Resizing keeps the pixels of the area old and new sizes share (measured
  // from the top-left corner); new pixels are 0. Negative sizes count as 0.
  void SetWidth(int width) { SetSize(width, FHeight); }
  void SetHeight(int height) { SetSize(FWidth, height); }
  void SetSize(int width, int height);

  TPixelFormat GetPixelFormat() const noexcept { return FPixelFormat; }
  // Converts the pixels to `format`. Converting to a palettised format maps
  // each colour to the nearest entry of that format's palette.
  void SetPixelFormat(TPixelFormat format);
  static int BitsPerPixel(TPixelFormat format) noexcept;

  // The palette of a palettised bitmap; empty for the other formats.
  const std::vector<TRGBQuad>& GetPalette() const noexcept { return FPalette; }
  // Replaces the palette (at most 2^bits entries; only palettised formats).
  void SetPalette(std::vector<TRGBQuad> palette);

  // Bytes per scan line, including the padding to a multiple of 4.
  int GetScanLineSize() const noexcept { return FStride; }
  // Scan line y, y = 0 being the top row. Requires 0 <= y < height.
  std::uint8_t* ScanLine(int y) noexcept { return RowAddress(y); }
  const std::uint8_t* ScanLine(int y) const noexcept { return RowAddress(y); }

  // Pixel (x, y) as a colour reference (red in the low byte, then green and
  // blue), whatever the format; outside the bitmap, 0.
  std::uint32_t GetPixelColor(int x, int y) const noexcept;
  // Sets pixel (x, y) to the colour; palettised formats take the nearest
  // palette entry. Outside the bitmap it does nothing.
  void SetPixelColor(int x, int y, std::uint32_t color) noexcept;

  // Copies the pixels, top row first, into `destination` as rows of 24-bit
  // (blue, green, red) or 32-bit (blue, green, red, alpha) pixels, each row
  // `step` bytes after the previous one. Every depth is converted; a 32-bit
  // bitmap gives its fourth bytes as they are, the others give alpha 255.
  // Returns false, writing nothing, when `bitCount` is not 24 or 32, the step
  // is shorter than a row or the destination is null.
  bool GetDIB(std::uint8_t* destination, int step, int bitCount) const noexcept;

  void LoadFromStream(std::istream& stream);
  void LoadFromFile(const std::string& fileName);
  void SaveToStream(std::ostream& stream) const;
  void SaveToFile(const std::string& fileName) const;

 private:
  std::uint8_t* RowAddress(int y) const noexcept {
    return const_cast<std::uint8_t*>(FPixels.data()) +
           static_cast<std::size_t>(FHeight - 1 - y) * static_cast<std::size_t>(FStride);
  }

  int FWidth = 0;
  int FHeight = 0;
  int FStride = 0;
  TPixelFormat FPixelFormat = pf24bit;
  std::vector<TRGBQuad> FPalette;
  std::vector<std::uint8_t> FPixels;  // bottom-up scan lines
};

}  // namespace qx
