// The Sobel kernels, as two separable passes per output row.
//
// The column pass combines the 3 or 5 source rows around the output row into
// one signed 16-bit row (a difference across rows for Horiz, a smoothing for
// Vert); the row pass combines neighbouring samples of that row (smoothing for
// Horiz, a difference for Vert) into the destination. Every intermediate fits
// 16 bits: the column pass yields at most 16 * 255 and the row pass at most
// 12240 in magnitude. Pixels outside the region are never read: rows outside
// it are replaced by the rows the border type designates (or by a row of the
// border value), and the columns outside it are filled into the intermediate
// row, which works because the border types treat rows and columns alike.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/filter/SobelFilter.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// Must come after foreach_target.h.
#include "dispatch/filter/BlockLoop-inl.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Binomial smoothing [1 2 1] or [1 4 6 4 1]; tap(k) is the sample at offset k.
template <int kRadius, class D, class Tap>
HWY_INLINE hn::Vec<D> Smooth(D d, const Tap& tap) {
  if constexpr (kRadius == 1) {
    return hn::Add(hn::Add(tap(-1), tap(1)), hn::ShiftLeft<1>(tap(0)));
  } else {
    const auto outer = hn::Add(tap(-2), tap(2));
    const auto inner = hn::ShiftLeft<2>(hn::Add(tap(-1), tap(1)));
    return hn::Add(hn::Add(outer, inner), hn::Mul(tap(0), hn::Set(d, 6)));
  }
}

// Derivative [-1 0 1] or [-1 -2 0 2 1]: the positive offsets minus the negative ones.
template <int kRadius, class D, class Tap>
HWY_INLINE hn::Vec<D> Differentiate(D /*d*/, const Tap& tap) {
  const auto near = hn::Sub(tap(1), tap(-1));
  if constexpr (kRadius == 1) {
    return near;
  } else {
    return hn::Add(hn::ShiftLeft<1>(near), hn::Sub(tap(2), tap(-2)));
  }
}

// rows[0 .. 2 * kRadius] are the source rows from top to bottom; writes the
// column pass of `width` samples to mid.
template <int kRadius, bool kAcrossRows>
void ColumnPass(const std::uint8_t* const* rows, std::int16_t* mid, std::size_t width) {
  ForEachBlock(hn::ScalableTag<std::int16_t>(), width, [&](auto d, std::size_t i) {
    const hn::Rebind<std::uint8_t, decltype(d)> d8;
    const auto tap = [&](int k) { return hn::PromoteTo(d, hn::LoadU(d8, rows[kRadius + k] + i)); };
    if constexpr (kAcrossRows) {
      hn::StoreU(Differentiate<kRadius>(d, tap), d, mid + i);  // below minus above
    } else {
      hn::StoreU(Smooth<kRadius>(d, tap), d, mid + i);
    }
  });
}

// mid[-kRadius .. width + kRadius) is the column pass of the bordered image;
// writes the `width` results to dst.
template <int kRadius, bool kAcrossRows>
void RowPass(const std::int16_t* mid, std::int16_t* dst, std::size_t width) {
  ForEachBlock(hn::ScalableTag<std::int16_t>(), width, [&](auto d, std::size_t i) {
    if constexpr (kAcrossRows) {
      const auto tap = [&](int k) { return hn::LoadU(d, mid + i + k); };
      hn::StoreU(Smooth<kRadius>(d, tap), d, dst + i);
    } else {
      const auto mirrored = [&](int k) { return hn::LoadU(d, mid + i - k); };
      hn::StoreU(Differentiate<kRadius>(d, mirrored), d, dst + i);  // left minus right
    }
  });
}

void SobelColumnPass(const std::uint8_t* const* rows, std::int16_t* mid, std::size_t width,
                     int radius, bool acrossRows) {
  if (radius == 1) {
    acrossRows ? ColumnPass<1, true>(rows, mid, width) : ColumnPass<1, false>(rows, mid, width);
  } else {
    acrossRows ? ColumnPass<2, true>(rows, mid, width) : ColumnPass<2, false>(rows, mid, width);
  }
}

void SobelRowPass(const std::int16_t* mid, std::int16_t* dst, std::size_t width, int radius,
                  bool acrossRows) {
  if (radius == 1) {
    acrossRows ? RowPass<1, true>(mid, dst, width) : RowPass<1, false>(mid, dst, width);
  } else {
    acrossRows ? RowPass<2, true>(mid, dst, width) : RowPass<2, false>(mid, dst, width);
  }
}

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "dispatch/filter/FilterFallbacks.h"

namespace qx::fallback {
namespace detail {

HWY_EXPORT(SobelColumnPass);
HWY_EXPORT(SobelRowPass);

namespace {

constexpr int kMaxRadius = 2;

// The mask radius of a known mask code, or 0.
int MaskRadius(IppiMaskSize mask) {
  if (mask == ippMskSize3x3) return 1;
  if (mask == ippMskSize5x5) return 2;
  return 0;
}

// The index in [0, n) that supplies index i (at most kMaxRadius outside the
// range) under a replicating, wrapping or mirroring border; the reflections
// and the wrap are periodic so that any n >= 1 works.
int BorderIndex(int i, int n, IppiBorderType border) {
  if (i >= 0 && i < n) return i;
  switch (border) {
    case ippBorderWrap:
      return ((i % n) + n) % n;
    case ippBorderMirror: {  // period 2 (n - 1), the edge pixel is the mirror
      if (n == 1) return 0;
      const int period = 2 * (n - 1);
      const int t = ((i % period) + period) % period;
      return t < n ? t : period - t;
    }
    case ippBorderMirrorR: {  // period 2 n, the edge pixel is repeated
      const int period = 2 * n;
      const int t = ((i % period) + period) % period;
      return t < n ? t : period - 1 - t;
    }
    default:  // ippBorderRepl
      return std::clamp(i, 0, n - 1);
  }
}

// Scratch of the passes: 31 bytes to align the start, a row of the border
// value, then the intermediate row with room for the border columns.
std::int64_t PassScratchBytes(int width) {
  const std::int64_t constantRow = (std::int64_t{width} + 31) / 32 * 32;
  return 31 + constantRow + 2 * (std::int64_t{width} + 2 * kMaxRadius);
}

IppStatus CheckSobel(const Ipp8u* pSrc, int srcStep, const Ipp16s* pDst, int dstStep, IppiSize size,
                     IppiMaskSize mask, IppiBorderType border, const Ipp8u* pBuffer) {
  if (pSrc == nullptr || pDst == nullptr || pBuffer == nullptr) return ippStsNullPtrErr;
  if (size.width < 1 || size.height < 1) return ippStsSizeErr;
  if (srcStep < size.width) return ippStsStepErr;
  if (dstStep < 2 * std::int64_t{size.width}) return ippStsStepErr;
  if (dstStep % 2 != 0) return ippStsNotEvenStepErr;
  if (border < ippBorderConst || border > ippBorderMirrorR) return ippStsBadArgErr;
  if (MaskRadius(mask) == 0) return ippStsMaskSizeErr;
  return ippStsNoErr;
}

IppStatus FilterSobel(const Ipp8u* pSrc, int srcStep, Ipp16s* pDst, int dstStep, IppiSize size,
                      IppiMaskSize mask, IppiBorderType border, Ipp8u borderValue, Ipp8u* pBuffer,
                      bool acrossRows) {
  const IppStatus status = CheckSobel(pSrc, srcStep, pDst, dstStep, size, mask, border, pBuffer);
  if (status != ippStsNoErr) return status;

  const int radius = MaskRadius(mask);
  const int width = size.width;
  const auto aligned = (reinterpret_cast<std::uintptr_t>(pBuffer) + 31) & ~std::uintptr_t{31};
  auto* constantRow = reinterpret_cast<Ipp8u*>(aligned);
  auto* mid =
      reinterpret_cast<Ipp16s*>(constantRow + (static_cast<std::size_t>(width) + 31) / 32 * 32) +
      radius;
  const bool constant = border == ippBorderConst;
  if (constant) std::fill(constantRow, constantRow + width, borderValue);

  // Border columns of the intermediate row: copies of the columns they stand
  // for, or the column pass of a constant column (its kernel's weight sum,
  // 0 for a difference, times the border value).
  const int columnWeights = acrossRows ? 0 : (radius == 1 ? 4 : 16);
  const auto constantColumn = static_cast<Ipp16s>(columnWeights * borderValue);
  const auto fillBorderColumns = [&] {
    for (int k = 1; k <= radius; ++k) {
      mid[-k] = constant ? constantColumn : mid[BorderIndex(-k, width, border)];
      mid[width - 1 + k] =
          constant ? constantColumn : mid[BorderIndex(width - 1 + k, width, border)];
    }
  };

  const Ipp8u* rows[2 * kMaxRadius + 1];
  for (int y = 0; y < size.height; ++y) {
    for (int k = -radius; k <= radius; ++k) {
      const int r = y + k;
      const bool inside = r >= 0 && r < size.height;
      rows[radius + k] =
          !inside && constant
              ? constantRow
              : pSrc + static_cast<std::ptrdiff_t>(BorderIndex(r, size.height, border)) * srcStep;
    }
    HWY_DYNAMIC_DISPATCH(SobelColumnPass)
    (rows, mid, static_cast<std::size_t>(width), radius, acrossRows);
    fillBorderColumns();
    auto* dstRow = reinterpret_cast<Ipp16s*>(reinterpret_cast<Ipp8u*>(pDst) +
                                             static_cast<std::ptrdiff_t>(y) * dstStep);
    HWY_DYNAMIC_DISPATCH(SobelRowPass)
    (mid, dstRow, static_cast<std::size_t>(width), radius, acrossRows);
  }
  return ippStsNoErr;
}

IppStatus SobelBufferSize(IppiSize size, IppiMaskSize mask, int* pBufferSize) {
  if (pBufferSize == nullptr) return ippStsNullPtrErr;
  if (size.width < 1 || size.height < 1) return ippStsSizeErr;
  const int radius = MaskRadius(mask);
  if (radius == 0) return ippStsMaskSizeErr;
  const std::int64_t k = 2 * radius + 1;
  const std::int64_t width16 = (std::int64_t{size.width} + 15) / 16 * 16;
  const std::int64_t bytes =
      2 * width16 * (2 * k + 15) + 4 * (3 * k + 30) + 64 + PassScratchBytes(size.width);
  if (bytes > INT_MAX) return ippStsSizeErr;
  *pBufferSize = static_cast<int>(bytes);
  return ippStsNoErr;
}

}  // namespace
}  // namespace detail

IppStatus ippiFilterSobelHorizBorder_8u16s_C1R(const Ipp8u* pSrc, int srcStep, Ipp16s* pDst,
                                               int dstStep, IppiSize dstRoiSize,
                                               IppiMaskSize maskSize, IppiBorderType borderType,
                                               Ipp8u borderValue, Ipp8u* pBuffer) {
  return detail::FilterSobel(pSrc, srcStep, pDst, dstStep, dstRoiSize, maskSize, borderType,
                             borderValue, pBuffer, /*acrossRows=*/true);
}

IppStatus ippiFilterSobelVertBorder_8u16s_C1R(const Ipp8u* pSrc, int srcStep, Ipp16s* pDst,
                                              int dstStep, IppiSize dstRoiSize,
                                              IppiMaskSize maskSize, IppiBorderType borderType,
                                              Ipp8u borderValue, Ipp8u* pBuffer) {
  return detail::FilterSobel(pSrc, srcStep, pDst, dstStep, dstRoiSize, maskSize, borderType,
                             borderValue, pBuffer, /*acrossRows=*/false);
}

IppStatus ippiFilterSobelHorizGetBufferSize_8u16s_C1R(IppiSize dstRoiSize, IppiMaskSize maskSize,
                                                      int* pBufferSize) {
  return detail::SobelBufferSize(dstRoiSize, maskSize, pBufferSize);
}

IppStatus ippiFilterSobelVertGetBufferSize_8u16s_C1R(IppiSize dstRoiSize, IppiMaskSize maskSize,
                                                     int* pBufferSize) {
  return detail::SobelBufferSize(dstRoiSize, maskSize, pBufferSize);
}

}  // namespace qx::fallback

#endif  // HWY_ONCE
