// An independent model of the frame layouts and conversions, for checking
// storage classes and image buffers: plain per-pixel formulas, written with
// floor divisions instead of the kernels' shifts and tables.
//
// A frame is modelled as its pixels' colours (red, green, blue); `Decode`
// reads raw frame bytes into colours and `Encode` writes colours as raw
// bytes, each format by its own definition.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <random>
#include <vector>

#include "image/QXVideoFormat.h"

namespace qx {

// Formats print by name in test messages and parameter lists.
inline void PrintTo(TQXVideoFormat format, std::ostream* out) {
  static const char* const names[] = {"vfRGB24",  "vfYUY2",   "vfUYVY",      "vfRGBA32",
                                      "vfRGB565", "vfRGB555", "vfGrayScale", "vfRGB"};
  if (format <= vfRGB) {
    *out << names[format];
  } else {
    *out << "TQXVideoFormat(" << int(format) << ")";
  }
}

}  // namespace qx

namespace qx::test {

struct TRGB {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const TRGB&, const TRGB&) = default;
};

inline std::uint32_t ToColor(TRGB c) {
  return static_cast<std::uint32_t>(c.r) | static_cast<std::uint32_t>(c.g) << 8 |
         static_cast<std::uint32_t>(c.b) << 16;
}

inline int Clamp255(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, 255)); }

// floor(n / d) for any sign of n (d > 0).
inline long long FloorDiv(long long n, long long d) {
  return static_cast<long long>(std::floor(static_cast<double>(n) / static_cast<double>(d)));
}

inline int BytesPerPixelOf(TQXVideoFormat f) {
  switch (f) {
    case vfRGBA32:
      return 4;
    case vfGrayScale:
      return 1;
    case vfRGB24:
    case vfRGB:
      return 3;
    default:
      return 2;
  }
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

// round(0.299 R + 0.587 G + 0.114 B), ties to even, in exact integers.
inline int RoundedGray(TRGB c) {
  const int thousandths = 299 * c.r + 587 * c.g + 114 * c.b;
  int q = thousandths / 1000;
  const int rest = thousandths % 1000;
  if (rest > 500 || (rest == 500 && q % 2 == 1)) ++q;
  return q;
}

// The raw bytes of frame pixel (x, y) start at y * step + x * bytes per pixel.
inline std::vector<TRGB> Decode(TQXVideoFormat f, const std::uint8_t* data, int width, int height) {
  const int step = StepOf(f, width);
  std::vector<TRGB> pixels;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = data + static_cast<std::ptrdiff_t>(y) * step;
    for (int x = 0; x < width; ++x) {
      switch (f) {
        case vfRGB24:
        case vfRGB:
          pixels.push_back({row[3 * x + 2], row[3 * x + 1], row[3 * x]});
          break;
        case vfRGBA32:
          pixels.push_back({row[4 * x + 2], row[4 * x + 1], row[4 * x]});
          break;
        case vfGrayScale:
          pixels.push_back({row[x], row[x], row[x]});
          break;
        case vfRGB565:
        case vfRGB555: {
          const int word = row[2 * x] + 256 * row[2 * x + 1];
          if (f == vfRGB565) {
            pixels.push_back({(word / 2048) % 32 * 8, (word / 32) % 64 * 4, word % 32 * 8});
          } else {
            pixels.push_back({(word / 1024) % 32 * 8, (word / 32) % 32 * 8, word % 32 * 8});
          }
          break;
        }
        case vfYUY2:
        case vfUYVY: {
          // Byte roles within a two-pixel group.
          const bool yuy2 = f == vfYUY2;
          const int yAt = yuy2 ? 0 : 1, uAt = yuy2 ? 1 : 0, vAt = yuy2 ? 3 : 2;
          const int pair = x / 2 * 4;
          const int luma = row[2 * x + yAt];
          const int u = row[pair + uAt];
          int v;
          if (width == 1) {
            v = u;  // no V belongs to a one-pixel row
          } else if (x == width - 1 && width % 2 == 1) {
            v = row[pair - 4 + vAt];  // the lone last pixel borrows the preceding pair's V
          } else {
            v = row[pair + vAt];
          }
          pixels.push_back(YUVToRGB(luma, u, v));
          break;
        }
      }
    }
  }
  return pixels;
}

// Raw bytes of a frame of `pixels` (row padding zero).
inline std::vector<std::uint8_t> Encode(TQXVideoFormat f, const std::vector<TRGB>& pixels,
                                        int width, int height) {
  const int step = StepOf(f, width);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(step) * height);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = data.data() + static_cast<std::ptrdiff_t>(y) * step;
    const TRGB* line = pixels.data() + static_cast<std::ptrdiff_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      const TRGB c = line[x];
      switch (f) {
        case vfRGB24:
        case vfRGB:
          row[3 * x] = c.b, row[3 * x + 1] = c.g, row[3 * x + 2] = c.r;
          break;
        case vfRGBA32:
          row[4 * x] = c.b, row[4 * x + 1] = c.g, row[4 * x + 2] = c.r, row[4 * x + 3] = 255;
          break;
        case vfGrayScale:
          row[x] = static_cast<std::uint8_t>(FixedPointGray(c));
          break;
        case vfRGB565:
        case vfRGB555: {
          const int word = f == vfRGB565 ? c.r / 8 * 2048 + c.g / 4 * 32 + c.b / 8
                                         : c.r / 8 * 1024 + c.g / 8 * 32 + c.b / 8;
          row[2 * x] = static_cast<std::uint8_t>(word % 256);
          row[2 * x + 1] = static_cast<std::uint8_t>(word / 256);
          break;
        }
        case vfYUY2:
        case vfUYVY: {
          if (x % 2 == 1) break;  // written with its pair
          std::uint8_t group[4];
          group[0] = static_cast<std::uint8_t>(FloorDiv(Luma65536(c), 65536));
          if (x + 1 < width) {
            const TRGB d = line[x + 1];
            group[2] = static_cast<std::uint8_t>(FloorDiv(Luma65536(d), 65536));
            const long long chroma = -Luma65536(c) - Luma65536(d) + 65535;
            const long long bDiff = FloorDiv((c.b + d.b) * 65536LL + chroma, 65536);
            const long long rDiff = FloorDiv((c.r + d.r) * 65536LL + chroma, 65536);
            group[1] = static_cast<std::uint8_t>(FloorDiv(bDiff * 32244, 131072) + 128);
            group[3] = static_cast<std::uint8_t>(Clamp255(FloorDiv(rDiff * 57475, 131072) + 128));
          } else {
            const long long bDiff = FloorDiv(c.b * 65536LL - Luma65536(c) + 32767, 65536);
            group[1] = static_cast<std::uint8_t>(FloorDiv(bDiff * 32244, 65536) + 128);
          }
          const int bytes = x + 1 < width ? 4 : 2;
          for (int i = 0; i < bytes; ++i) {
            // UYVY holds the same words with their two bytes exchanged.
            row[2 * x + (f == vfYUY2 ? i : i ^ 1)] = group[i];
          }
          break;
        }
      }
    }
  }
  return data;
}

// Random raw bytes of a frame (padding included).
inline std::vector<std::uint8_t> RandomFrame(TQXVideoFormat f, int width, int height,
                                             std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(StepOf(f, width)) * height);
  for (auto& byte : data) byte = static_cast<std::uint8_t>(random());
  return data;
}

// Pixel bytes of row y, without its padding.
inline std::vector<std::uint8_t> RowBytes(TQXVideoFormat f, const std::uint8_t* data, int width,
                                          int y) {
  const std::uint8_t* row = data + static_cast<std::ptrdiff_t>(y) * StepOf(f, width);
  return {row, row + width * BytesPerPixelOf(f)};
}

}  // namespace qx::test
