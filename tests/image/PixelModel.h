// An independent model of the frame layouts, conversions and operations:
// plain per-pixel formulas with floor divisions and floating point instead of
// the kernels' shifts and tables, and the checks the image suites share.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <random>
#include <utility>
#include <vector>

#include "image/QXImageBuffer.h"

namespace qx {

// Formats print by name in test messages and parameter lists.
inline void PrintTo(TQXVideoFormat format, std::ostream* out) {
  static const char* const names[] = {"vfRGB24",  "vfYUY2",   "vfUYVY",      "vfRGBA32",
                                      "vfRGB565", "vfRGB555", "vfGrayScale", "vfRGB"};
  *out << (format <= vfRGB ? names[format] : "TQXVideoFormat(?)");
}

}  // namespace qx

namespace qx::test {

struct TRGB {
  int r = 0;
  int g = 0;
  int b = 0;
};

inline std::uint32_t ToColor(TRGB c) {
  return static_cast<std::uint32_t>(c.r) | static_cast<std::uint32_t>(c.g) << 8 |
         static_cast<std::uint32_t>(c.b) << 16;
}

inline TRGB ColourOf(std::uint32_t color) {
  return {int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF)};
}

inline int Clamp255(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, 255)); }

// floor(n / d) for any sign of n (d > 0).
inline long long FloorDiv(long long n, long long d) {
  return static_cast<long long>(std::floor(static_cast<double>(n) / static_cast<double>(d)));
}

inline int BytesPerPixelOf(TQXVideoFormat f) {
  if (f == vfRGBA32) return 4;
  if (f == vfGrayScale) return 1;
  return f == vfRGB24 || f == vfRGB ? 3 : 2;
}

// Row step in bytes: RGB rows padded to whole multiples of 4 pixels.
inline int StepOf(TQXVideoFormat f, int width) {
  const int bpp = BytesPerPixelOf(f);
  return bpp == 3 ? (width + 3) / 4 * 4 * 3 : width * bpp;
}

// 4:2:2 to colour for one pixel with luma y and chroma u, v (all 0..255).
inline TRGB YUVToRGB(int y, int u, int v) {
  const long long Y = y * 65536LL, cu = u - 128, cv = v - 128;
  return {Clamp255(FloorDiv(Y + 74711 * cv, 65536)),
          Clamp255(FloorDiv(Y - 25821 * cu - 38076 * cv, 65536)),
          Clamp255(FloorDiv(Y + 133169 * cu, 65536))};
}

inline long long Luma65536(TRGB c) { return 19595LL * c.r + 38470LL * c.g + 7471LL * c.b; }

// Gray as the conversions compute it: weights 0.114, 0.587, 0.299 in 1/4096,
// rounded to the nearest 1/4096 (467, 2404, 1225), the sum truncated.
inline int FixedPointGray(TRGB c) {
  return static_cast<int>((467 * c.b + 2404 * c.g + 1225 * c.r) / 4096);
}

// round(0.299 R + 0.587 G + 0.114 B), ties to even (exact halves divide exactly).
inline int RoundedGray(TRGB c) {
  return static_cast<int>(std::nearbyint((299 * c.r + 587 * c.g + 114 * c.b) / 1000.0));
}

// The raw bytes of frame pixel (x, y) start at y * step + x * bytes per pixel.
inline std::vector<TRGB> Decode(TQXVideoFormat f, const std::uint8_t* data, int width, int height) {
  std::vector<TRGB> pixels;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = data + static_cast<std::ptrdiff_t>(y) * StepOf(f, width);
    for (int x = 0; x < width; ++x) {
      const int bpp = BytesPerPixelOf(f);
      if (f == vfGrayScale) {
        pixels.push_back({row[x], row[x], row[x]});
      } else if (bpp >= 3) {
        pixels.push_back({row[bpp * x + 2], row[bpp * x + 1], row[bpp * x]});
      } else if (f == vfRGB565 || f == vfRGB555) {
        const int word = row[2 * x] + 256 * row[2 * x + 1];
        pixels.push_back(f == vfRGB565
                             ? TRGB{(word / 2048) % 32 * 8, (word / 32) % 64 * 4, word % 32 * 8}
                             : TRGB{(word / 1024) % 32 * 8, (word / 32) % 32 * 8, word % 32 * 8});
      } else {
        // Byte roles within a two-pixel group; a lone last pixel borrows the
        // preceding pair's V, and a one-pixel row has only its U.
        const bool yuy2 = f == vfYUY2;
        const int pair = x / 2 * 4, uAt = pair + (yuy2 ? 1 : 0), vAt = pair + (yuy2 ? 3 : 2);
        const int luma = row[2 * x + (yuy2 ? 0 : 1)];
        const bool lone = x == width - 1 && width % 2 == 1;
        const int v = width == 1 ? row[uAt] : lone ? row[vAt - 4] : row[vAt];
        pixels.push_back(YUVToRGB(luma, row[uAt], v));
      }
    }
  }
  return pixels;
}

// Raw bytes of a frame of `pixels` (row padding zero).
inline std::vector<std::uint8_t> Encode(TQXVideoFormat f, const std::vector<TRGB>& pixels,
                                        int width, int height) {
  const int step = StepOf(f, width), bpp = BytesPerPixelOf(f);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(step) * height);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = data.data() + static_cast<std::ptrdiff_t>(y) * step;
    const TRGB* line = pixels.data() + static_cast<std::ptrdiff_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      const TRGB c = line[x];
      if (f == vfGrayScale) {
        row[x] = static_cast<std::uint8_t>(FixedPointGray(c));
      } else if (bpp >= 3) {
        row[bpp * x] = c.b, row[bpp * x + 1] = c.g, row[bpp * x + 2] = c.r;
        if (bpp == 4) row[4 * x + 3] = 255;
      } else if (f == vfRGB565 || f == vfRGB555) {
        const int word = f == vfRGB565 ? c.r / 8 * 2048 + c.g / 4 * 32 + c.b / 8
                                       : c.r / 8 * 1024 + c.g / 8 * 32 + c.b / 8;
        row[2 * x] = static_cast<std::uint8_t>(word % 256);
        row[2 * x + 1] = static_cast<std::uint8_t>(word / 256);
      } else if (x % 2 == 0) {
        // A pair's chroma from both pixels; a lone last pixel has only U.
        const bool pair = x + 1 < width;
        const TRGB d = pair ? line[x + 1] : c;
        std::uint8_t group[4];
        group[0] = static_cast<std::uint8_t>(FloorDiv(Luma65536(c), 65536));
        group[2] = static_cast<std::uint8_t>(FloorDiv(Luma65536(d), 65536));
        const long long chroma =
            pair ? -Luma65536(c) - Luma65536(d) + 65535 : -Luma65536(c) + 32767;
        const long long bDiff = FloorDiv((c.b + (pair ? d.b : 0)) * 65536LL + chroma, 65536);
        const long long rDiff = FloorDiv((c.r + d.r) * 65536LL + chroma, 65536);
        group[1] = static_cast<std::uint8_t>(FloorDiv(bDiff * 32244, pair ? 131072 : 65536) + 128);
        group[3] = static_cast<std::uint8_t>(Clamp255(FloorDiv(rDiff * 57475, 131072) + 128));
        for (int i = 0; i < (pair ? 4 : 2); ++i) {
          // UYVY holds the same words with their two bytes exchanged.
          row[2 * x + (f == vfYUY2 ? i : i ^ 1)] = group[i];
        }
      }
    }
  }
  return data;
}

// The colour a pixel of colour `c` has once stored in format `f`.
inline TRGB AsIn(TQXVideoFormat f, TRGB c) {
  return Decode(f, Encode(f, {c}, 1, 1).data(), 1, 1)[0];
}

// Random raw bytes of a frame (padding included).
inline std::vector<std::uint8_t> RandomFrame(TQXVideoFormat f, int width, int height,
                                             std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(StepOf(f, width)) * height);
  for (auto& byte : data) byte = static_cast<std::uint8_t>(random());
  return data;
}

inline TRefPtr<TQXImageBuffer> RandomImage(TQXVideoFormat format, int width, int height,
                                           std::uint32_t seed) {
  const std::vector<std::uint8_t> bytes = RandomFrame(format, width, height, seed);
  return MakeRef<TQXImageBuffer>(bytes.data(), width, height, format);
}

// The pixel bytes of a frame laid out in `f`, row after row, without row padding.
inline std::vector<std::uint8_t> Unpadded(TQXVideoFormat f, const std::uint8_t* data, int width,
                                          int height) {
  std::vector<std::uint8_t> bytes;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = data + static_cast<std::ptrdiff_t>(y) * StepOf(f, width);
    bytes.insert(bytes.end(), row, row + width * BytesPerPixelOf(f));
  }
  return bytes;
}

inline std::vector<std::uint8_t> PixelBytes(const IQXImageBuffer& frame) {
  return Unpadded(frame.GetFormat(), frame.Read(), static_cast<int>(frame.GetWidth()),
                  static_cast<int>(frame.GetHeight()));
}

inline constexpr TQXVideoFormat kAllFormats[] = {vfRGB24,  vfYUY2,   vfUYVY,      vfRGBA32,
                                                 vfRGB565, vfRGB555, vfGrayScale, vfRGB};

// A private copy of `frame` converted to `format`.
inline TRefPtr<TQXImageBuffer> Snapshot(const TQXImageBuffer& frame, TQXVideoFormat format) {
  auto copy = MakeRef<TQXImageBuffer>(frame);
  copy->SetFormat(format);
  copy->Modify();
  return copy;
}

// Expects every pixel (x, y) of `frame` to have the colour and alpha that
// `expected(x, y)` gives.
template <class Expected>
void ExpectPixels(const IQXImageBuffer& frame, Expected expected) {
  for (std::uint32_t y = 0; y < frame.GetHeight(); ++y) {
    for (std::uint32_t x = 0; x < frame.GetWidth(); ++x) {
      const auto [colour, alpha] = expected(x, y);
      ASSERT_EQ(frame.GetPixel(x, y), ToColor(colour)) << x << ", " << y;
      ASSERT_EQ(frame.GetAlpha(x, y), alpha) << x << ", " << y;
    }
  }
}

// A second holder of a frame's storage, which must keep its format and pixels
// (as must the frame itself when an operation only reads it).
class THeld {
 public:
  explicit THeld(const TQXImageBuffer& frame)
      : FHolder(MakeRef<TQXImageBuffer>(frame)),
        FFormat(frame.GetFormat()),
        FBytes(PixelBytes(frame)) {}

  void ExpectKept() const { ExpectKeptBy(*FHolder); }

  void ExpectKeptBy(const IQXImageBuffer& frame) const {
    EXPECT_EQ(frame.GetFormat(), FFormat);
    EXPECT_EQ(PixelBytes(frame), FBytes);
  }

 private:
  TRefPtr<TQXImageBuffer> FHolder;
  TQXVideoFormat FFormat;
  std::vector<std::uint8_t> FBytes;
};

// Expects `result` to hold formula(mine, operand) per channel over the region
// they share, as its format stores it, and `mine` elsewhere; alpha is
// `mine`'s, or combined too when `withAlpha` and `result` holds alpha.
template <class Formula>
void ExpectCombined(const IQXImageBuffer& result, const IQXImageBuffer& mine,
                    const IQXImageBuffer& operand, Formula formula, bool withAlpha = false) {
  ExpectPixels(result, [&](std::uint32_t x, std::uint32_t y) {
    TRGB colour = ColourOf(mine.GetPixel(x, y));
    int alpha = mine.GetAlpha(x, y);
    if (x < operand.GetWidth() && y < operand.GetHeight()) {
      const TRGB o = ColourOf(operand.GetPixel(x, y));
      colour = AsIn(result.GetFormat(),
                    {formula(colour.r, o.r), formula(colour.g, o.g), formula(colour.b, o.b)});
      if (withAlpha && result.GetFormat() == vfRGBA32) {
        alpha = formula(alpha, operand.GetAlpha(x, y));
      }
    }
    return std::pair(colour, alpha);
  });
}

// x / 2 to the nearest integer, an exact half to the even one.
inline int HalfEven(double x) { return static_cast<int>(std::nearbyint(x / 2)); }

inline int AtMost255(int x) { return x > 255 ? 255 : x; }

}  // namespace qx::test
