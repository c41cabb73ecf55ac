#include "host/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>

#include "host/BitmapPixels.h"

namespace qx {
namespace {

TRGBQuad QuadFromColor(std::uint32_t color) {
  return {static_cast<std::uint8_t>(color >> 16), static_cast<std::uint8_t>(color >> 8),
          static_cast<std::uint8_t>(color), 255};
}

std::uint32_t ColorFromQuad(TRGBQuad quad) {
  return quad.rgbRed | static_cast<std::uint32_t>(quad.rgbGreen) << 8 |
         static_cast<std::uint32_t>(quad.rgbBlue) << 16;
}

bool IsPalettised(TPixelFormat format) { return format <= pf8bit; }

}  // namespace

TBitmap::TBitmap(int width, int height, TPixelFormat format) : FPixelFormat(format) {
  FPalette = detail::DefaultPalette(format);
  SetSize(width, height);
}

int TBitmap::BitsPerPixel(TPixelFormat format) noexcept {
  static constexpr int kBits[] = {1, 4, 8, 16, 16, 24, 32};
  return kBits[format];
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  const std::int64_t lineBytes = detail::ScanLineBytes(width, BitsPerPixel(FPixelFormat));
  if (lineBytes > std::numeric_limits<int>::max() / 8) {
    throw EInvalidGraphic("A bitmap " + std::to_string(width) + " pixels wide is too large");
  }
  const auto stride = static_cast<int>(lineBytes);
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) *
                                   static_cast<std::size_t>(height));
  // Keep the shared top-left area. Indexed formats may keep part of a byte:
  // its bits beyond the kept pixels are cleared, as new pixels are 0.
  const int keptRows = std::min(height, FHeight);
  const int keptBits = std::min(width, FWidth) * BitsPerPixel(FPixelFormat);
  const auto keptBytes = static_cast<std::size_t>((keptBits + 7) / 8);
  for (int y = 0; y < keptRows; ++y) {
    std::uint8_t* to = pixels.data() + static_cast<std::size_t>(height - 1 - y) * stride;
    std::memcpy(to, ScanLine(y), keptBytes);
    if (keptBits % 8 != 0)
      to[keptBytes - 1] &= static_cast<std::uint8_t>(0xFF << (8 - keptBits % 8));
  }
  FWidth = width;
  FHeight = height;
  FStride = stride;
  FPixels = std::move(pixels);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == FPixelFormat) return;
  TBitmap converted(0, 0, format);
  converted.SetSize(FWidth, FHeight);
  std::vector<TRGBQuad> row(static_cast<std::size_t>(FWidth));
  for (int y = 0; y < FHeight; ++y) {
    detail::DecodeScanLine(FPixelFormat, FPalette, ScanLine(y), row);
    detail::EncodeScanLine(format, converted.FPalette, row, converted.ScanLine(y));
  }
  *this = std::move(converted);
}

void TBitmap::SetPalette(std::vector<TRGBQuad> palette) {
  if (!IsPalettised(FPixelFormat)) throw EInvalidGraphic("Only palettised bitmaps have a palette");
  if (palette.size() > (std::size_t{1} << BitsPerPixel(FPixelFormat))) {
    throw EInvalidGraphic("A palette of " + std::to_string(palette.size()) +
                          " entries is too large for " +
                          std::to_string(BitsPerPixel(FPixelFormat)) + "-bit pixels");
  }
  FPalette = std::move(palette);
}

std::uint32_t TBitmap::GetPixelColor(int x, int y) const noexcept {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  std::vector<TRGBQuad> row(static_cast<std::size_t>(x) + 1);
  detail::DecodeScanLine(FPixelFormat, FPalette, ScanLine(y), row);
  return ColorFromQuad(row.back());
}

void TBitmap::SetPixelColor(int x, int y, std::uint32_t color) noexcept {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  std::vector<TRGBQuad> row(static_cast<std::size_t>(x) + 1);
  detail::DecodeScanLine(FPixelFormat, FPalette, ScanLine(y), row);
  row.back() = QuadFromColor(color);
  if (FPixelFormat == pf32bit) row.back().rgbReserved = ScanLine(y)[4 * x + 3];
  detail::EncodeScanLine(FPixelFormat, FPalette, row, ScanLine(y));
}

bool TBitmap::GetDIB(std::uint8_t* destination, int step, int bitCount) const noexcept {
  if (destination == nullptr || (bitCount != 24 && bitCount != 32)) return false;
  const int pixelBytes = bitCount / 8;
  if (step < FWidth * pixelBytes) return false;
  std::vector<TRGBQuad> row(static_cast<std::size_t>(FWidth));
  for (int y = 0; y < FHeight; ++y) {
    detail::DecodeScanLine(FPixelFormat, FPalette, ScanLine(y), row);
    std::uint8_t* out = destination + static_cast<std::ptrdiff_t>(y) * step;
    for (const TRGBQuad& pixel : row) {
      out[0] = pixel.rgbBlue;
      out[1] = pixel.rgbGreen;
      out[2] = pixel.rgbRed;
      if (pixelBytes == 4) out[3] = pixel.rgbReserved;
      out += pixelBytes;
    }
  }
  return true;
}

void TBitmap::LoadFromFile(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) throw EFileStreamError("Cannot open file \"" + fileName + "\"");
  try {
    LoadFromStream(file);
  } catch (const EInvalidGraphic& error) {
    throw EInvalidGraphic(fileName + ": " + error.what());
  }
}

void TBitmap::SaveToFile(const std::string& fileName) const {
  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (!file) throw EFileStreamError("Cannot create file \"" + fileName + "\"");
  SaveToStream(file);
  file.close();
  if (!file) throw EFileStreamError("Cannot write file \"" + fileName + "\"");
}

}  // namespace qx
