// SIMD kernels of alpha compositing, with constant alphas (every byte alike)
// and with per-pixel alphas (byte 3 of each 4-byte pixel).
//
// The formulas run in 16-bit lanes, on the even and on the odd bytes of a vector
// in turn, so that splitting the bytes and joining the results takes a mask or a
// shift each and no shuffles. Every product is of two bytes. One template per
// compositing type keeps the type's choice out of the inner loop.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/color/CompositeKernels.cpp"
// clang-format off
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
// clang-format on

#include <utility>

#include "dispatch/color/ColorChecks.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorPixels.h"
#include "dispatch/color/ColorRuns.h"
#include "dispatch/color/SimdHelpers.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Calls body(std::integral_constant<int, type>{}) for the run-time compositing type.
template <class Body>
void WithType(IppiAlphaType type, Body body) {
  [&]<int... kTypes>(std::integer_sequence<int, kTypes...>) {
    ((type == kTypes ? body(std::integral_constant<int, kTypes>{}) : void()), ...);
  }
  (std::make_integer_sequence<int, 12>{});
}

#if QX_COLOR_VECTORS

using D8 = hn::ScalableTag<uint8_t>;
using V8 = hn::Vec<D8>;
using DU16 = hn::Repartition<uint16_t, D8>;
using VU16 = hn::Vec<DU16>;

// (x + (x >> 8) + 1) >> 8, which equals x / 255 rounded down for every x up to 65534, and
// so does (x * 0x8081) >> 23: the product of two bytes is at most 65025.
HWY_INLINE VU16 Div255(VU16 x) {
  return hn::ShiftRight<7>(hn::MulHigh(x, hn::Set(DU16(), 0x8081)));
}

HWY_INLINE VU16 Saturate(VU16 x) { return hn::Min(x, hn::Set(DU16(), 255)); }

// One compositing formula on bytes held in 16-bit lanes.
template <int kType>
HWY_INLINE VU16 CompositeLanes(VU16 s1, VU16 s2, VU16 a1, VU16 a2) {
  const VU16 full = hn::Set(DU16(), 255);
  const VU16 rest1 = hn::Sub(full, a1);  // 255 - a1
  const VU16 rest2 = hn::Sub(full, a2);  // 255 - a2
  const auto weighted = [](VU16 s, VU16 a) { return Div255(hn::Mul(s, a)); };
  if constexpr (kType == ippAlphaOver) {
    return hn::Add(weighted(s1, a1), weighted(weighted(s2, a2), rest1));
  } else if constexpr (kType == ippAlphaIn) {
    return weighted(weighted(s1, a1), a2);
  } else if constexpr (kType == ippAlphaOut) {
    return weighted(weighted(s1, a1), rest2);
  } else if constexpr (kType == ippAlphaATop) {
    return hn::Add(weighted(weighted(s1, a1), a2), weighted(weighted(s2, a2), rest1));
  } else if constexpr (kType == ippAlphaXor) {
    return hn::Add(weighted(weighted(s1, a1), rest2), weighted(weighted(s2, a2), rest1));
  } else if constexpr (kType == ippAlphaPlus) {
    return Saturate(hn::Add(weighted(s1, a1), weighted(s2, a2)));
  } else if constexpr (kType == ippAlphaOverPremul) {
    return Saturate(hn::Add(s1, weighted(s2, rest1)));
  } else if constexpr (kType == ippAlphaInPremul) {
    return weighted(s1, a2);
  } else if constexpr (kType == ippAlphaOutPremul) {
    return weighted(s1, rest2);
  } else if constexpr (kType == ippAlphaATopPremul) {
    return Saturate(hn::Add(weighted(s1, a2), weighted(s2, rest1)));
  } else if constexpr (kType == ippAlphaXorPremul) {
    return Saturate(hn::Add(weighted(s1, rest2), weighted(s2, rest1)));
  } else {
    return Saturate(hn::Add(s1, s2));
  }
}

// A whole vector of bytes composited with the alphas of their 16-bit lanes (the same
// for both bytes of a lane): the even bytes, then the odd ones. Every formula's result
// fits a byte (those that can pass 255 saturate), so the two join without a pack.
template <int kType>
HWY_INLINE V8 CompositeBytes(V8 s1, V8 s2, VU16 a1, VU16 a2) {
  const DU16 d16;
  const auto even = [&](V8 v) { return hn::And(hn::BitCast(d16, v), hn::Set(d16, 0xFF)); };
  const auto odd = [&](V8 v) { return hn::ShiftRight<8>(hn::BitCast(d16, v)); };
  const VU16 evenResult = CompositeLanes<kType>(even(s1), even(s2), a1, a2);
  const VU16 oddResult = CompositeLanes<kType>(odd(s1), odd(s2), a1, a2);
  return hn::BitCast(D8(), hn::Or(evenResult, hn::ShiftLeft<8>(oddResult)));
}

template <int kType>
std::ptrdiff_t CompositeConstVectors(const Ipp8u* src1, const Ipp8u* src2, Ipp8u* dst,
                                     std::ptrdiff_t count, Ipp8u alpha1, Ipp8u alpha2) {
  const D8 d8;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  const DU16 d16;
  const VU16 a1 = hn::Set(d16, alpha1), a2 = hn::Set(d16, alpha2);
  std::ptrdiff_t i = 0;
  for (; i + lanes <= count; i += lanes)
    hn::StoreU(CompositeBytes<kType>(hn::LoadU(d8, src1 + i), hn::LoadU(d8, src2 + i), a1, a2), d8,
               dst + i);
  return i;
}

// 4-byte pixels composited by their own alphas; returns the pixels done.
template <int kType>
std::ptrdiff_t CompositePixelVectors(const Ipp8u* src1, const Ipp8u* src2, Ipp8u* dst,
                                     std::ptrdiff_t width) {
  const D8 d8;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  // Both 16-bit lanes of a pixel take its alpha.
  constexpr uint8_t Z = 0x80;  // a zero byte
  alignas(16) static constexpr uint8_t kAlphaOfPixel[16] = {3,  Z, 3,  Z, 7,  Z, 7,  Z,
                                                            11, Z, 11, Z, 15, Z, 15, Z};
  const V8 alphaIndex = hn::LoadDup128(d8, kAlphaOfPixel);
  // Without premultiplication the alpha byte composites as a colour of full intensity.
  constexpr bool kPremultiplied = kType >= ippAlphaOverPremul;
  const V8 alphaBytes = hn::IfThenElseZero(
      hn::Eq(hn::And(hn::Iota(d8, 0), hn::Set(d8, 3)), hn::Set(d8, 3)), hn::Set(d8, 0xFF));
  std::ptrdiff_t x = 0;
  for (; 4 * x + lanes <= 4 * width; x += lanes / 4) {
    V8 s1 = hn::LoadU(d8, src1 + 4 * x);
    V8 s2 = hn::LoadU(d8, src2 + 4 * x);
    const VU16 a1 = hn::BitCast(DU16(), hn::TableLookupBytesOr0(s1, alphaIndex));
    const VU16 a2 = hn::BitCast(DU16(), hn::TableLookupBytesOr0(s2, alphaIndex));
    if constexpr (!kPremultiplied) {
      s1 = hn::Or(s1, alphaBytes);
      s2 = hn::Or(s2, alphaBytes);
    }
    hn::StoreU(CompositeBytes<kType>(s1, s2, a1, a2), d8, dst + 4 * x);
  }
  return x;
}

#endif  // QX_COLOR_VECTORS

// --- Whole images ---------------------------------------------------------------------

void CompositeConstImage(const Ipp8u* src1, int src1Step, Ipp8u a1, const Ipp8u* src2, int src2Step,
                         Ipp8u a2, Ipp8u* dst, int dstStep, IppiSize size, IppiAlphaType type,
                         int channels) {
  const std::ptrdiff_t rowBytes = std::ptrdiff_t{size.width} * channels;
  detail::ForEachRun(size, {{src1Step, rowBytes}, {src2Step, rowBytes}, {dstStep, rowBytes}},
                     [&](int y, std::ptrdiff_t width) {
                       const Ipp8u* in1 = detail::RowOf(src1, src1Step, y);
                       const Ipp8u* in2 = detail::RowOf(src2, src2Step, y);
                       Ipp8u* out = detail::RowOf(dst, dstStep, y);
                       const std::ptrdiff_t count = width * channels;
                       std::ptrdiff_t i = 0;
#if QX_COLOR_VECTORS
                       WithType(type, [&](auto kType) {
                         i = CompositeConstVectors<kType()>(in1, in2, out, count, a1, a2);
                       });
#endif
                       detail::CompositeConstRow(in1 + i, in2 + i, out + i, count - i, a1, a2,
                                                 type);
                     });
}

void CompositePixelImage(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step,
                         Ipp8u* dst, int dstStep, IppiSize size, IppiAlphaType type) {
  const std::ptrdiff_t rowBytes = 4 * std::ptrdiff_t{size.width};
  detail::ForEachRun(
      size, {{src1Step, rowBytes}, {src2Step, rowBytes}, {dstStep, rowBytes}},
      [&](int y, std::ptrdiff_t width) {
        const Ipp8u* in1 = detail::RowOf(src1, src1Step, y);
        const Ipp8u* in2 = detail::RowOf(src2, src2Step, y);
        Ipp8u* out = detail::RowOf(dst, dstStep, y);
        std::ptrdiff_t x = 0;
#if QX_COLOR_VECTORS
        WithType(type,
                 [&](auto kType) { x = CompositePixelVectors<kType()>(in1, in2, out, width); });
#endif
        detail::CompositePixelRow(in1 + 4 * x, in2 + 4 * x, out + 4 * x, width - x, type);
      });
}

}  // namespace qx::fallback::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace qx::fallback {

HWY_EXPORT(CompositeConstImage);
HWY_EXPORT(CompositePixelImage);

namespace {

IppStatus CompositeConst(const Ipp8u* src1, int src1Step, Ipp8u a1, const Ipp8u* src2, int src2Step,
                         Ipp8u a2, Ipp8u* dst, int dstStep, IppiSize size, IppiAlphaType type,
                         int channels) {
  if (IppStatus status = detail::CheckCompositeArguments({src1, src2, dst}, size, type);
      status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(CompositeConstImage)
  (src1, src1Step, a1, src2, src2Step, a2, dst, dstStep, size, type, channels);
  return ippStsNoErr;
}

}  // namespace

IppStatus ippiAlphaCompC_8u_C1R(const Ipp8u* pSrc1, int src1Step, Ipp8u alpha1, const Ipp8u* pSrc2,
                                int src2Step, Ipp8u alpha2, Ipp8u* pDst, int dstStep,
                                IppiSize roiSize, IppiAlphaType alphaType) {
  return CompositeConst(pSrc1, src1Step, alpha1, pSrc2, src2Step, alpha2, pDst, dstStep, roiSize,
                        alphaType, 1);
}

IppStatus ippiAlphaCompC_8u_C3R(const Ipp8u* pSrc1, int src1Step, Ipp8u alpha1, const Ipp8u* pSrc2,
                                int src2Step, Ipp8u alpha2, Ipp8u* pDst, int dstStep,
                                IppiSize roiSize, IppiAlphaType alphaType) {
  return CompositeConst(pSrc1, src1Step, alpha1, pSrc2, src2Step, alpha2, pDst, dstStep, roiSize,
                        alphaType, 3);
}

IppStatus ippiAlphaCompC_8u_C4R(const Ipp8u* pSrc1, int src1Step, Ipp8u alpha1, const Ipp8u* pSrc2,
                                int src2Step, Ipp8u alpha2, Ipp8u* pDst, int dstStep,
                                IppiSize roiSize, IppiAlphaType alphaType) {
  return CompositeConst(pSrc1, src1Step, alpha1, pSrc2, src2Step, alpha2, pDst, dstStep, roiSize,
                        alphaType, 4);
}

IppStatus ippiAlphaComp_8u_AC4R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step,
                                Ipp8u* pDst, int dstStep, IppiSize roiSize,
                                IppiAlphaType alphaType) {
  if (IppStatus status = detail::CheckCompositeArguments({pSrc1, pSrc2, pDst}, roiSize, alphaType);
      status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(CompositePixelImage)
  (pSrc1, src1Step, pSrc2, src2Step, pDst, dstStep, roiSize, alphaType);
  return ippStsNoErr;
}

}  // namespace qx::fallback
#endif  // HWY_ONCE
