// The Wiener kernels.
//
// The window sums are kept per output sample rather than per source column:
// for each source row entering the window its horizontal window sums are
// added, and those of the row leaving it subtracted, both computed straight
// from the source. So the scratch is two int32 rows (sums and sums of
// squares) of the region's width, whatever the mask width, which stays within
// the size ippiFilterWienerGetBufferSize reports. Integer sums are exact,
// which makes the result independent of the order of accumulation and so the
// same on every instruction set.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/filter/WienerFilter.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// Must come after foreach_target.h.
#include "dispatch/filter/BlockLoop-inl.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Adds to sums[i] and squares[i] the sum and the sum of squares of
// entering[i + k * stride] for k < maskWidth, and, when `leaving` is not null,
// subtracts the same sums taken from `leaving`.
void SlideWindowRow(const std::uint8_t* entering, const std::uint8_t* leaving, std::int32_t* sums,
                    std::int32_t* squares, std::size_t elements, std::size_t maskWidth,
                    std::size_t stride) {
  ForEachBlock(hn::ScalableTag<std::int32_t>(), elements, [&](auto d, std::size_t i) {
    const hn::Rebind<std::uint8_t, decltype(d)> d8;
    auto sum = hn::Zero(d);
    auto square = hn::Zero(d);
    for (std::size_t k = 0; k < maskWidth; ++k) {
      const auto in = hn::PromoteTo(d, hn::LoadU(d8, entering + i + k * stride));
      sum = hn::Add(sum, in);
      square = hn::Add(square, hn::Mul(in, in));
      if (leaving != nullptr) {
        const auto out = hn::PromoteTo(d, hn::LoadU(d8, leaving + i + k * stride));
        sum = hn::Sub(sum, out);
        square = hn::Sub(square, hn::Mul(out, out));
      }
    }
    hn::StoreU(hn::Add(hn::LoadU(d, sums + i), sum), d, sums + i);
    hn::StoreU(hn::Add(hn::LoadU(d, squares + i), square), d, squares + i);
  });
}

// Filters one row of `elements` samples: sums/squares are the window sums of
// each sample, source the samples themselves. Sample i belongs to channel
// i % period and is pulled towards its mean according to scaledNoise[channel]
// (noise * 65025 * N). With skipFourth, every fourth destination byte (alpha)
// is left untouched.
void WienerOutputRow(const std::int32_t* sums, const std::int32_t* squares,
                     const std::uint8_t* source, std::uint8_t* destination, std::size_t elements,
                     std::size_t period, const float* scaledNoise, float windowPixels,
                     bool skipFourth) {
  // The noise of lane j of a block starting at sample i is pattern[i % period + j].
  constexpr std::size_t kMaxFloatLanes = HWY_MAX_BYTES / sizeof(float);
  HWY_ALIGN float pattern[kMaxFloatLanes + 4];
  for (std::size_t j = 0; j < kMaxFloatLanes + 4; ++j) pattern[j] = scaledNoise[j % period];

  ForEachBlock(hn::ScalableTag<float>(), elements, [&](auto d, std::size_t i) {
    const hn::RebindToSigned<decltype(d)> di;
    const hn::Rebind<std::uint8_t, decltype(d)> d8;
    const auto n = hn::Set(d, windowPixels);
    const auto sum = hn::ConvertTo(d, hn::LoadU(di, sums + i));
    const auto square = hn::ConvertTo(d, hn::LoadU(di, squares + i));
    const auto mean = hn::Div(sum, n);
    const auto noise = hn::LoadU(d, pattern + i % period);
    const auto variance = hn::Max(hn::Sub(square, hn::Div(hn::Mul(sum, sum), n)), noise);
    // variance is 0 only where the noise is 0 too: the factor is then 0 / 1.
    const auto divisor = hn::IfThenElse(hn::Eq(variance, hn::Zero(d)), hn::Set(d, 1.0f), variance);
    const auto factor = hn::Div(hn::Sub(variance, noise), divisor);
    const auto sample = hn::ConvertTo(d, hn::PromoteTo(di, hn::LoadU(d8, source + i)));
    const auto filtered = hn::Add(mean, hn::Mul(factor, hn::Sub(sample, mean)));
    const auto bytes = hn::DemoteTo(d8, hn::ConvertTo(di, filtered));
    if (!skipFourth) {
      hn::StoreU(bytes, d8, destination + i);
      return;
    }
    HWY_ALIGN std::uint8_t lanes[kMaxFloatLanes];
    hn::StoreU(bytes, d8, lanes);
    for (std::size_t j = 0; j < hn::Lanes(d); ++j) {
      if ((i + j) % 4 != 3) destination[i + j] = lanes[j];
    }
  });
}

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "dispatch/filter/FilterFallbacks.h"

namespace qx::fallback {
namespace detail {

HWY_EXPORT(SlideWindowRow);
HWY_EXPORT(WienerOutputRow);

namespace {

// Largest mask whose window sum of squares (at most 65025 per pixel) fits an int32.
constexpr std::int64_t kMaxMaskPixels = INT32_MAX / 65025;

// Bytes per pixel in memory, and how many of them are filtered.
struct PixelLayout {
  int bytes;
  int channels;
};
constexpr PixelLayout kC1{1, 1};
constexpr PixelLayout kC3{3, 3};
constexpr PixelLayout kAC4{4, 3};

// The window sums of a call, slid down the region one row at a time.
class SlidingWindow {
 public:
  SlidingWindow(const Ipp8u* src, int srcStep, IppiSize size, IppiSize mask, IppiPoint anchor,
                PixelLayout layout, Ipp8u* buffer)
      : fStep(srcStep),
        fMaskWidth(static_cast<std::size_t>(mask.width)),
        fMaskHeight(mask.height),
        fStride(static_cast<std::size_t>(layout.bytes)),
        fElements(static_cast<std::size_t>(size.width) * fStride),
        fHeight(size.height) {
    // Top-left source pixel of the window of output pixel (0, 0).
    fOrigin = src - static_cast<std::ptrdiff_t>(mask.height - 1 - anchor.y) * srcStep -
              static_cast<std::ptrdiff_t>(mask.width - 1 - anchor.x) * layout.bytes;
    const auto aligned = (reinterpret_cast<std::uintptr_t>(buffer) + 15) & ~std::uintptr_t{15};
    fSums = reinterpret_cast<std::int32_t*>(aligned);
    fSquares = fSums + fElements;
  }

  std::size_t Elements() const { return fElements; }
  const std::int32_t* Sums() const { return fSums; }
  const std::int32_t* Squares() const { return fSquares; }

  // Calls perRow(y) for every output row y, with Sums() and Squares() holding
  // the window sums of that row.
  template <class PerRow>
  void Sweep(const PerRow& perRow) {
    std::fill(fSums, fSquares + fElements, 0);
    for (int r = 0; r < fMaskHeight; ++r) Slide(WindowRow(r), nullptr);
    for (int y = 0; y < fHeight; ++y) {
      if (y > 0) Slide(WindowRow(y + fMaskHeight - 1), WindowRow(y - 1));
      perRow(y);
    }
  }

 private:
  const Ipp8u* WindowRow(int r) const { return fOrigin + static_cast<std::ptrdiff_t>(r) * fStep; }
  void Slide(const Ipp8u* entering, const Ipp8u* leaving) {
    HWY_DYNAMIC_DISPATCH(SlideWindowRow)
    (entering, leaving, fSums, fSquares, fElements, fMaskWidth, fStride);
  }

  const Ipp8u* fOrigin;
  std::ptrdiff_t fStep;
  std::size_t fMaskWidth;
  int fMaskHeight;
  std::size_t fStride;
  std::size_t fElements;
  int fHeight;
  std::int32_t* fSums;
  std::int32_t* fSquares;
};

// The average local variance of each channel over the region, on the 0..1
// scale: the mean of (N * Q - S * S) / (N * N) over all windows, / 65025.
// Each row's total is an exact integer and the rows are added in order, so
// the estimate does not depend on how the samples were grouped into vectors.
std::array<float, 4> EstimateNoise(SlidingWindow& window, IppiSize size, PixelLayout layout,
                                   std::int64_t windowPixels) {
  std::array<double, 4> totals{};
  const auto n = static_cast<std::uint64_t>(windowPixels);
  window.Sweep([&](int) {
    const std::int32_t* sums = window.Sums();
    const std::int32_t* squares = window.Squares();
    std::array<std::uint64_t, 4> row{};
    for (std::size_t pixel = 0; pixel < window.Elements(); pixel += layout.bytes) {
      for (int c = 0; c < layout.channels; ++c) {
        const auto s = static_cast<std::uint64_t>(sums[pixel + c]);
        const auto q = static_cast<std::uint64_t>(squares[pixel + c]);
        row[c] += n * q - s * s;  // N times the window's variance times N, never negative
      }
    }
    for (int c = 0; c < layout.channels; ++c) totals[c] += static_cast<double>(row[c]);
  });
  std::array<float, 4> estimate{};
  const double samples = static_cast<double>(size.width) * size.height;
  const double nn = static_cast<double>(windowPixels) * static_cast<double>(windowPixels);
  for (int c = 0; c < layout.channels; ++c)
    estimate[c] = static_cast<float>(totals[c] / nn / samples / 65025.0);
  return estimate;
}

IppStatus CheckWiener(const Ipp8u* pSrc, int srcStep, const Ipp8u* pDst, int dstStep, IppiSize size,
                      IppiSize mask, IppiPoint anchor, const Ipp32f* noise, const Ipp8u* pBuffer,
                      int channels) {
  if (pSrc == nullptr || pDst == nullptr || noise == nullptr || pBuffer == nullptr)
    return ippStsNullPtrErr;
  if (size.width < 1 || size.height < 1) return ippStsSizeErr;
  if (mask.width < 2 || mask.height < 2 ||
      static_cast<std::int64_t>(mask.width) * mask.height > kMaxMaskPixels)
    return ippStsMaskSizeErr;
  if (anchor.x < 0 || anchor.x >= mask.width || anchor.y < 0 || anchor.y >= mask.height)
    return ippStsAnchorErr;
  if (srcStep < 1 || dstStep < 1) return ippStsStepErr;
  for (int c = 0; c < channels; ++c) {
    // Written so that a NaN fails too.
    if (!(noise[c] >= 0.0f && noise[c] < 1.0f)) return ippStsNoiseRangeErr;
  }
  return ippStsNoErr;
}

IppStatus FilterWiener(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize size,
                       IppiSize mask, IppiPoint anchor, Ipp32f noise[], Ipp8u* pBuffer,
                       PixelLayout layout) {
  const IppStatus status = CheckWiener(pSrc, srcStep, pDst, dstStep, size, mask, anchor, noise,
                                       pBuffer, layout.channels);
  if (status != ippStsNoErr) return status;

  const std::int64_t windowPixels = static_cast<std::int64_t>(mask.width) * mask.height;
  SlidingWindow window(pSrc, srcStep, size, mask, anchor, layout, pBuffer);

  constexpr float kEpsilon = std::numeric_limits<float>::epsilon();
  const bool estimate =
      std::any_of(noise, noise + layout.channels, [](float level) { return level < kEpsilon; });
  if (estimate) {
    const std::array<float, 4> estimated = EstimateNoise(window, size, layout, windowPixels);
    for (int c = 0; c < layout.channels; ++c) {
      if (noise[c] < kEpsilon) noise[c] = estimated[c];
    }
  }

  const float n = static_cast<float>(windowPixels);
  float scaledNoise[4] = {};  // the alpha lane of AC4 stays 0: it is computed, never stored
  for (int c = 0; c < layout.channels; ++c) scaledNoise[c] = noise[c] * 65025.0f * n;
  const bool skipAlpha = layout.bytes != layout.channels;
  window.Sweep([&](int y) {
    HWY_DYNAMIC_DISPATCH(WienerOutputRow)
    (window.Sums(), window.Squares(), pSrc + static_cast<std::ptrdiff_t>(y) * srcStep,
     pDst + static_cast<std::ptrdiff_t>(y) * dstStep, window.Elements(),
     static_cast<std::size_t>(layout.bytes), scaledNoise, n, skipAlpha);
  });
  return ippStsNoErr;
}

}  // namespace
}  // namespace detail

IppStatus ippiFilterWiener_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                  IppiSize dstRoiSize, IppiSize maskSize, IppiPoint anchor,
                                  Ipp32f noise[], Ipp8u* pBuffer) {
  return detail::FilterWiener(pSrc, srcStep, pDst, dstStep, dstRoiSize, maskSize, anchor, noise,
                              pBuffer, detail::kC1);
}

IppStatus ippiFilterWiener_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                  IppiSize dstRoiSize, IppiSize maskSize, IppiPoint anchor,
                                  Ipp32f noise[], Ipp8u* pBuffer) {
  return detail::FilterWiener(pSrc, srcStep, pDst, dstStep, dstRoiSize, maskSize, anchor, noise,
                              pBuffer, detail::kC3);
}

IppStatus ippiFilterWiener_8u_AC4R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize dstRoiSize, IppiSize maskSize, IppiPoint anchor,
                                   Ipp32f noise[], Ipp8u* pBuffer) {
  return detail::FilterWiener(pSrc, srcStep, pDst, dstStep, dstRoiSize, maskSize, anchor, noise,
                              pBuffer, detail::kAC4);
}

IppStatus ippiFilterWienerGetBufferSize(IppiSize dstRoiSize, IppiSize maskSize, int channels,
                                        int* pBufferSize) {
  if (pBufferSize == nullptr) return ippStsNullPtrErr;
  if (dstRoiSize.width < 1 || dstRoiSize.height < 1) return ippStsSizeErr;
  if (channels != 1 && channels != 3 && channels != 4) return ippStsNumChannelsErr;
  if (maskSize.width < 2 || maskSize.height < 2) return ippStsMaskSizeErr;
  const std::int64_t k = channels == 1 ? std::int64_t{dstRoiSize.width} + maskSize.width + 6
                                       : std::int64_t{dstRoiSize.width} * channels + 6;
  const std::int64_t bytes = 64 * (k / 4) + 15;
  if (bytes > INT_MAX) return ippStsSizeErr;
  *pBufferSize = static_cast<int>(bytes);
  return ippStsNoErr;
}

}  // namespace qx::fallback

#endif  // HWY_ONCE
