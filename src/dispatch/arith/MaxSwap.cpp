// Max of a region and the 16-bit byte swaps.
#include <algorithm>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/arith/MaxSwap.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// The lines above compile this file once per instruction set.
#include "dispatch/arith/ByteRegion.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// The largest byte of the rows; rows after the first one holding 255 are not
// read.
uint8_t LargestByte(Rows<const uint8_t> rows, std::size_t width, std::size_t height) {
  const hn::ScalableTag<uint8_t> d;
  const std::size_t lanes = hn::Lanes(d);
  uint8_t largest = 0;
  for (std::size_t y = 0; y < height && largest < 255; ++y) {
    const uint8_t* row = rows.Row(y);
    auto maxima = hn::Zero(d);
    std::size_t x = 0;
    for (; x + lanes <= width; x += lanes) maxima = hn::Max(maxima, hn::LoadU(d, row + x));
    HWY_ALIGN uint8_t lanesMaxima[HWY_MAX_BYTES];
    hn::Store(maxima, d, lanesMaxima);
    for (std::size_t lane = 0; lane < lanes; ++lane) largest = std::max(largest, lanesMaxima[lane]);
    for (; x < width; ++x) largest = std::max(largest, row[x]);
  }
  return largest;
}

void SwapBytePairs(const uint16_t* src, uint16_t* dst, std::size_t count) {
  const hn::ScalableTag<uint16_t> d;
  const std::size_t lanes = hn::Lanes(d);
  std::size_t i = 0;
  for (; i + lanes <= count; i += lanes) {
    const auto words = hn::LoadU(d, src + i);
    hn::StoreU(hn::Or(hn::ShiftLeft<8>(words), hn::ShiftRight<8>(words)), d, dst + i);
  }
  for (; i < count; ++i) dst[i] = static_cast<uint16_t>((src[i] << 8) | (src[i] >> 8));
}

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "dispatch/arith/ArithChecks.h"
#include "dispatch/arith/ArithFallbacks.h"

namespace qx::fallback {
namespace detail {

HWY_EXPORT(LargestByte);
HWY_EXPORT(SwapBytePairs);

}  // namespace detail

using namespace detail;

IppStatus ippiMax_8u_C1R(const Ipp8u* pSrc, int srcStep, IppiSize roiSize, Ipp8u* pMax) {
  if (IppStatus status = CheckNullSizeStep({pSrc, pMax}, roiSize, {srcStep}); status != ippStsNoErr)
    return status;
  *pMax = HWY_DYNAMIC_DISPATCH(LargestByte)(Rows<const Ipp8u>{pSrc, srcStep},
                                            static_cast<std::size_t>(roiSize.width),
                                            static_cast<std::size_t>(roiSize.height));
  return ippStsNoErr;
}

IppStatus ippsSwapBytes_16u(const Ipp16u* pSrc, Ipp16u* pDst, int len) {
  if (IppStatus status = CheckVector({pSrc, pDst}, len); status != ippStsNoErr) return status;
  HWY_DYNAMIC_DISPATCH(SwapBytePairs)(pSrc, pDst, static_cast<std::size_t>(len));
  return ippStsNoErr;
}

IppStatus ippsSwapBytes_16u_I(Ipp16u* pSrcDst, int len) {
  return ippsSwapBytes_16u(pSrcDst, pSrcDst, len);
}

}  // namespace qx::fallback
#endif  // HWY_ONCE
