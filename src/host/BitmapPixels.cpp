#include "host/BitmapPixels.h"

#include <limits>

namespace qx::detail {
namespace {

constexpr TRGBQuad Quad(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return {blue, green, red, 0};
}

// Indexed formats: the pixel's index within its byte, most significant first.
int IndexAt(const std::uint8_t* scanLine, int x, int bits) {
  const int perByte = 8 / bits;
  const int shift = 8 - bits * (x % perByte + 1);
  return (scanLine[x / perByte] >> shift) & ((1 << bits) - 1);
}

void SetIndexAt(std::uint8_t* scanLine, int x, int bits, int index) {
  const int perByte = 8 / bits;
  const int shift = 8 - bits * (x % perByte + 1);
  const int mask = ((1 << bits) - 1) << shift;
  std::uint8_t& byte = scanLine[x / perByte];
  byte = static_cast<std::uint8_t>((byte & ~mask) | ((index << shift) & mask));
}

std::uint16_t WordAt(const std::uint8_t* scanLine, int x) {
  return static_cast<std::uint16_t>(scanLine[2 * x] | scanLine[2 * x + 1] << 8);
}

void SetWordAt(std::uint8_t* scanLine, int x, unsigned word) {
  scanLine[2 * x] = static_cast<std::uint8_t>(word);
  scanLine[2 * x + 1] = static_cast<std::uint8_t>(word >> 8);
}

// A 5- or 6-bit field widened to a byte with its low bits zero.
std::uint8_t Field(unsigned word, int shift, int bits) {
  return static_cast<std::uint8_t>(((word >> shift) & ((1u << bits) - 1)) << (8 - bits));
}

}  // namespace

std::vector<TRGBQuad> DefaultPalette(TPixelFormat format) {
  std::vector<TRGBQuad> palette;
  switch (format) {
    case pf1bit:
      palette = {Quad(0, 0, 0), Quad(255, 255, 255)};
      break;
    case pf4bit:
      palette = {Quad(0, 0, 0),       Quad(128, 0, 0),   Quad(0, 128, 0),   Quad(128, 128, 0),
                 Quad(0, 0, 128),     Quad(128, 0, 128), Quad(0, 128, 128), Quad(192, 192, 192),
                 Quad(128, 128, 128), Quad(255, 0, 0),   Quad(0, 255, 0),   Quad(255, 255, 0),
                 Quad(0, 0, 255),     Quad(255, 0, 255), Quad(0, 255, 255), Quad(255, 255, 255)};
      break;
    case pf8bit:
      for (int level = 0; level < 256; ++level) {
        const auto v = static_cast<std::uint8_t>(level);
        palette.push_back(Quad(v, v, v));
      }
      break;
    default:
      break;
  }
  return palette;
}

std::uint8_t NearestPaletteIndex(std::span<const TRGBQuad> palette, TRGBQuad colour) {
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const int dr = palette[i].rgbRed - colour.rgbRed;
    const int dg = palette[i].rgbGreen - colour.rgbGreen;
    const int db = palette[i].rgbBlue - colour.rgbBlue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
    }
  }
  return static_cast<std::uint8_t>(best);
}

void DecodeScanLine(TPixelFormat format, std::span<const TRGBQuad> palette,
                    const std::uint8_t* scanLine, std::span<TRGBQuad> out) {
  const int width = static_cast<int>(out.size());
  for (int x = 0; x < width; ++x) {
    TRGBQuad& pixel = out[static_cast<std::size_t>(x)];
    switch (format) {
      case pf1bit:
      case pf4bit:
      case pf8bit: {
        const auto index =
            static_cast<std::size_t>(IndexAt(scanLine, x, TBitmap::BitsPerPixel(format)));
        pixel = index < palette.size() ? palette[index] : TRGBQuad{};
        pixel.rgbReserved = 255;
        break;
      }
      case pf15bit: {
        const unsigned word = WordAt(scanLine, x);
        pixel = {Field(word, 0, 5), Field(word, 5, 5), Field(word, 10, 5), 255};
        break;
      }
      case pf16bit: {
        const unsigned word = WordAt(scanLine, x);
        pixel = {Field(word, 0, 5), Field(word, 5, 6), Field(word, 11, 5), 255};
        break;
      }
      case pf24bit:
        pixel = {scanLine[3 * x], scanLine[3 * x + 1], scanLine[3 * x + 2], 255};
        break;
      case pf32bit:
        pixel = {scanLine[4 * x], scanLine[4 * x + 1], scanLine[4 * x + 2], scanLine[4 * x + 3]};
        break;
    }
  }
}

void EncodeScanLine(TPixelFormat format, std::span<const TRGBQuad> palette,
                    std::span<const TRGBQuad> in, std::uint8_t* scanLine) {
  const int width = static_cast<int>(in.size());
  for (int x = 0; x < width; ++x) {
    const TRGBQuad& pixel = in[static_cast<std::size_t>(x)];
    switch (format) {
      case pf1bit:
      case pf4bit:
      case pf8bit:
        SetIndexAt(scanLine, x, TBitmap::BitsPerPixel(format), NearestPaletteIndex(palette, pixel));
        break;
      case pf15bit:
        SetWordAt(scanLine, x,
                  (pixel.rgbRed >> 3) << 10 | (pixel.rgbGreen >> 3) << 5 | pixel.rgbBlue >> 3);
        break;
      case pf16bit:
        SetWordAt(scanLine, x,
                  (pixel.rgbRed >> 3) << 11 | (pixel.rgbGreen >> 2) << 5 | pixel.rgbBlue >> 3);
        break;
      case pf24bit:
        scanLine[3 * x] = pixel.rgbBlue;
        scanLine[3 * x + 1] = pixel.rgbGreen;
        scanLine[3 * x + 2] = pixel.rgbRed;
        break;
      case pf32bit:
        scanLine[4 * x] = pixel.rgbBlue;
        scanLine[4 * x + 1] = pixel.rgbGreen;
        scanLine[4 * x + 2] = pixel.rgbRed;
        scanLine[4 * x + 3] = pixel.rgbReserved;
        break;
    }
  }
}

}  // namespace qx::detail
