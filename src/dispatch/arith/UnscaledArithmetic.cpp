// Arithmetic without a scale factor: MulScale and MulCScale (the product of
// two bytes over 255, rounded down) and AbsDiff and AbsDiffC.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/arith/UnscaledArithmetic.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// The lines above compile this file once per instruction set.
#include "dispatch/arith/ByteEngine-inl.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {

// a * b / 255 rounded down, as (x + (x >> 8) + 1) >> 8 with x = a * b, exact
// for every product of two bytes and within 16 bits.
struct ProductOver255 {
  HWY_INLINE V8 operator()(D8, V8 a, V8 b) const {
    return Widened(a, b, [](V16 x, V16 y) {
      const V16 product = hn::Mul(x, y);
      const V16 sum = hn::Add(hn::Add(product, hn::ShiftRight<8>(product)), hn::Set(D16(), 1));
      return hn::ShiftRight<8>(sum);
    });
  }
};

struct AbsoluteDifference {
  HWY_INLINE V8 operator()(D8, V8 a, V8 b) const {
    return hn::Or(hn::SaturatedSub(a, b), hn::SaturatedSub(b, a));
  }
};

void MulScaleBytes(const ByteRegion& region) { RunOnOperands(region, ProductOver255()); }
void AbsDiffBytes(const ByteRegion& region) { RunOnOperands(region, AbsoluteDifference()); }

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include <algorithm>

#include "dispatch/arith/ArithChecks.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/arith/KernelDefinition.h"

namespace qx::fallback {
namespace detail {

HWY_EXPORT(MulScaleBytes);
HWY_EXPORT(AbsDiffBytes);

namespace {

constexpr CheckOrder kInOrder = CheckOrder::kNullStepSize;
constexpr CheckOrder kSizeFirst = CheckOrder::kSizeFirst;

IppStatus MulScale(PixelFormat format, CheckOrder order, const Ipp8u* src, int srcStep,
                   Ipp8u* srcDst, int srcDstStep, IppiSize size) {
  if (IppStatus status = CheckBitwise(order, {src, srcDst}, {srcStep, srcDstStep}, size);
      status != ippStsNoErr)
    return status;
  ByteRegion region = RegionOf(format, size);
  region.a = {src, srcStep};
  region.b = {srcDst, srcDstStep};
  region.dst = {srcDst, srcDstStep};
  HWY_DYNAMIC_DISPATCH(MulScaleBytes)(region);
  return ippStsNoErr;
}

IppStatus MulCScale(PixelFormat format, CheckOrder order, const Ipp8u* values, Ipp8u* srcDst,
                    int srcDstStep, IppiSize size) {
  if (IppStatus status = CheckBitwise(order, {values, srcDst}, {srcDstStep}, size);
      status != ippStsNoErr)
    return status;
  ByteRegion region = WithConstants(RegionOf(format, size), format, values);
  region.b = {srcDst, srcDstStep};
  region.dst = {srcDst, srcDstStep};
  HWY_DYNAMIC_DISPATCH(MulScaleBytes)(region);
  return ippStsNoErr;
}

IppStatus MulCScaleByte(Ipp8u value, Ipp8u* srcDst, int srcDstStep, IppiSize size) {
  return MulCScale(kPixelC1, kInOrder, &value, srcDst, srcDstStep, size);
}

IppStatus AbsDiff(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step, Ipp8u* dst,
                  int dstStep, IppiSize size) {
  if (IppStatus status =
          CheckNullSizeRowStep({src1, src2, dst}, size, {src1Step, src2Step, dstStep});
      status != ippStsNoErr)
    return status;
  ByteRegion region = RegionOf(kPixelC1, size);
  region.a = {src1, src1Step};
  region.b = {src2, src2Step};
  region.dst = {dst, dstStep};
  HWY_DYNAMIC_DISPATCH(AbsDiffBytes)(region);
  return ippStsNoErr;
}

}  // namespace
}  // namespace detail

using namespace detail;

QX_DEFINE_SOURCE_IN_PLACE(ippiMulScale_8u_C1IR, MulScale, kPixelC1, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiMulScale_8u_C3IR, MulScale, kPixelC3, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiMulScale_8u_AC4IR, MulScale, kPixelAC4, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiMulScale_8u_C4IR, MulScale, kPixelC4, kSizeFirst)
QX_DEFINE_BYTE_IN_PLACE(ippiMulCScale_8u_C1IR, MulCScaleByte)
QX_DEFINE_CONST_IN_PLACE(ippiMulCScale_8u_C3IR, MulCScale, kPixelC3, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiMulCScale_8u_AC4IR, MulCScale, kPixelAC4, kInOrder)
QX_DEFINE_CONST_IN_PLACE(ippiMulCScale_8u_C4IR, MulCScale, kPixelC4, kSizeFirst)

QX_DEFINE_TWO_SOURCE(ippiAbsDiff_8u_C1R, AbsDiff)

IppStatus ippiAbsDiffC_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                              IppiSize roiSize, int value) {
  if (IppStatus status = CheckNullSizeRowStep({pSrc, pDst}, roiSize, {srcStep, dstStep});
      status != ippStsNoErr)
    return status;
  const Ipp8u clamped = static_cast<Ipp8u>(std::clamp(value, 0, 255));
  ByteRegion region = WithConstants(RegionOf(kPixelC1, roiSize), kPixelC1, &clamped);
  region.b = {pSrc, srcStep};
  region.dst = {pDst, dstStep};
  HWY_DYNAMIC_DISPATCH(AbsDiffBytes)(region);
  return ippStsNoErr;
}

}  // namespace qx::fallback
#endif  // HWY_ONCE
