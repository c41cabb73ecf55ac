// The arithmetic of the colour kernels, one pixel (or one scalar row) at a
// time. The reference kernels are written with these; the SIMD kernels use the
// row functions for the pixels left over after their vector loops, so a row
// gives the same bytes whichever path computed each pixel.
#pragma once

#include <cmath>
#include <cstddef>

#include "dispatch/IppTypes.h"
#include "dispatch/PixelMath.h"

namespace qx::fallback::detail {

// Start of row `y` of an image whose rows are `step` bytes apart (steps may be negative).
inline const Ipp8u* RowOf(const void* image, int step, int y) {
  return static_cast<const Ipp8u*>(image) + std::ptrdiff_t{y} * step;
}
inline Ipp8u* RowOf(void* image, int step, int y) {
  return static_cast<Ipp8u*>(image) + std::ptrdiff_t{y} * step;
}

inline Ipp8u ClampToByte(int value) {
  return static_cast<Ipp8u>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// --- 4:2:2 YUV and RGB ----------------------------------------------------------------

// One pixel from its luma and the centred chroma (u, v in -128..127), in 16.16 fixed point.
inline void YuvToRgbPixel(int y, int u, int v, Ipp8u* rgb) {
  const int luma = y * 65536;
  rgb[0] = ClampToByte((luma + 74711 * v) >> 16);
  rgb[1] = ClampToByte((luma - 25821 * u - 38076 * v) >> 16);
  rgb[2] = ClampToByte((luma + 133169 * u) >> 16);
}

// Pixels [first, width) of a Y0 U Y1 V row into R, G, B bytes; `first` is even.
inline void YuvToRgbRow(const Ipp8u* yuv, Ipp8u* rgb, int first, int width) {
  if (width == 1) {  // no V in the region: the pixel's U serves for both
    YuvToRgbPixel(yuv[0], yuv[1] - 128, yuv[1] - 128, rgb);
    return;
  }
  int x = first;
  for (; x + 1 < width; x += 2) {
    const Ipp8u* pair = yuv + 2 * x;
    const int u = pair[1] - 128;
    const int v = pair[3] - 128;
    YuvToRgbPixel(pair[0], u, v, rgb + 3 * x);
    YuvToRgbPixel(pair[2], u, v, rgb + 3 * x + 3);
  }
  if (x < width)  // odd width: the last pixel borrows the V of the pair before it
    YuvToRgbPixel(yuv[2 * x], yuv[2 * x + 1] - 128, yuv[2 * x - 1] - 128, rgb + 3 * x);
}

// Luma of an R, G, B pixel in 16.16 fixed point (the weights sum to 65536).
inline int LumaFixed(const Ipp8u* rgb) { return 19595 * rgb[0] + 38470 * rgb[1] + 7471 * rgb[2]; }

// Pixels [first, width) of an R, G, B row into Y0 U Y1 V; `first` is even. An odd width
// writes only the last pixel's Y and U.
inline void RgbToYuvRow(const Ipp8u* rgb, Ipp8u* yuv, int first, int width) {
  int x = first;
  for (; x + 1 < width; x += 2) {
    const Ipp8u* p0 = rgb + 3 * x;
    const Ipp8u* p1 = p0 + 3;
    const int luma0 = LumaFixed(p0);
    const int luma1 = LumaFixed(p1);
    // Chroma from the pair's summed colour differences, rounded up to whole units.
    const int blueDiff = ((p0[2] + p1[2]) * 65536 - luma0 - luma1 + 65535) >> 16;
    const int redDiff = ((p0[0] + p1[0]) * 65536 - luma0 - luma1 + 65535) >> 16;
    Ipp8u* out = yuv + 2 * x;
    out[0] = static_cast<Ipp8u>(luma0 >> 16);
    out[1] = static_cast<Ipp8u>((blueDiff * 32244 >> 17) + 128);  // always within 16..239
    out[2] = static_cast<Ipp8u>(luma1 >> 16);
    out[3] = ClampToByte((redDiff * 57475 >> 17) + 128);
  }
  if (x < width) {
    const Ipp8u* p = rgb + 3 * x;
    const int luma = LumaFixed(p);
    const int blueDiff = (p[2] * 65536 - luma + 32767) >> 16;
    yuv[2 * x] = static_cast<Ipp8u>(luma >> 16);
    yuv[2 * x + 1] = static_cast<Ipp8u>((blueDiff * 32244 >> 16) + 128);
  }
}

// --- Gray -----------------------------------------------------------------------------

// A weight in 4.12 fixed point: trunc(w * 4096 + 0.5), limited to the 16-bit signed range
// (NaN counts as 0).
inline int GrayWeightFixed(Ipp32f weight) {
  const double scaled = static_cast<double>(weight) * 4096.0 + 0.5;
  if (std::isnan(scaled)) return 0;
  if (scaled <= -32768.0) return -32768;
  if (scaled >= 32767.0) return 32767;
  return static_cast<int>(scaled);
}

struct GrayWeights {
  int w0, w1, w2;
};

// The fixed-point weights of `coeffs`, or 0.299, 0.587, 0.114 when it is null.
inline GrayWeights GrayWeightsOf(const Ipp32f* coeffs) {
  if (coeffs == nullptr) return {1225, 2404, 467};
  return {GrayWeightFixed(coeffs[0]), GrayWeightFixed(coeffs[1]), GrayWeightFixed(coeffs[2])};
}

inline Ipp8u GrayOf(const GrayWeights& w, const Ipp8u* pixel) {
  return ClampToByte((w.w0 * pixel[0] + w.w1 * pixel[1] + w.w2 * pixel[2]) >> 12);
}

// `count` pixels of `channels` bytes (3 or 4; byte 3 is ignored) into gray bytes.
inline void GrayRow(const Ipp8u* src, Ipp8u* dst, std::ptrdiff_t count, int channels,
                    const GrayWeights& w) {
  for (std::ptrdiff_t x = 0; x < count; ++x) dst[x] = GrayOf(w, src + x * channels);
}

// --- Channel swap ---------------------------------------------------------------------

// `count` pixels of `channels` bytes: destination byte c = source byte order[c] for
// c = 0, 1, 2; a fourth byte is left alone. Safe in place.
inline void SwapRow(const Ipp8u* src, Ipp8u* dst, std::ptrdiff_t count, int channels,
                    const int* order) {
  for (std::ptrdiff_t x = 0; x < count; ++x) {
    const Ipp8u* in = src + x * channels;
    const Ipp8u c0 = in[order[0]], c1 = in[order[1]], c2 = in[order[2]];
    Ipp8u* out = dst + x * channels;
    out[0] = c0;
    out[1] = c1;
    out[2] = c2;
  }
}

// --- Colour twist ---------------------------------------------------------------------

// One twisted channel: row[0] s0 + row[1] s1 + row[2] s2 + row[3] in long double, 255 at
// or above 255, 0 at or below 0 (and for NaN), else rounded to nearest with ties to even.
inline Ipp8u TwistChannel(const Ipp32f* row, const Ipp8u* pixel) {
  const long double value = static_cast<long double>(row[0]) * pixel[0] +
                            static_cast<long double>(row[1]) * pixel[1] +
                            static_cast<long double>(row[2]) * pixel[2] + row[3];
  if (value >= 255) return 255;
  if (!(value > 0)) return 0;
  const long double half = value + 0.5L;
  int rounded = static_cast<int>(half);
  if ((rounded & 1) != 0 && rounded == half) --rounded;  // a tie went up to an odd value
  return static_cast<Ipp8u>(rounded);
}

// `count` pixels of `channels` bytes (3 or 4; byte 3 is left alone). Safe in place.
inline void TwistRow(const Ipp8u* src, Ipp8u* dst, std::ptrdiff_t count, int channels,
                     const Ipp32f (*twist)[4]) {
  for (std::ptrdiff_t x = 0; x < count; ++x) {
    const Ipp8u* in = src + x * channels;
    const Ipp8u c0 = TwistChannel(twist[0], in), c1 = TwistChannel(twist[1], in),
                c2 = TwistChannel(twist[2], in);
    Ipp8u* out = dst + x * channels;
    out[0] = c0;
    out[1] = c1;
    out[2] = c2;
  }
}

// --- Compositing ----------------------------------------------------------------------

// One composited byte: s1 over/in/... s2 with alphas a1, a2 (255 = opaque).
inline Ipp8u CompositeByte(IppiAlphaType type, unsigned s1, unsigned s2, unsigned a1, unsigned a2) {
  using pixel::Div255;
  using pixel::Saturate;
  switch (type) {
    case ippAlphaOver:
      return static_cast<Ipp8u>(Div255(s1 * a1) + Div255(Div255(s2 * a2) * (255 - a1)));
    case ippAlphaIn:
      return static_cast<Ipp8u>(Div255(Div255(s1 * a1) * a2));
    case ippAlphaOut:
      return static_cast<Ipp8u>(Div255(Div255(s1 * a1) * (255 - a2)));
    case ippAlphaATop:
      return static_cast<Ipp8u>(Div255(Div255(s1 * a1) * a2) +
                                Div255(Div255(s2 * a2) * (255 - a1)));
    case ippAlphaXor:
      return static_cast<Ipp8u>(Div255(Div255(s1 * a1) * (255 - a2)) +
                                Div255(Div255(s2 * a2) * (255 - a1)));
    case ippAlphaPlus:
      return Saturate(Div255(s1 * a1) + Div255(s2 * a2));
    case ippAlphaOverPremul:
      return Saturate(s1 + Div255(s2 * (255 - a1)));
    case ippAlphaInPremul:
      return static_cast<Ipp8u>(Div255(s1 * a2));
    case ippAlphaOutPremul:
      return static_cast<Ipp8u>(Div255(s1 * (255 - a2)));
    case ippAlphaATopPremul:
      return Saturate(Div255(s1 * a2) + Div255(s2 * (255 - a1)));
    case ippAlphaXorPremul:
      return Saturate(Div255(s1 * (255 - a2)) + Div255(s2 * (255 - a1)));
    case ippAlphaPlusPremul:
      return Saturate(s1 + s2);
  }
  return 0;  // not reached: the type is checked before any pixel is composited
}

inline bool IsPremultiplied(IppiAlphaType type) { return type >= ippAlphaOverPremul; }

// `count` bytes composited with constant alphas.
inline void CompositeConstRow(const Ipp8u* src1, const Ipp8u* src2, Ipp8u* dst,
                              std::ptrdiff_t count, Ipp8u a1, Ipp8u a2, IppiAlphaType type) {
  for (std::ptrdiff_t i = 0; i < count; ++i) dst[i] = CompositeByte(type, src1[i], src2[i], a1, a2);
}

// `count` 4-byte pixels composited by their own alphas (byte 3). The alpha byte composites
// like a colour: with the Premul types it is its own premultiplied value; otherwise it is a
// colour of full intensity (255) weighted by the alphas, which gives the same alpha.
inline void CompositePixelRow(const Ipp8u* src1, const Ipp8u* src2, Ipp8u* dst,
                              std::ptrdiff_t count, IppiAlphaType type) {
  const bool premultiplied = IsPremultiplied(type);
  for (std::ptrdiff_t x = 0; x < count; ++x) {
    const Ipp8u* p1 = src1 + 4 * x;
    const Ipp8u* p2 = src2 + 4 * x;
    const Ipp8u a1 = p1[3], a2 = p2[3];
    Ipp8u* out = dst + 4 * x;
    for (int c = 0; c < 3; ++c) out[c] = CompositeByte(type, p1[c], p2[c], a1, a2);
    out[3] =
        premultiplied ? CompositeByte(type, a1, a2, a1, a2) : CompositeByte(type, 255, 255, a1, a2);
  }
}

// --- 16-bit RGB -----------------------------------------------------------------------
//
// A layout packs a blue, green, red byte triple into a word by dropping low bits and
// unpacks it by shifting each field back up (low bits zero).

struct Rgb565 {
  static Ipp16u Pack(const Ipp8u* bgr) {
    return static_cast<Ipp16u>((bgr[2] >> 3) << 11 | (bgr[1] >> 2) << 5 | bgr[0] >> 3);
  }
  static void Unpack(Ipp16u word, Ipp8u* bgr) {
    bgr[0] = static_cast<Ipp8u>((word & 31) << 3);
    bgr[1] = static_cast<Ipp8u>(((word >> 5) & 63) << 2);
    bgr[2] = static_cast<Ipp8u>(((word >> 11) & 31) << 3);
  }
};

struct Rgb555 {
  static Ipp16u Pack(const Ipp8u* bgr) {  // bit 15 stays 0
    return static_cast<Ipp16u>((bgr[2] >> 3) << 10 | (bgr[1] >> 3) << 5 | bgr[0] >> 3);
  }
  static void Unpack(Ipp16u word, Ipp8u* bgr) {  // bit 15 is ignored
    bgr[0] = static_cast<Ipp8u>((word & 31) << 3);
    bgr[1] = static_cast<Ipp8u>(((word >> 5) & 31) << 3);
    bgr[2] = static_cast<Ipp8u>(((word >> 10) & 31) << 3);
  }
};

// `count` pixels of `Channels` bytes (3, or 4 whose alpha is ignored) into words.
template <class Layout, int Channels>
void PackRow(const Ipp8u* src, Ipp16u* dst, std::ptrdiff_t count) {
  for (std::ptrdiff_t x = 0; x < count; ++x) dst[x] = Layout::Pack(src + x * Channels);
}

// `count` words into pixels of `Channels` bytes (3, or 4 with alpha 255).
template <class Layout, int Channels>
void UnpackRow(const Ipp16u* src, Ipp8u* dst, std::ptrdiff_t count) {
  for (std::ptrdiff_t x = 0; x < count; ++x) {
    Ipp8u* out = dst + x * Channels;
    Layout::Unpack(src[x], out);
    if constexpr (Channels == 4) out[3] = 255;
  }
}

// `count` words of one layout into the other, through their colour.
template <class From, class To>
void RepackRow(const Ipp16u* src, Ipp16u* dst, std::ptrdiff_t count) {
  for (std::ptrdiff_t x = 0; x < count; ++x) {
    Ipp8u bgr[3];
    From::Unpack(src[x], bgr);
    dst[x] = To::Pack(bgr);
  }
}

}  // namespace qx::fallback::detail
