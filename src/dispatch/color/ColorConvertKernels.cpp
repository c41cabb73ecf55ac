// SIMD kernels of the 4:2:2 YUV conversions and of the weighted gray.
//
// All arithmetic is exact integer arithmetic, so every result equals the
// 32-bit fixed-point formula bit for bit. The YUV kernels work in 16-bit
// lanes: products that need more than 16 bits are formed from their high half
// (MulHigh) and low half (Mul), adding the carry of the low halves where
// products are summed. Gray sums its products in 32-bit lanes.
//
// Highway's shuffles work within 16-byte blocks, so the general versions spend
// much of their time moving bytes between blocks. On the AVX-512 target with
// byte permutations across a whole vector (VBMI) and byte dot products (VNNI),
// each conversion has a version of its own that gathers and lays out its bytes
// with a few such permutations: about half the shuffles per pixel.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/color/ColorConvertKernels.cpp"
// clang-format off
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
// clang-format on

#include <algorithm>

#include "dispatch/StreamingStores.h"
#include "dispatch/color/ColorChecks.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorPixels.h"
#include "dispatch/color/ColorRuns.h"
#include "dispatch/color/SimdHelpers.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if QX_COLOR_VECTORS

using D8 = hn::ScalableTag<uint8_t>;
using D16 = hn::Repartition<int16_t, D8>;
using V16 = hn::Vec<D16>;

// --- 4:2:2 to RGB ---------------------------------------------------------------------

// The chroma terms of 16-bit lanes of centred U and V (one lane per pair), exactly
// (74711 v) >> 16, (-25821 u - 38076 v) >> 16 and (133169 u) >> 16.
HWY_INLINE void ChromaLanes(V16 u, V16 v, V16& red, V16& green, V16& blue) {
  const D16 d16;
  // 74711 = 65536 + 9175 and 133169 = 2 * 65536 + 2097.
  red = hn::Add(v, hn::MulHigh(v, hn::Set(d16, 9175)));
  blue = hn::Add(hn::Add(u, u), hn::MulHigh(u, hn::Set(d16, 2097)));
  // -38076 v = -19038 (2v); the two 32-bit products are summed from their halves.
  const V16 cu = hn::Set(d16, -25821);
  const V16 cv = hn::Set(d16, -19038);
  const V16 v2 = hn::Add(v, v);
  const V16 high = hn::Add(hn::MulHigh(u, cu), hn::MulHigh(v2, cv));
  green = AddCarry(d16, high, hn::Mul(u, cu), hn::Mul(v2, cv));
}

#if HWY_TARGET == HWY_AVX3_DL
// Converts whole steps of 64 pixels from the start of a row; returns how many pixels.
// With byte permutations across whole vectors (VBMI): one two-vector permutation
// gathers the U (V) of a step's 32 pairs into 16-bit lanes, a 16-bit permutation gives
// each pixel its pair's chroma, and two two-vector byte permutations lay the R G and B
// lanes of 32 pixels out as 96 bytes.
std::ptrdiff_t YuvToRgbVectors(const Ipp8u* yuv, Ipp8u* rgb, std::ptrdiff_t width) {
  const D16 d16;
  alignas(64)
      uint8_t uBytes[64] = {};  // lane k: the U of pair k, at byte 4k + 1 of the two vectors
  for (int k = 0; k < 32; ++k) uBytes[2 * k] = static_cast<uint8_t>(4 * k + 1);
  const __m512i uIndex = _mm512_load_si512(uBytes);
  const __m512i vIndex = _mm512_add_epi8(uIndex, _mm512_set1_epi8(2));
  constexpr __mmask64 kEvenBytes = 0x5555555555555555;
  alignas(64) uint16_t pairLanes[2][32];  // pixel p of half h takes pair 16 h + p / 2
  // Output byte j of a half: pixel j / 3's R or G (bytes 2p, 2p + 1 of the first
  // vector) or B (byte 2p of the second).
  alignas(64) uint8_t layout[2][64] = {};
  for (int h = 0; h < 2; ++h) {
    for (int p = 0; p < 32; ++p) pairLanes[h][p] = static_cast<uint16_t>(16 * h + p / 2);
    for (int j = 64 * h; j < std::min(96, 64 * (h + 1)); ++j) {
      const int p = j / 3, c = j % 3;
      layout[h][j - 64 * h] = static_cast<uint8_t>(c < 2 ? 2 * p + c : 64 + 2 * p);
    }
  }
  const __m512i pairIndex[2] = {_mm512_load_si512(pairLanes[0]), _mm512_load_si512(pairLanes[1])};
  const __m512i layoutIndex[2] = {_mm512_load_si512(layout[0]), _mm512_load_si512(layout[1])};
  const V16 k128 = hn::Set(d16, 128);
  const V16 lowByte = hn::Set(d16, 0xFF);
  const V16 zero = hn::Zero(d16);
  std::ptrdiff_t x = 0;
  for (; x + 64 <= width; x += 64) {
    PrefetchAhead<128>(yuv + 2 * x);
    PrefetchAhead<192>(rgb + 3 * x);
    const __m512i halves[2] = {_mm512_loadu_si512(yuv + 2 * x),
                               _mm512_loadu_si512(yuv + 2 * x + 64)};
    const auto chroma = [&](__m512i index) {
      return hn::Sub(V16{_mm512_maskz_permutex2var_epi8(kEvenBytes, halves[0], index, halves[1])},
                     k128);
    };
    V16 red, green, blue;
    ChromaLanes(chroma(uIndex), chroma(vIndex), red, green, blue);
    for (int h = 0; h < 2; ++h) {
      const V16 luma = hn::And(V16{halves[h]}, lowByte);
      const auto channel = [&](V16 pairs) {
        const V16 perPixel{_mm512_permutexvar_epi16(pairIndex[h], pairs.raw)};
        return hn::Min(hn::Max(hn::Add(luma, perPixel), zero), lowByte);
      };
      const __m512i redGreen = hn::Or(channel(red), hn::ShiftLeft<8>(channel(green))).raw;
      const __m512i b = channel(blue).raw;
      Ipp8u* out = rgb + 3 * (x + 32 * h);
      _mm512_storeu_si512(out, _mm512_permutex2var_epi8(redGreen, layoutIndex[0], b));
      _mm256_storeu_si256(
          reinterpret_cast<__m256i*>(out + 64),
          _mm512_castsi512_si256(_mm512_permutex2var_epi8(redGreen, layoutIndex[1], b)));
    }
  }
  return x;
}
#else
// Converts whole vectors of pixels from the start of a row; returns how many. Each step
// takes two vectors of Y0 U Y1 V bytes whose 64-bit quarters (four pixels each) are
// reordered so that block k holds pixels 4k.. in its low half and the vector's second
// half from pixel 4(blocks + k) on in its high half: widening the low (high) halves of
// the 16-bit pixel lanes then yields the first (second) half of the pixels in order.
// Per block, the chroma of both vectors' pairs shares one 16-bit vector (first vector's
// pairs low, second's high), so that interleaving it with itself gives each pixel its
// pair's chroma. Pixels are clamped in 16-bit lanes, widened to R G B 0 words and
// packed to three bytes each.
std::ptrdiff_t YuvToRgbVectors(const Ipp8u* yuv, Ipp8u* rgb, std::ptrdiff_t width) {
  const D8 d8;
  const D16 d16;
  const hn::RebindToUnsigned<D16> du16;
  const hn::Repartition<uint32_t, D8> du32;
  const hn::Repartition<uint64_t, D8> du64;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  const std::ptrdiff_t blocks = lanes / 16;
  HWY_ALIGN uint64_t quarterOrder[hn::MaxLanes(du64)];
  for (std::ptrdiff_t q = 0; q < 2 * blocks; ++q)
    quarterOrder[q] = static_cast<uint64_t>(q % 2 * blocks + q / 2);
  const auto quarters = hn::SetTableIndices(du64, quarterOrder);
  const auto load = [&](const Ipp8u* from) {
    return hn::BitCast(d8, hn::TableLookupLanes(hn::BitCast(du64, hn::LoadU(d8, from)), quarters));
  };
  constexpr uint8_t Z = 0x80;  // a zero byte
  // Per block: the U (or V) of the first vector's four pairs, then of the second's.
  alignas(16) static constexpr uint8_t kULow[16] = {1, Z, 5, Z, 9, Z, 13, Z,
                                                    Z, Z, Z, Z, Z, Z, Z,  Z};
  alignas(16) static constexpr uint8_t kUHigh[16] = {Z, Z, Z, Z, Z, Z, Z,  Z,
                                                     1, Z, 5, Z, 9, Z, 13, Z};
  alignas(16) static constexpr uint8_t kVLow[16] = {3, Z, 7, Z, 11, Z, 15, Z,
                                                    Z, Z, Z, Z, Z,  Z, Z,  Z};
  alignas(16) static constexpr uint8_t kVHigh[16] = {Z, Z, Z, Z, Z,  Z, Z,  Z,
                                                     3, Z, 7, Z, 11, Z, 15, Z};
  const auto uLow = hn::LoadDup128(d8, kULow), uHigh = hn::LoadDup128(d8, kUHigh);
  const auto vLow = hn::LoadDup128(d8, kVLow), vHigh = hn::LoadDup128(d8, kVHigh);
  const V16 k128 = hn::Set(d16, 128);
  const V16 lowByte = hn::Set(d16, 0xFF);
  const V16 zero = hn::Zero(d16);
  const ThreeBytePixels<D8> pack(d8);
  const auto gather = [&](hn::Vec<D8> first, hn::Vec<D8> second, hn::Vec<D8> low,
                          hn::Vec<D8> high) {
    return hn::Sub(hn::BitCast(d16, hn::Or(hn::TableLookupBytesOr0(first, low),
                                           hn::TableLookupBytesOr0(second, high))),
                   k128);
  };
  // The R G B 0 words of one vector's pixels: luma plus its pairs' chroma, clamped.
  const auto words = [&](V16 luma, V16 red, V16 green, V16 blue, hn::Vec<D8>* out) {
    const auto channel = [&](V16 chroma) {
      return hn::BitCast(du16, hn::Min(hn::Max(hn::Add(luma, chroma), zero), lowByte));
    };
    const auto redGreen = hn::Or(channel(red), hn::ShiftLeft<8>(channel(green)));
    const auto b = channel(blue);
    out[0] = pack(hn::ZipLower(du32, redGreen, b));
    out[1] = pack(hn::ZipUpper(du32, redGreen, b));
  };
  std::ptrdiff_t x = 0;
  for (; x + lanes <= width; x += lanes) {
    PrefetchAhead<2 * hn::MaxLanes(d8)>(yuv + 2 * x);
    PrefetchAhead<3 * hn::MaxLanes(d8)>(rgb + 3 * x);
    const auto first = load(yuv + 2 * x);
    const auto second = load(yuv + 2 * x + lanes);
    V16 red, green, blue;
    ChromaLanes(gather(first, second, uLow, uHigh), gather(first, second, vLow, vHigh), red, green,
                blue);
    hn::Vec<D8> packed[4];
    words(hn::And(hn::BitCast(d16, first), lowByte), hn::InterleaveLower(d16, red, red),
          hn::InterleaveLower(d16, green, green), hn::InterleaveLower(d16, blue, blue), packed);
    words(hn::And(hn::BitCast(d16, second), lowByte), hn::InterleaveUpper(d16, red, red),
          hn::InterleaveUpper(d16, green, green), hn::InterleaveUpper(d16, blue, blue), packed + 2);
    pack.Store(packed, 4, rgb + 3 * x, 3 * (width - x));
  }
  return x;
}
#endif

// --- RGB to 4:2:2 ---------------------------------------------------------------------

// Luma 19595 R + 38470 G + 7471 B of pixels in 16-bit lanes: `high` is Y (the luma
// >> 16), `low` the luma's low 16 bits.
HWY_INLINE void LumaLanes(D16 d16, V16 r, V16 g, V16 b, V16& high, V16& low) {
  const hn::RebindToUnsigned<D16> du;
  const auto kr = hn::Set(du, 19595), kg = hn::Set(du, 38470), kb = hn::Set(du, 7471);
  const auto ur = hn::BitCast(du, r), ug = hn::BitCast(du, g), ub = hn::BitCast(du, b);
  const V16 lowR = hn::BitCast(d16, hn::Mul(ur, kr));
  const V16 lowG = hn::BitCast(d16, hn::Mul(ug, kg));
  const V16 lowB = hn::BitCast(d16, hn::Mul(ub, kb));
  const V16 lowRG = hn::Add(lowR, lowG);
  low = hn::Add(lowRG, lowB);
  const V16 highSum = hn::BitCast(
      d16, hn::Add(hn::Add(hn::MulHigh(ur, kr), hn::MulHigh(ug, kg)), hn::MulHigh(ub, kb)));
  high = AddCarry(d16, AddCarry(d16, highSum, lowR, lowG), lowRG, lowB);
}

// The Y0 | U << 8 (`pairLow`) and Y1 | V << 8 (`pairHigh`) of the pairs of pixels whose
// channels fill the 16-bit lanes of r8, g8 and b8: the first pixel of a pair in the low
// byte, the second in the high byte.
HWY_INLINE void YuvPairs(hn::Vec<D8> r8, hn::Vec<D8> g8, hn::Vec<D8> b8, V16& pairLow,
                         V16& pairHigh) {
  const D16 d16;
  const hn::RebindToUnsigned<D16> du16;
  const V16 lowByte = hn::Set(d16, 0xFF);
  const V16 k128 = hn::Set(d16, 128);
  const auto first = [&](hn::Vec<D8> bytes) { return hn::And(hn::BitCast(d16, bytes), lowByte); };
  const auto second = [&](hn::Vec<D8> bytes) {
    return hn::BitCast(d16, hn::ShiftRight<8>(hn::BitCast(du16, bytes)));
  };
  const auto withHighByte = [&](V16 low, V16 high) {
    return hn::BitCast(d16,
                       hn::Or(hn::BitCast(du16, low), hn::ShiftLeft<8>(hn::BitCast(du16, high))));
  };
  const V16 r0 = first(r8), g0 = first(g8), b0 = first(b8);
  const V16 r1 = second(r8), g1 = second(g8), b1 = second(b8);
  V16 y0, low0, y1, low1;
  LumaLanes(d16, r0, g0, b0, y0, low0);
  LumaLanes(d16, r1, g1, b1, y1, low1);
  // ((S << 16) - Yf0 - Yf1 + 65535) >> 16 = S - Y0 - Y1 - (carry of low0 + low1).
  const V16 lumas = AddCarry(d16, hn::Add(y0, y1), low0, low1);
  const V16 blueDiff = hn::Sub(hn::Add(b0, b1), lumas);
  const V16 redDiff = hn::Sub(hn::Add(r0, r1), lumas);
  // blueDiff * 32244 >> 17 (always within -112..111), and redDiff * 57475 >> 17 =
  // (redDiff - (8061 redDiff >> 16)) >> 1 (57475 = 65536 - 8061), clamped.
  const V16 u = hn::Add(hn::ShiftRight<1>(hn::MulHigh(blueDiff, hn::Set(d16, 32244))), k128);
  const V16 v =
      hn::Add(hn::ShiftRight<1>(hn::Add(redDiff, hn::MulHigh(redDiff, hn::Set(d16, -8061)))), k128);
  pairLow = withHighByte(y0, u);
  pairHigh = withHighByte(y1, hn::Min(hn::Max(v, hn::Zero(d16)), lowByte));
}

#if HWY_TARGET == HWY_AVX3_DL
// Converts whole steps of 64 pixels; returns how many. Two-vector byte permutations
// (VBMI) gather each channel of the step's three vectors in pixel order, and a
// two-vector 16-bit permutation interleaves the pairs' Y0 U and Y1 V words.
std::ptrdiff_t RgbToYuvVectors(const Ipp8u* rgb, Ipp8u* yuv, std::ptrdiff_t width) {
  // Byte c of pixel p is byte 3p + c of the first two vectors for p < 42, and byte
  // 3p + c - 64 of the last two from there on.
  constexpr __mmask64 kLastTwo = ~((__mmask64{1} << 42) - 1);
  alignas(64) uint8_t pixelBytes[64];
  for (int p = 0; p < 64; ++p) pixelBytes[p] = static_cast<uint8_t>(p < 42 ? 3 * p : 3 * p - 64);
  const __m512i channelIndex[3] = {
      _mm512_load_si512(pixelBytes),
      _mm512_add_epi8(_mm512_load_si512(pixelBytes), _mm512_set1_epi8(1)),
      _mm512_add_epi8(_mm512_load_si512(pixelBytes), _mm512_set1_epi8(2))};
  // Output word 2k (2k + 1) of a half: pair k's Y0 U (Y1 V), pairs 16 h.. in half h.
  alignas(64) uint16_t pairWords[2][32];
  for (int h = 0; h < 2; ++h)
    for (int k = 0; k < 16; ++k) {
      pairWords[h][2 * k] = static_cast<uint16_t>(16 * h + k);
      pairWords[h][2 * k + 1] = static_cast<uint16_t>(32 + 16 * h + k);
    }
  const __m512i interleave[2] = {_mm512_load_si512(pairWords[0]), _mm512_load_si512(pairWords[1])};
  std::ptrdiff_t x = 0;
  for (; x + 64 <= width; x += 64) {
    PrefetchAhead<192>(rgb + 3 * x);
    PrefetchAhead<128>(yuv + 2 * x);
    const __m512i a = _mm512_loadu_si512(rgb + 3 * x);
    const __m512i b = _mm512_loadu_si512(rgb + 3 * x + 64);
    const __m512i c = _mm512_loadu_si512(rgb + 3 * x + 128);
    const auto channel = [&](int index) {
      return hn::Vec<D8>{
          _mm512_mask_blend_epi8(kLastTwo, _mm512_permutex2var_epi8(a, channelIndex[index], b),
                                 _mm512_permutex2var_epi8(b, channelIndex[index], c))};
    };
    V16 pairLow, pairHigh;
    YuvPairs(channel(0), channel(1), channel(2), pairLow, pairHigh);
    for (int h = 0; h < 2; ++h)
      _mm512_storeu_si512(yuv + 2 * x + 64 * h,
                          _mm512_permutex2var_epi16(pairLow.raw, interleave[h], pairHigh.raw));
  }
  return x;
}
#else
// Each step converts one vector of pixels (a pair per 16-bit lane) and stores the pairs'
// Y0 U Y1 V as 32-bit lanes zipped from (Y0 | U << 8) and (Y1 | V << 8). Zipping works
// within 16-byte blocks, so the pairs first move in groups of four (one 64-bit lane)
// to where each zip half then emits them in order.
std::ptrdiff_t RgbToYuvVectors(const Ipp8u* rgb, Ipp8u* yuv, std::ptrdiff_t width) {
  const D8 d8;
  const hn::Repartition<uint32_t, D8> du32;
  const hn::Repartition<uint64_t, D8> du64;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  const std::ptrdiff_t groups = static_cast<std::ptrdiff_t>(hn::Lanes(du64));
  HWY_ALIGN uint64_t groupOrder[hn::MaxLanes(du64)];
  for (std::ptrdiff_t g = 0; g < groups; ++g)
    groupOrder[g] = static_cast<uint64_t>(g % 2 * (groups / 2) + g / 2);
  const auto pairGroups = hn::SetTableIndices(du64, groupOrder);
  const auto reorder = [&](hn::Vec<D8> bytes) {
    return hn::BitCast(d8, hn::TableLookupLanes(hn::BitCast(du64, bytes), pairGroups));
  };
  std::ptrdiff_t x = 0;
  for (; x + lanes <= width; x += lanes) {
    hn::Vec<D8> r8, g8, b8;
    PrefetchAhead<3 * hn::MaxLanes(d8)>(rgb + 3 * x);
    PrefetchAhead<2 * hn::MaxLanes(d8)>(yuv + 2 * x);
    hn::LoadInterleaved3(d8, rgb + 3 * x, r8, g8, b8);
    V16 pairLow, pairHigh;
    YuvPairs(reorder(r8), reorder(g8), reorder(b8), pairLow, pairHigh);
    const hn::RebindToUnsigned<D16> du16;
    const auto low = hn::BitCast(du16, pairLow), high = hn::BitCast(du16, pairHigh);
    hn::StoreU(hn::ZipLower(du32, low, high), du32, reinterpret_cast<uint32_t*>(yuv + 2 * x));
    hn::StoreU(hn::ZipUpper(du32, low, high), du32,
               reinterpret_cast<uint32_t*>(yuv + 2 * x + lanes));
  }
  return x;
}
#endif

// --- Gray -----------------------------------------------------------------------------
//
// Four pixels per 16-byte block: each block gets the bytes of its four pixels (for
// 3-byte pixels, a 12-byte window moved into place by a 32-bit lane permutation), a
// byte shuffle spreads them into 16-bit pairs (s0, s1) and (s2, 0), and two pairwise
// multiply-adds give w0 s0 + w1 s1 + w2 s2 exactly in 32-bit lanes.

#if HWY_TARGET == HWY_AVX3_DL
// With byte dot products (VNNI) and byte permutations (VBMI), 64 pixels per step: one
// permutation spreads 16 three-byte pixels to one 32-bit lane each (AC4 pixels already
// are), and each weight w = 256 h + l, with l and h signed bytes, turns into two
// four-byte dot products: sum = 256 (h . s) + l . s, exact in 32 bits. The spare byte
// of each lane has zero weights. Weights whose h does not fit a signed byte (above
// 32639) are left to the general loop. (The target's compiler flags name only the
// 256-bit form of the dot products that every CPU of this target has in 512 bits too.)
template <int Channels>
__attribute__((target("avx512vnni"))) std::ptrdiff_t GrayDotProducts(
    const Ipp8u* src, Ipp8u* dst, std::ptrdiff_t width, const detail::GrayWeights& weights,
    bool stream) {
  const int w[3] = {weights.w0, weights.w1, weights.w2};
  uint32_t low = 0, high = 0;
  for (int c = 0; c < 3; ++c) {
    const int l = static_cast<int8_t>(w[c] & 0xFF);
    const int h = (w[c] - l) / 256;
    if (h > 127) return 0;
    low |= (static_cast<uint32_t>(l) & 0xFF) << (8 * c);
    high |= (static_cast<uint32_t>(h) & 0xFF) << (8 * c);
  }
  const __m512i lowWeights = _mm512_set1_epi32(static_cast<int>(low));
  const __m512i highWeights = _mm512_set1_epi32(static_cast<int>(high));
  alignas(64) uint8_t spread[64];
  for (int i = 0; i < 64; ++i)
    spread[i] = static_cast<uint8_t>(i / 4 * 3 + (i % 4 == 3 ? 2 : i % 4));
  const __m512i spreadIndex = _mm512_load_si512(spread);
  // The two packs leave block b holding the words 4b..4b+3 of the four sums in turn.
  const __m512i inOrder = _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
  // The gray of pixels x..x + 63.
  const auto grayAt = [&](std::ptrdiff_t x) __attribute__((target("avx512vnni"))) {
    PrefetchAhead<Channels * 64>(src + Channels * x);
    __m512i sums[4];
    for (int g = 0; g < 4; ++g) {
      __m512i pixels = _mm512_loadu_si512(src + Channels * (x + 16 * g));
      if constexpr (Channels == 3) pixels = _mm512_permutexvar_epi8(spreadIndex, pixels);
      const __m512i highSum = _mm512_dpbusd_epi32(_mm512_setzero_si512(), pixels, highWeights);
      sums[g] = _mm512_srai_epi32(
          _mm512_dpbusd_epi32(_mm512_slli_epi32(highSum, 8), pixels, lowWeights), 12);
    }
    const __m512i bytes = _mm512_packus_epi16(_mm512_packus_epi32(sums[0], sums[1]),
                                              _mm512_packus_epi32(sums[2], sums[3]));
    return _mm512_permutexvar_epi32(inOrder, bytes);
  };
  const auto fits = [&](std::ptrdiff_t x) { return Channels * (x + 48) + 64 <= Channels * width; };
  std::ptrdiff_t x = 0;
  if (stream) {
    // Non-temporal stores take aligned addresses: a first cached store covers the
    // pixels before the first aligned one (and some after it, stored again).
    const auto misalignment = static_cast<std::ptrdiff_t>(reinterpret_cast<uintptr_t>(dst) % 64);
    if (misalignment != 0 && fits(0)) {
      _mm512_storeu_si512(dst, grayAt(0));
      x = 64 - misalignment;
    }
    for (; fits(x); x += 64) _mm512_stream_si512(reinterpret_cast<__m512i*>(dst + x), grayAt(x));
  } else {
    for (; fits(x); x += 64) {
      PrefetchAhead<64>(dst + x);
      _mm512_storeu_si512(dst + x, grayAt(x));
    }
  }
  return x;
}
#endif

template <int Channels>
std::ptrdiff_t GrayVectors(const Ipp8u* src, Ipp8u* dst, std::ptrdiff_t width,
                           const detail::GrayWeights& weights, bool stream) {
  const hn::ScalableTag<int32_t> d32;
  const hn::RebindToUnsigned<decltype(d32)> du32;
  const hn::Repartition<uint8_t, decltype(d32)> d8;
  const hn::Repartition<int16_t, decltype(d32)> d16;
  const hn::Rebind<uint8_t, decltype(d32)> dOut;  // one byte per 32-bit lane
  const std::ptrdiff_t pixels = static_cast<std::ptrdiff_t>(hn::Lanes(d32));
  const std::ptrdiff_t loadBytes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  constexpr uint8_t Z = 0x80;
  constexpr uint8_t C = Channels;
  alignas(16) static constexpr uint8_t kFirstTwo[16] = {
      0, Z, 1, Z, C, Z, C + 1, Z, 2 * C, Z, 2 * C + 1, Z, 3 * C, Z, 3 * C + 1, Z};
  alignas(16) static constexpr uint8_t kThird[16] = {2,         Z, Z, Z, C + 2,     Z, Z, Z,
                                                     2 * C + 2, Z, Z, Z, 3 * C + 2, Z, Z, Z};
  const auto firstTwo = hn::LoadDup128(d8, kFirstTwo);
  const auto third = hn::LoadDup128(d8, kThird);
  // Block b takes the 32-bit words from pixel 4b on: 3 words per block of 3-byte pixels.
  HWY_ALIGN uint32_t window[hn::MaxLanes(du32)];
  for (std::ptrdiff_t i = 0; i < pixels; ++i)
    window[i] = static_cast<uint32_t>(i / 4 * Channels + i % 4);
  const auto windowIndices = hn::SetTableIndices(du32, window);
  const auto w01 = hn::BitCast(
      d16, hn::Set(d32, static_cast<int32_t>((static_cast<uint32_t>(weights.w1) << 16) |
                                             (static_cast<uint32_t>(weights.w0) & 0xFFFF))));
  const auto w2 = hn::BitCast(d16, hn::Set(d32, weights.w2 & 0xFFFF));
  const auto zero = hn::Zero(d32);
#if HWY_TARGET == HWY_AVX3_DL
  std::ptrdiff_t x = GrayDotProducts<Channels>(src, dst, width, weights, stream);
#else
  (void)stream;
  std::ptrdiff_t x = 0;
#endif
  for (; Channels * x + loadBytes <= Channels * width; x += pixels) {
    PrefetchAhead<Channels * hn::MaxLanes(d32)>(src + Channels * x);
    auto bytes = hn::LoadU(d8, src + Channels * x);
    if constexpr (Channels == 3)
      bytes = hn::BitCast(d8, hn::TableLookupLanes(hn::BitCast(du32, bytes), windowIndices));
    auto sum1 = zero, sum2 = zero;
    auto sum0 = hn::ReorderWidenMulAccumulate(
        d32, hn::BitCast(d16, hn::TableLookupBytesOr0(bytes, firstTwo)), w01, zero, sum1);
    sum0 = hn::ReorderWidenMulAccumulate(
        d32, hn::BitCast(d16, hn::TableLookupBytesOr0(bytes, third)), w2, sum0, sum2);
    const auto sum = hn::RearrangeToOddPlusEven(sum0, hn::Add(sum1, sum2));
    hn::StoreU(hn::DemoteTo(dOut, hn::ShiftRight<12>(sum)), dOut, dst + x);
  }
  return x;
}

#endif  // QX_COLOR_VECTORS

// --- Whole images ---------------------------------------------------------------------

void YuvToRgbImage(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size) {
  // Rows run together only when no pair straddles two of them.
  const std::ptrdiff_t yuvRow = size.width % 2 == 0 ? 2 * std::ptrdiff_t{size.width} : -1;
  detail::ForEachRun(size, {{srcStep, yuvRow}, {dstStep, 3 * std::ptrdiff_t{size.width}}},
                     [&](int y, std::ptrdiff_t width) {
                       const Ipp8u* yuv = detail::RowOf(src, srcStep, y);
                       Ipp8u* rgb = detail::RowOf(dst, dstStep, y);
                       std::ptrdiff_t x = 0;
#if QX_COLOR_VECTORS
                       x = YuvToRgbVectors(yuv, rgb, width);
#endif
                       detail::YuvToRgbRow(yuv, rgb, static_cast<int>(x), static_cast<int>(width));
                     });
}

void RgbToYuvImage(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size) {
  const std::ptrdiff_t yuvRow = size.width % 2 == 0 ? 2 * std::ptrdiff_t{size.width} : -1;
  detail::ForEachRun(size, {{srcStep, 3 * std::ptrdiff_t{size.width}}, {dstStep, yuvRow}},
                     [&](int y, std::ptrdiff_t width) {
                       const Ipp8u* rgb = detail::RowOf(src, srcStep, y);
                       Ipp8u* yuv = detail::RowOf(dst, dstStep, y);
                       std::ptrdiff_t x = 0;
#if QX_COLOR_VECTORS
                       x = RgbToYuvVectors(rgb, yuv, width);
#endif
                       detail::RgbToYuvRow(rgb, yuv, static_cast<int>(x), static_cast<int>(width));
                     });
}

// Large images stream the gray out (see StreamingStores.h); so far only the
// version with byte dot products does.
template <int Channels>
void GrayImage(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
               const detail::GrayWeights& weights) {
  const std::size_t pixels =
      static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
  const bool stream = (Channels + 1) * pixels >= detail::kStreamingBytes;  // bytes read and written
  detail::ForEachRun(size,
                     {{srcStep, Channels * std::ptrdiff_t{size.width}}, {dstStep, size.width}},
                     [&](int y, std::ptrdiff_t width) {
                       const Ipp8u* in = detail::RowOf(src, srcStep, y);
                       Ipp8u* out = detail::RowOf(dst, dstStep, y);
                       std::ptrdiff_t x = 0;
#if QX_COLOR_VECTORS
                       x = GrayVectors<Channels>(in, out, width, weights, stream);
#endif
                       detail::GrayRow(in + Channels * x, out + x, width - x, Channels, weights);
                     });
  if (stream) hwy::FlushStream();
}

void GrayImageC3(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
                 const detail::GrayWeights& weights) {
  GrayImage<3>(src, srcStep, dst, dstStep, size, weights);
}

void GrayImageAC4(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
                  const detail::GrayWeights& weights) {
  GrayImage<4>(src, srcStep, dst, dstStep, size, weights);
}

}  // namespace qx::fallback::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace qx::fallback {

HWY_EXPORT(YuvToRgbImage);
HWY_EXPORT(RgbToYuvImage);
HWY_EXPORT(GrayImageC3);
HWY_EXPORT(GrayImageAC4);

IppStatus ippiYUV422ToRGB_8u_C2C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize) {
  if (IppStatus status = detail::CheckImagesAndSize({pSrc, pDst}, roiSize); status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(YuvToRgbImage)(pSrc, srcStep, pDst, dstStep, roiSize);
  return ippStsNoErr;
}

IppStatus ippiRGBToYUV422_8u_C3C2R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize) {
  if (IppStatus status = detail::CheckImagesAndSize({pSrc, pDst}, roiSize); status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(RgbToYuvImage)(pSrc, srcStep, pDst, dstStep, roiSize);
  return ippStsNoErr;
}

IppStatus ippiColorToGray_8u_C3C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize, const Ipp32f* coeffs) {
  if (IppStatus status = detail::CheckImagesAndSize({pSrc, pDst}, roiSize); status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(GrayImageC3)
  (pSrc, srcStep, pDst, dstStep, roiSize, detail::GrayWeightsOf(coeffs));
  return ippStsNoErr;
}

IppStatus ippiColorToGray_8u_AC4C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                    IppiSize roiSize, const Ipp32f* coeffs) {
  if (IppStatus status = detail::CheckImagesAndSize({pSrc, pDst}, roiSize); status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(GrayImageAC4)
  (pSrc, srcStep, pDst, dstStep, roiSize, detail::GrayWeightsOf(coeffs));
  return ippStsNoErr;
}

}  // namespace qx::fallback
#endif  // HWY_ONCE
