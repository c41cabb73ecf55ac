#include "packages/zenthic/ZTBasicBitmap.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace qx {
namespace {

// The two formats a basic bitmap holds; every smaller depth fits in 24 bits.
TPixelFormat SupportedFormat(TPixelFormat format) { return format == pf32bit ? pf32bit : pf24bit; }

// The pixel block of width x height pixels of `bytesPerPixel`, zeroed.
// Rows of more bytes than an int holds are refused: the host bitmap takes
// steps as ints, and shorter rows times any height fit a std::size_t.
std::vector<std::uint8_t> NewPixels(int width, int height, int bytesPerPixel) {
  const auto rowSize = static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel);
  const auto rows = static_cast<std::size_t>(height);
  if (rowSize > INT_MAX) {
    throw EInvalidGraphic("A bitmap " + std::to_string(width) + " pixels wide is too large");
  }
  return std::vector<std::uint8_t>(rowSize * rows);
}

}  // namespace

TQXBasicBitmap::TQXBasicBitmap(int width, int height, TPixelFormat format)
    : FWidth(std::max(width, 0)),
      FHeight(std::max(height, 0)),
      FPixelFormat(SupportedFormat(format)),
      FPixels(NewPixels(FWidth, FHeight, GetBytesPerPixel())) {}

TQXBasicBitmap::TQXBasicBitmap(int width, int height, std::uint32_t color, std::uint8_t alpha)
    : TQXBasicBitmap(width, height, pf32bit) {
  const std::uint8_t pixel[4] = {static_cast<std::uint8_t>(color >> 16),
                                 static_cast<std::uint8_t>(color >> 8),
                                 static_cast<std::uint8_t>(color), alpha};
  for (std::size_t i = 0; i < FPixels.size(); i += 4) std::memcpy(&FPixels[i], pixel, 4);
}

TQXBasicBitmap::TQXBasicBitmap(const TBitmap& bitmap)
    : TQXBasicBitmap(bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetPixelFormat()) {
  if (!Empty()) {
    bitmap.GetDIB(FPixels.data(), static_cast<int>(GetRowSize()), 8 * GetBytesPerPixel());
  }
}

std::size_t TQXBasicBitmap::GetRowSize() const noexcept {
  return static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(GetBytesPerPixel());
}

void TQXBasicBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  TQXBasicBitmap resized(width, height, FPixelFormat);
  const int keptRows = std::min(height, FHeight);
  const std::size_t keptBytes = std::min(resized.GetRowSize(), GetRowSize());
  if (keptBytes != 0) {
    for (int y = 0; y < keptRows; ++y) std::memcpy(resized.ScanLine(y), ScanLine(y), keptBytes);
  }
  *this = std::move(resized);
}

void TQXBasicBitmap::SetPixelFormat(TPixelFormat format) {
  format = SupportedFormat(format);
  if (format == FPixelFormat) return;
  TQXBasicBitmap converted(FWidth, FHeight, format);
  const int fromBytes = GetBytesPerPixel();
  const int toBytes = converted.GetBytesPerPixel();
  const std::size_t pixels = static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight);
  for (std::size_t i = 0; i < pixels; ++i) {
    std::uint8_t* to = &converted.FPixels[i * toBytes];
    std::memcpy(to, &FPixels[i * fromBytes], 3);
    if (toBytes == 4) to[3] = 255;
  }
  *this = std::move(converted);
}

std::uint8_t* TQXBasicBitmap::PixelAddress(int x, int y) noexcept {
  return ScanLine(y) + static_cast<std::size_t>(x) * GetBytesPerPixel();
}

const std::uint8_t* TQXBasicBitmap::PixelAddress(int x, int y) const noexcept {
  return ScanLine(y) + static_cast<std::size_t>(x) * GetBytesPerPixel();
}

std::uint32_t TQXBasicBitmap::GetPixel(int x, int y) const noexcept {
  if (!Contains(x, y)) return 0;
  const std::uint8_t* pixel = PixelAddress(x, y);
  return std::uint32_t{pixel[2]} | std::uint32_t{pixel[1]} << 8 | std::uint32_t{pixel[0]} << 16;
}

void TQXBasicBitmap::SetPixel(int x, int y, std::uint32_t color) noexcept {
  if (!Contains(x, y)) return;
  std::uint8_t* pixel = PixelAddress(x, y);
  pixel[0] = static_cast<std::uint8_t>(color >> 16);
  pixel[1] = static_cast<std::uint8_t>(color >> 8);
  pixel[2] = static_cast<std::uint8_t>(color);
}

std::uint8_t TQXBasicBitmap::GetAlpha(int x, int y) const noexcept {
  if (!Contains(x, y)) return 0;
  return FPixelFormat == pf32bit ? PixelAddress(x, y)[3] : 255;
}

void TQXBasicBitmap::SetAlpha(int x, int y, std::uint8_t alpha) noexcept {
  if (FPixelFormat == pf32bit && Contains(x, y)) PixelAddress(x, y)[3] = alpha;
}

bool TQXBasicBitmap::ToBuffer(void* block, std::size_t step) const noexcept {
  const std::size_t rowSize = GetRowSize();
  if (block == nullptr || step < rowSize) return false;
  if (rowSize == 0) return true;
  auto* rows = static_cast<std::uint8_t*>(block);
  for (int y = 0; y < FHeight; ++y)
    std::memcpy(rows + static_cast<std::size_t>(y) * step, ScanLine(y), rowSize);
  return true;
}

bool TQXBasicBitmap::FromBuffer(const void* block, std::size_t step) noexcept {
  const std::size_t rowSize = GetRowSize();
  if (block == nullptr || step < rowSize) return false;
  if (rowSize == 0) return true;
  const auto* rows = static_cast<const std::uint8_t*>(block);
  for (int y = 0; y < FHeight; ++y)
    std::memcpy(ScanLine(y), rows + static_cast<std::size_t>(y) * step, rowSize);
  return true;
}

}  // namespace qx
