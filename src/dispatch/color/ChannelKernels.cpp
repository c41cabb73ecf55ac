// SIMD kernels that rearrange or recombine the channels of a pixel: the
// channel swaps and the colour twist.
//
// 3-byte swaps build each output vector from up to three loads shifted by the
// distance between a destination byte and the source byte it takes (at most
// two bytes either way, always within the same pixel), blended by channel; on
// CPUs with byte permutations across a whole vector, one permutation per 21
// pixels does it. 4-byte swaps shuffle within each 16-byte block. The colour
// twist runs in double lanes when the matrix makes every intermediate sum exact
// in double (then the result equals the long double formula bit for bit);
// other matrices take the scalar long double rows. On CPUs with whole-vector byte
// permutations, the twist gathers and lays out its bytes with them and converts
// with embedded rounding, twice as fast as the general version.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/color/ChannelKernels.cpp"
// clang-format off
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
// clang-format on

#include <algorithm>
#include <cmath>

#include "dispatch/color/ColorChecks.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorPixels.h"
#include "dispatch/color/ColorRuns.h"
#include "dispatch/color/SimdHelpers.h"

#ifndef QX_COLOR_CHANNEL_KERNELS_ONCE
#define QX_COLOR_CHANNEL_KERNELS_ONCE
namespace qx::fallback::detail {

// True when, for every possible pixel, each partial sum of the twist (and the sum
// plus 0.5 used for rounding) is exactly representable in double: all terms are
// multiples of the smallest coefficient's unit in the last place (or of 0.5) and the
// largest sum stays below 2^53 of those units.
inline bool TwistExactInDouble(const Ipp32f (*twist)[4]) {
  for (int k = 0; k < 3; ++k) {
    int finestExponent = -1;  // 0.5 is added when rounding
    double bound = 0.5;
    for (int j = 0; j < 4; ++j) {
      const Ipp32f coefficient = twist[k][j];
      if (!std::isfinite(coefficient)) return false;
      if (coefficient == 0) continue;
      // |coefficient| < 2^exponent, and a multiple of 2^(exponent - 24).
      int exponent = 0;
      std::frexp(coefficient, &exponent);
      finestExponent = std::min(finestExponent, exponent - 24);
      bound += std::fabs(static_cast<double>(coefficient)) * (j < 3 ? 255.0 : 1.0);
    }
    int boundExponent = 0;
    std::frexp(bound, &boundExponent);  // every partial sum is below 2^boundExponent
    if (boundExponent - finestExponent > 53) return false;
  }
  return true;
}

// The distance from the nearest integer below which a float sum of the twist rounds
// as the exact sum does, when the float evaluation errs by at most `errorUnits`
// times 2^-24 times the largest sum of the terms' magnitudes. Not positive for
// matrices whose sums reach 2^21 and beyond: no float result is trusted then.
inline float FloatTwistMargin(const Ipp32f (*twist)[4], double errorUnits) {
  double margin = 0.5;
  for (int k = 0; k < 3; ++k) {
    double magnitude = std::fabs(twist[k][3]);
    for (int j = 0; j < 3; ++j) magnitude += 255.0 * std::fabs(twist[k][j]);
    margin = std::min(margin, 0.5 - errorUnits * 0x1p-24 * magnitude);
  }
  float below = static_cast<float>(margin);
  if (below > margin) below = std::nextafter(below, 0.0f);
  return below;
}

}  // namespace qx::fallback::detail
#endif

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if QX_COLOR_VECTORS

using D8 = hn::ScalableTag<uint8_t>;
using V8 = hn::Vec<D8>;
using M8 = hn::Mask<D8>;

// --- 3-byte swaps ---------------------------------------------------------------------

#if HWY_TARGET == HWY_AVX3_DL
// With byte permutations across a whole vector (VBMI), one permutation swaps the 21
// pixels of a 64-byte window. The window's last byte (the next pixel's first) is
// stored as read, so the next window, which starts there, reads the same byte in
// place too; a masked store that left it alone ran at two thirds of this speed when
// the destination was not in cache.
struct SwapC3Plan {
  __m512i window;
};

HWY_INLINE SwapC3Plan PlanSwapC3(const int* order) {
  alignas(64) uint8_t index[64] = {};
  for (int j = 0; j < 63; ++j) index[j] = static_cast<uint8_t>(j - j % 3 + order[j % 3]);
  index[63] = 63;
  return {_mm512_load_si512(index)};
}

// Swaps whole windows of pixels from pixel 1 on; returns the first pixel not done.
std::ptrdiff_t SwapC3Vectors(const Ipp8u* src, Ipp8u* dst, std::ptrdiff_t width,
                             const SwapC3Plan& plan) {
  std::ptrdiff_t k = 3;
  for (; k + 64 <= 3 * width; k += 63) {
    _mm512_storeu_si512(dst + k, _mm512_permutexvar_epi8(plan.window, _mm512_loadu_si512(src + k)));
  }
  return k / 3;
}
#else
// The blends of one group of three vectors (as many pixels as a vector has bytes),
// starting on a pixel boundary: which lanes hold channel 1 and which channel 2.
struct SwapC3Plan {
  M8 channel1[3];
  M8 channel2[3];
  std::ptrdiff_t shift[3];  // source byte minus destination byte, per channel
};

HWY_INLINE SwapC3Plan PlanSwapC3(const int* order) {
  const D8 d8;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  HWY_ALIGN uint8_t channelOf[3 * hn::MaxLanes(d8)];
  for (std::ptrdiff_t i = 0; i < 3 * lanes; ++i) channelOf[i] = static_cast<uint8_t>(i % 3);
  SwapC3Plan plan;
  for (int j = 0; j < 3; ++j) {
    const V8 channels = hn::Load(d8, channelOf + j * lanes);
    plan.channel1[j] = hn::Eq(channels, hn::Set(d8, 1));
    plan.channel2[j] = hn::Eq(channels, hn::Set(d8, 2));
    plan.shift[j] = order[j] - j;
  }
  return plan;
}

// Swaps whole groups of pixels from pixel 1 on (pixel 0 and the tail are left to the
// scalar row, so that shifted loads stay inside the row); returns the first pixel not
// done. Every load of a group happens before its stores, so src may equal dst.
std::ptrdiff_t SwapC3Vectors(const Ipp8u* src, Ipp8u* dst, std::ptrdiff_t width,
                             const SwapC3Plan& plan) {
  const D8 d8;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  const std::ptrdiff_t rowBytes = 3 * width;
  std::ptrdiff_t k = 3;
  for (; k + 3 * lanes + 2 <= rowBytes; k += 3 * lanes) {
    V8 out[3];
    for (int j = 0; j < 3; ++j) {
      const Ipp8u* in = src + k + j * lanes;
      out[j] = hn::IfThenElse(plan.channel1[j], hn::LoadU(d8, in + plan.shift[1]),
                              hn::IfThenElse(plan.channel2[j], hn::LoadU(d8, in + plan.shift[2]),
                                             hn::LoadU(d8, in + plan.shift[0])));
    }
    for (int j = 0; j < 3; ++j) hn::StoreU(out[j], d8, dst + k + j * lanes);
  }
  return k / 3;
}
#endif

// --- 4-byte swaps ---------------------------------------------------------------------

// Destination byte c of each pixel from source byte order[c]; byte 3 is kept.
std::ptrdiff_t SwapAC4Vectors(const Ipp8u* src, Ipp8u* dst, std::ptrdiff_t width,
                              const int* order) {
  const D8 d8;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  HWY_ALIGN uint8_t index[16];
  for (int i = 0; i < 16; ++i)
    index[i] = static_cast<uint8_t>(i % 4 == 3 ? i : i - i % 4 + order[i % 4]);
  const V8 shuffle = hn::LoadDup128(d8, index);
  const M8 colour = hn::Ne(hn::And(hn::Iota(d8, 0), hn::Set(d8, 3)), hn::Set(d8, 3));
  std::ptrdiff_t x = 0;
  for (; 4 * x + lanes <= 4 * width; x += lanes / 4) {
    const V8 swapped = hn::TableLookupBytes(hn::LoadU(d8, src + 4 * x), shuffle);
    hn::StoreU(hn::IfThenElse(colour, swapped, hn::LoadU(d8, dst + 4 * x)), d8, dst + 4 * x);
  }
  return x;
}

// --- Colour twist ---------------------------------------------------------------------

#if HWY_TARGET == HWY_AVX3_DL
// The permutation indices of the twist of 16 pixels of `Channels` bytes.
template <int Channels>
struct TwistIndices {
  // toFloat[c]: byte 4i takes channel c of pixel i; toDouble[c][h]: byte 8i takes
  // channel c of pixel 8h + i (the other bytes are masked).
  uint8_t toFloat[3][64] = {};
  uint8_t toDouble[3][2][64] = {};
  // Output byte j of pixel p = j / Channels: channel c = j % Channels of the packed
  // results (block p / 4 holds the results of pixels 4 (p / 4).. as four bytes of
  // channel 0, four of channel 1, four of channel 2). The alpha bytes of 4-byte pixels,
  // and for 3-byte pixels the bytes from 48 on, are the source's own (second table).
  uint8_t layout[64] = {};

  constexpr TwistIndices() {
    for (int c = 0; c < 3; ++c)
      for (int i = 0; i < 16; ++i) {
        toFloat[c][4 * i] = static_cast<uint8_t>(Channels * i + c);
        toDouble[c][i / 8][8 * (i % 8)] = static_cast<uint8_t>(Channels * i + c);
      }
    for (int j = 0; j < 64; ++j) {
      const int p = j / Channels, c = j % Channels;
      layout[j] =
          static_cast<uint8_t>(j < 16 * Channels && c < 3 ? 16 * (p / 4) + 4 * c + p % 4 : 64 + j);
    }
  }
};
template <int Channels>
alignas(64) inline constexpr TwistIndices<Channels> kTwistIndices{};

// Twists whole steps of 16 pixels from the start of a row; returns how many pixels.
// With byte permutations across whole vectors (VBMI): masked permutations gather each
// channel into 32-bit (64-bit) lanes, each sum is converted with round-to-nearest-even
// in one instruction, saturating packs clamp the three results to bytes, and one
// two-vector permutation lays them out as the pixels' bytes. Each 64-byte store holds
// the 16 pixels and, for 3-byte pixels, the next 16 bytes as read (the next step, or
// the scalar tail, writes them again), so the loop is safe in place.
//
// A step first runs in float lanes, twice as many per vector. Each of the three fused
// multiply-adds rounds once, by at most 2^-24 of the sum of the terms' magnitudes M, so
// the float sum lies within 3 * 2^-24 * M of the exact one (4 * 2^-24 * M is used).
// Where no half-integer lies that close to any of the step's float sums, both round
// alike and the step is done; otherwise it runs again in double, where the sums are
// exact. (With the YUV matrix, about one step in thirteen on noise: pixels with R = G
// put its chroma sums within float error of a tie. Queuing those steps to run again
// after a batch, without a branch, was slower.)
template <int Channels>
std::ptrdiff_t TwistVectors(const Ipp8u* src, Ipp8u* dst, std::ptrdiff_t width,
                            const Ipp32f (*twist)[4]) {
  const TwistIndices<Channels>& indices = kTwistIndices<Channels>;
  constexpr int kRound = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
  __m512 floatCoefficient[3][4];
  __m512d doubleCoefficient[3][4];
  for (int k = 0; k < 3; ++k)
    for (int j = 0; j < 4; ++j) {
      floatCoefficient[k][j] = _mm512_set1_ps(twist[k][j]);
      doubleCoefficient[k][j] = _mm512_set1_pd(twist[k][j]);
    }
  const __m512 certainBelow = _mm512_set1_ps(detail::FloatTwistMargin(twist, 4));
  // The three results of one step in 32-bit lanes; false when some float sum lies
  // too close to a tie.
  const auto inFloat = [&](__m512i pixels, __m512i* result) {
    constexpr __mmask64 kLowBytes = 0x1111111111111111;
    constexpr int kReduceToFraction = 0x08;  // x - round(x), exact
    constexpr int kLargerMagnitude = 0x0B;   // the larger |a|, |b|, sign cleared
    __m512 value[3];
    for (int c = 0; c < 3; ++c)
      value[c] = _mm512_cvtepi32_ps(
          _mm512_maskz_permutexvar_epi8(kLowBytes, _mm512_load_si512(indices.toFloat[c]), pixels));
    __m512 offset[3];
    for (int k = 0; k < 3; ++k) {
      // Rounded to nearest whatever the caller's rounding mode, as the bound assumes.
      __m512 sum =
          _mm512_fmadd_round_ps(floatCoefficient[k][2], value[2], floatCoefficient[k][3], kRound);
      sum = _mm512_fmadd_round_ps(floatCoefficient[k][1], value[1], sum, kRound);
      sum = _mm512_fmadd_round_ps(floatCoefficient[k][0], value[0], sum, kRound);
      offset[k] = _mm512_reduce_ps(sum, kReduceToFraction);
      result[k] = _mm512_cvt_roundps_epi32(sum, kRound);
    }
    const __m512 largest = _mm512_range_ps(_mm512_range_ps(offset[0], offset[1], kLargerMagnitude),
                                           offset[2], kLargerMagnitude);
    return _mm512_cmp_ps_mask(largest, certainBelow, _CMP_NLT_UQ) == 0;
  };
  const auto inDouble = [&](__m512i pixels, __m512i* result) {
    constexpr __mmask64 kLowBytes = 0x0101010101010101;
    __m512d value[2][3];
    for (int h = 0; h < 2; ++h)
      for (int c = 0; c < 3; ++c)
        value[h][c] = _mm512_cvtepi64_pd(_mm512_maskz_permutexvar_epi8(
            kLowBytes, _mm512_load_si512(indices.toDouble[c][h]), pixels));
    for (int k = 0; k < 3; ++k) {
      __m256i half[2];
      for (int h = 0; h < 2; ++h) {
        // Exact sums (checked by TwistExactInDouble), so the order and fusing do not matter.
        __m512d sum =
            _mm512_fmadd_pd(doubleCoefficient[k][2], value[h][2], doubleCoefficient[k][3]);
        sum = _mm512_fmadd_pd(doubleCoefficient[k][1], value[h][1], sum);
        sum = _mm512_fmadd_pd(doubleCoefficient[k][0], value[h][0], sum);
        const __m512d clamped =  // within 32 bits
            _mm512_min_pd(_mm512_max_pd(sum, _mm512_setzero_pd()), _mm512_set1_pd(255.0));
        half[h] = _mm512_cvt_roundpd_epi32(clamped, kRound);
      }
      result[k] = _mm512_inserti64x4(_mm512_castsi256_si512(half[0]), half[1], 1);
    }
  };
  const __m512i layoutIndex = _mm512_load_si512(indices.layout);
  std::ptrdiff_t x = 0;
  for (; Channels * x + 64 <= Channels * width; x += 16) {
    const __m512i pixels = _mm512_loadu_si512(src + Channels * x);
    __m512i result[3];
    if (!inFloat(pixels, result)) inDouble(pixels, result);
    const __m512i bytes = _mm512_packus_epi16(_mm512_packs_epi32(result[0], result[1]),
                                              _mm512_packs_epi32(result[2], result[2]));
    _mm512_storeu_si512(dst + Channels * x, _mm512_permutex2var_epi8(bytes, layoutIndex, pixels));
  }
  return x;
}
#else
// Twists `lanes` pixels of staged channels (c0, c1, c2 hold byte k of each pixel) in
// double lanes, where the sums are exact; results replace them.
HWY_INLINE void TwistChannelsInDouble(const Ipp32f (*twist)[4], uint8_t* c0, uint8_t* c1,
                                      uint8_t* c2, std::ptrdiff_t lanes) {
  const hn::ScalableTag<double> df;
  const hn::Rebind<int32_t, decltype(df)> d32;
  const hn::Rebind<uint8_t, decltype(df)> d8;
  const std::ptrdiff_t step = static_cast<std::ptrdiff_t>(hn::Lanes(df));
  const auto zero = hn::Zero(df);
  const auto top = hn::Set(df, 255.0);
  uint8_t* const channels[3] = {c0, c1, c2};
  for (std::ptrdiff_t i = 0; i < lanes; i += step) {  // each group read before it is written
    const auto s0 = hn::PromoteTo(df, hn::PromoteTo(d32, hn::Load(d8, c0 + i)));
    const auto s1 = hn::PromoteTo(df, hn::PromoteTo(d32, hn::Load(d8, c1 + i)));
    const auto s2 = hn::PromoteTo(df, hn::PromoteTo(d32, hn::Load(d8, c2 + i)));
    for (int k = 0; k < 3; ++k) {
      // Exact sums (checked by TwistExactInDouble), so the order and fusing do not matter.
      auto value = hn::Set(df, twist[k][3]);
      value = hn::MulAdd(hn::Set(df, twist[k][2]), s2, value);
      value = hn::MulAdd(hn::Set(df, twist[k][1]), s1, value);
      value = hn::MulAdd(hn::Set(df, twist[k][0]), s0, value);
      const auto rounded = hn::Min(hn::Max(hn::Round(value), zero), top);
      hn::Store(hn::DemoteTo(d8, hn::DemoteTo(d32, rounded)), d8, channels[k] + i);
    }
  }
}

// Twists one vector of pixels of each channel in float lanes, twice as many per vector
// as double; false, with the channels as they were, when some sum lies too close to a
// tie. Each float sum is three multiply-adds: six roundings without fused
// multiply-adds, each off by at most 2^-23 of the sum of the terms' magnitudes in any
// rounding mode, so within 12 such units of 2^-24 of the exact sum; `margin` is
// computed for 16. When every float sum lies further than that from a half-integer,
// both round alike. The saturating demotions clamp the results to bytes.
HWY_INLINE bool TwistInFloat(const Ipp32f (*twist)[4], float margin, V8& c0, V8& c1, V8& c2) {
  const D8 d8;
  const hn::Half<D8> dh;
  const hn::Half<decltype(dh)> dq;  // a quarter of the bytes: one per float lane
  const hn::ScalableTag<float> df;
  const hn::RebindToSigned<decltype(df)> di;
  using VF = hn::Vec<decltype(df)>;
  const auto toFloats = [&](V8 bytes, VF* quarters) {
    const auto low = hn::LowerHalf(dh, bytes), high = hn::UpperHalf(dh, bytes);
    quarters[0] = hn::ConvertTo(df, hn::PromoteTo(di, hn::LowerHalf(dq, low)));
    quarters[1] = hn::ConvertTo(df, hn::PromoteTo(di, hn::UpperHalf(dq, low)));
    quarters[2] = hn::ConvertTo(df, hn::PromoteTo(di, hn::LowerHalf(dq, high)));
    quarters[3] = hn::ConvertTo(df, hn::PromoteTo(di, hn::UpperHalf(dq, high)));
  };
  VF s0[4], s1[4], s2[4];
  toFloats(c0, s0);
  toFloats(c1, s1);
  toFloats(c2, s2);
  VF furthest = hn::Zero(df);  // the largest distance of a sum from its nearest integer
  V8 out[3];
  for (int k = 0; k < 3; ++k) {
    hn::Vec<decltype(dq)> bytes[4];
    for (int q = 0; q < 4; ++q) {
      auto value = hn::Set(df, twist[k][3]);
      value = hn::MulAdd(hn::Set(df, twist[k][2]), s2[q], value);
      value = hn::MulAdd(hn::Set(df, twist[k][1]), s1[q], value);
      value = hn::MulAdd(hn::Set(df, twist[k][0]), s0[q], value);
      const auto rounded = hn::Round(value);
      furthest = hn::Max(furthest, hn::Abs(hn::Sub(value, rounded)));  // exact difference
      bytes[q] = hn::DemoteTo(dq, hn::ConvertTo(di, rounded));
    }
    out[k] =
        hn::Combine(d8, hn::Combine(dh, bytes[3], bytes[2]), hn::Combine(dh, bytes[1], bytes[0]));
  }
  if (!hn::AllTrue(df, hn::Lt(furthest, hn::Set(df, margin)))) return false;
  c0 = out[0];
  c1 = out[1];
  c2 = out[2];
  return true;
}

template <int Channels>
std::ptrdiff_t TwistVectors(const Ipp8u* src, Ipp8u* dst, std::ptrdiff_t width,
                            const Ipp32f (*twist)[4]) {
  const D8 d8;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  HWY_ALIGN uint8_t channel[3][hn::MaxLanes(D8())];
  const float margin = detail::FloatTwistMargin(twist, 16);
  std::ptrdiff_t x = 0;
  for (; x + lanes <= width; x += lanes) {
    V8 c0, c1, c2, c3;
    if constexpr (Channels == 3) {
      hn::LoadInterleaved3(d8, src + 3 * x, c0, c1, c2);
    } else {
      hn::LoadInterleaved4(d8, src + 4 * x, c0, c1, c2, c3);
    }
    if (!TwistInFloat(twist, margin, c0, c1, c2)) {
      hn::Store(c0, d8, channel[0]);
      hn::Store(c1, d8, channel[1]);
      hn::Store(c2, d8, channel[2]);
      TwistChannelsInDouble(twist, channel[0], channel[1], channel[2], lanes);
      c0 = hn::Load(d8, channel[0]);
      c1 = hn::Load(d8, channel[1]);
      c2 = hn::Load(d8, channel[2]);
    }
    if constexpr (Channels == 3) {
      hn::StoreInterleaved3(c0, c1, c2, d8, dst + 3 * x);
    } else {
      hn::StoreInterleaved4(c0, c1, c2, c3, d8, dst + 4 * x);  // the alpha byte as read
    }
  }
  return x;
}
#endif

#endif  // QX_COLOR_VECTORS

// --- Whole images ---------------------------------------------------------------------

void SwapImageC3(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
                 const int* order) {
#if QX_COLOR_VECTORS
  const SwapC3Plan plan = PlanSwapC3(order);
#endif
  const std::ptrdiff_t rowBytes = 3 * std::ptrdiff_t{size.width};
  detail::ForEachRun(size, {{srcStep, rowBytes}, {dstStep, rowBytes}},
                     [&](int y, std::ptrdiff_t width) {
                       const Ipp8u* in = detail::RowOf(src, srcStep, y);
                       Ipp8u* out = detail::RowOf(dst, dstStep, y);
                       std::ptrdiff_t x = 0;
#if QX_COLOR_VECTORS
                       detail::SwapRow(in, out, 1, 3, order);
                       x = width > 1 ? SwapC3Vectors(in, out, width, plan) : 1;
#endif
                       detail::SwapRow(in + 3 * x, out + 3 * x, width - x, 3, order);
                     });
}

void SwapImageAC4(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
                  const int* order) {
  const std::ptrdiff_t rowBytes = 4 * std::ptrdiff_t{size.width};
  detail::ForEachRun(size, {{srcStep, rowBytes}, {dstStep, rowBytes}},
                     [&](int y, std::ptrdiff_t width) {
                       const Ipp8u* in = detail::RowOf(src, srcStep, y);
                       Ipp8u* out = detail::RowOf(dst, dstStep, y);
                       std::ptrdiff_t x = 0;
#if QX_COLOR_VECTORS
                       x = SwapAC4Vectors(in, out, width, order);
#endif
                       detail::SwapRow(in + 4 * x, out + 4 * x, width - x, 4, order);
                     });
}

template <int Channels>
void TwistImage(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
                const Ipp32f (*twist)[4]) {
  const std::ptrdiff_t rowBytes = Channels * std::ptrdiff_t{size.width};
#if QX_COLOR_VECTORS
  const bool vectors = detail::TwistExactInDouble(twist);
#endif
  detail::ForEachRun(
      size, {{srcStep, rowBytes}, {dstStep, rowBytes}}, [&](int y, std::ptrdiff_t width) {
        const Ipp8u* in = detail::RowOf(src, srcStep, y);
        Ipp8u* out = detail::RowOf(dst, dstStep, y);
        std::ptrdiff_t x = 0;
#if QX_COLOR_VECTORS
        if (vectors) x = TwistVectors<Channels>(in, out, width, twist);
#endif
        detail::TwistRow(in + Channels * x, out + Channels * x, width - x, Channels, twist);
      });
}

void TwistImageC3(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
                  const Ipp32f (*twist)[4]) {
  TwistImage<3>(src, srcStep, dst, dstStep, size, twist);
}

void TwistImageAC4(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
                   const Ipp32f (*twist)[4]) {
  TwistImage<4>(src, srcStep, dst, dstStep, size, twist);
}

}  // namespace qx::fallback::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace qx::fallback {

HWY_EXPORT(SwapImageC3);
HWY_EXPORT(SwapImageAC4);
HWY_EXPORT(TwistImageC3);
HWY_EXPORT(TwistImageAC4);

IppStatus ippiSwapChannels_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                  IppiSize roiSize, const int* dstOrder) {
  if (IppStatus status =
          detail::CheckSwapArguments({pSrc, pDst}, dstOrder, roiSize, {srcStep, dstStep});
      status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(SwapImageC3)(pSrc, srcStep, pDst, dstStep, roiSize, dstOrder);
  return ippStsNoErr;
}

IppStatus ippiSwapChannels_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                                   const int* dstOrder) {
  return ippiSwapChannels_8u_C3R(pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, dstOrder);
}

IppStatus ippiSwapChannels_8u_AC4R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize, const int* dstOrder) {
  if (IppStatus status =
          detail::CheckSwapArguments({pSrc, pDst}, dstOrder, roiSize, {srcStep, dstStep});
      status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(SwapImageAC4)(pSrc, srcStep, pDst, dstStep, roiSize, dstOrder);
  return ippStsNoErr;
}

IppStatus ippiColorTwist32f_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize, const Ipp32f (*twist)[4]) {
  if (IppStatus status =
          detail::CheckImagesSizeAndSteps({pSrc, pDst, twist}, roiSize, {srcStep, dstStep});
      status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(TwistImageC3)(pSrc, srcStep, pDst, dstStep, roiSize, twist);
  return ippStsNoErr;
}

IppStatus ippiColorTwist32f_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                                    const Ipp32f (*twist)[4]) {
  return ippiColorTwist32f_8u_C3R(pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, twist);
}

IppStatus ippiColorTwist32f_8u_AC4IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                                     const Ipp32f (*twist)[4]) {
  if (IppStatus status = detail::CheckImagesSizeAndSteps({pSrcDst, twist}, roiSize, {srcDstStep});
      status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(TwistImageAC4)(pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, twist);
  return ippStsNoErr;
}

}  // namespace qx::fallback
#endif  // HWY_ONCE
