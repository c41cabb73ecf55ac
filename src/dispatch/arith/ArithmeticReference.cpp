// Scalar references of the arithmetic kernels: scaled Add, Sub, Mul and Sqr,
// their constant forms, Div and DivC, MulScale, MulCScale, AbsDiff, AbsDiffC.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "dispatch/arith/ArithChecks.h"
#include "dispatch/arith/ArithReference.h"
#include "dispatch/arith/KernelDefinition.h"
#include "dispatch/arith/ReferenceLayout.h"

namespace qx::fallback::reference {
namespace {

using namespace fallback::detail;
using namespace reference::detail;

Ipp8u Saturated(std::uint64_t value) {
  return static_cast<Ipp8u>(std::min<std::uint64_t>(value, 255));
}

// exact / 2^k rounded to the nearest integer, an exact half to the even one.
std::uint64_t RoundHalfToEven(std::uint64_t exact, int k) {
  const std::uint64_t divisor = std::uint64_t{1} << k;
  const std::uint64_t quotient = exact / divisor;
  const std::uint64_t twiceRemainder = 2 * (exact % divisor);
  if (twiceRemainder > divisor) return quotient + 1;
  if (twiceRemainder == divisor && quotient % 2 == 1) return quotient + 1;
  return quotient;
}

// The byte stored for the exact result of one channel (at most 2^16) under
// scale factor sf: exact * 2^-sf, rounded half to even, saturated.
Ipp8u Scaled(std::uint32_t exact, int sf) {
  if (sf == 0) return Saturated(exact);
  if (sf < 0) {
    if (exact == 0) return 0;
    return sf <= -8 ? 255 : Saturated(std::uint64_t{exact} << -sf);
  }
  if (sf > 17) return 0;  // exact / 2^sf < 1/2
  return Saturated(RoundHalfToEven(exact, sf));
}

// Exact results of one channel: s1 and s2 are the bytes of source 1 and 2.
std::uint32_t Sum(int s1, int s2) { return s1 + s2; }
std::uint32_t Difference(int s1, int s2) { return std::max(s2 - s1, 0); }
std::uint32_t Product(int s1, int s2) { return s1 * s2; }

// p * 2^-sf / q in extended precision, rounded half to even, at most 255. A
// zero divisor yields 255 over a non-zero dividend and 0 over zero.
Ipp8u Quotient(int p, int q, int sf) {
  if (q == 0 || sf < -15) return p > 0 ? 255 : 0;
  if (sf > 8) return 0;
  const long double exact = std::ldexp(static_cast<long double>(p), -sf) / q;
  const long double sum = exact + 0.5L;
  long double rounded = std::trunc(sum);
  if (rounded == sum && std::fmod(rounded, 2.0L) == 1.0L) rounded -= 1;
  return rounded > 255 ? 255 : static_cast<Ipp8u>(rounded);
}

// dst = op(src1, src2) for every computed byte; `Op` maps two bytes to the
// stored byte. In place forms pass the destination as source 2.
template <class Op>
IppStatus TwoSources(Layout layout, const Ipp8u* src1, int src1Step, const Ipp8u* src2,
                     int src2Step, Ipp8u* dst, int dstStep, IppiSize size, Op op) {
  ForEachComputedByte(size, layout, [&](int y, std::ptrdiff_t i, int) {
    RowOf(dst, dstStep, y)[i] = op(RowOf(src1, src1Step, y)[i], RowOf(src2, src2Step, y)[i]);
  });
  return ippStsNoErr;
}

// dst = op(constant of the channel, dst) for every computed byte.
template <class Op>
IppStatus WithConstants(Layout layout, const Ipp8u* constants, Ipp8u* srcDst, int srcDstStep,
                        IppiSize size, Op op) {
  ForEachComputedByte(size, layout, [&](int y, std::ptrdiff_t i, int channel) {
    Ipp8u& byte = RowOf(srcDst, srcDstStep, y)[i];
    byte = op(constants[channel], byte);
  });
  return ippStsNoErr;
}

template <std::uint32_t (*Exact)(int, int)>
IppStatus ScaledTwoSources(Layout layout, const Ipp8u* src1, int src1Step, const Ipp8u* src2,
                           int src2Step, Ipp8u* dst, int dstStep, IppiSize size, int sf) {
  if (IppStatus status = CheckNullSize({src1, src2, dst}, size); status != ippStsNoErr)
    return status;
  return TwoSources(layout, src1, src1Step, src2, src2Step, dst, dstStep, size,
                    [sf](int s1, int s2) { return Scaled(Exact(s1, s2), sf); });
}

template <std::uint32_t (*Exact)(int, int)>
IppStatus ScaledConstants(Layout layout, const Ipp8u* constants, Ipp8u* srcDst, int srcDstStep,
                          IppiSize size, int sf) {
  if (IppStatus status = CheckNullSize({constants, srcDst}, size); status != ippStsNoErr)
    return status;
  return WithConstants(layout, constants, srcDst, srcDstStep, size,
                       [sf](int c, int d) { return Scaled(Exact(c, d), sf); });
}

IppStatus Square(Layout layout, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                 IppiSize size, int sf) {
  if (IppStatus status = CheckNullSizeStep({src, dst}, size, {srcStep, dstStep});
      status != ippStsNoErr)
    return status;
  return TwoSources(layout, src, srcStep, src, srcStep, dst, dstStep, size,
                    [sf](int s, int) { return Scaled(Product(s, s), sf); });
}

IppStatus Divide(Layout layout, const Ipp8u* divisors, int divisorStep, const Ipp8u* dividends,
                 int dividendStep, Ipp8u* dst, int dstStep, IppiSize size, int sf) {
  if (IppStatus status =
          CheckNullSizeStep({divisors, dividends, dst}, size, {divisorStep, dividendStep, dstStep});
      status != ippStsNoErr)
    return status;
  bool metZero = false;
  TwoSources(layout, divisors, divisorStep, dividends, dividendStep, dst, dstStep, size,
             [&](int q, int p) {
               metZero = metZero || q == 0;
               return Quotient(p, q, sf);
             });
  return metZero ? ippStsDivByZero : ippStsNoErr;
}

IppStatus DivideByConstants(Layout layout, const Ipp8u* constants, Ipp8u* srcDst, int srcDstStep,
                            IppiSize size, int sf) {
  if (IppStatus status = CheckNullSizeStep({constants, srcDst}, size, {srcDstStep});
      status != ippStsNoErr)
    return status;
  const bool zeroConstant =
      std::find(constants, constants + layout.computedBytes, 0) != constants + layout.computedBytes;
  // Only the AC4 form refuses a zero constant up front; C3 and C4 divide anyway.
  if (zeroConstant && layout.computedBytes != layout.pixelBytes) return ippStsDivByZeroErr;
  WithConstants(layout, constants, srcDst, srcDstStep, size,
                [sf](int c, int d) { return Quotient(d, c, sf); });
  return zeroConstant ? ippStsDivByZeroErr : ippStsNoErr;
}

constexpr CheckOrder kInOrder = CheckOrder::kNullStepSize;
constexpr CheckOrder kSizeFirst = CheckOrder::kSizeFirst;

// x / 255 rounded down.
Ipp8u ScaledProduct(int a, int b) { return static_cast<Ipp8u>(a * b / 255); }

IppStatus MulScale(Layout layout, CheckOrder order, const Ipp8u* src, int srcStep, Ipp8u* srcDst,
                   int srcDstStep, IppiSize size) {
  if (IppStatus status = CheckBitwise(order, {src, srcDst}, {srcStep, srcDstStep}, size);
      status != ippStsNoErr)
    return status;
  return TwoSources(layout, src, srcStep, srcDst, srcDstStep, srcDst, srcDstStep, size,
                    ScaledProduct);
}

IppStatus MulCScale(Layout layout, CheckOrder order, const Ipp8u* constants, Ipp8u* srcDst,
                    int srcDstStep, IppiSize size) {
  if (IppStatus status = CheckBitwise(order, {constants, srcDst}, {srcDstStep}, size);
      status != ippStsNoErr)
    return status;
  return WithConstants(layout, constants, srcDst, srcDstStep, size, ScaledProduct);
}

template <std::uint32_t (*Exact)(int, int)>
IppStatus ScaledInPlace(Layout layout, const Ipp8u* src, int srcStep, Ipp8u* srcDst, int srcDstStep,
                        IppiSize size, int sf) {
  return ScaledTwoSources<Exact>(layout, src, srcStep, srcDst, srcDstStep, srcDst, srcDstStep, size,
                                 sf);
}

IppStatus SquareInPlace(Layout layout, Ipp8u* srcDst, int srcDstStep, IppiSize size, int sf) {
  return Square(layout, srcDst, srcDstStep, srcDst, srcDstStep, size, sf);
}

IppStatus DivideInPlace(Layout layout, const Ipp8u* src, int srcStep, Ipp8u* srcDst, int srcDstStep,
                        IppiSize size, int sf) {
  return Divide(layout, src, srcStep, srcDst, srcDstStep, srcDst, srcDstStep, size, sf);
}

IppStatus MulCScaleByte(Ipp8u constant, Ipp8u* srcDst, int srcDstStep, IppiSize size) {
  return MulCScale(kC1, CheckOrder::kNullStepSize, &constant, srcDst, srcDstStep, size);
}

IppStatus AbsDiff(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step, Ipp8u* dst,
                  int dstStep, IppiSize size) {
  if (IppStatus status =
          CheckNullSizeRowStep({src1, src2, dst}, size, {src1Step, src2Step, dstStep});
      status != ippStsNoErr)
    return status;
  return TwoSources(kC1, src1, src1Step, src2, src2Step, dst, dstStep, size,
                    [](int a, int b) { return static_cast<Ipp8u>(std::abs(a - b)); });
}

}  // namespace

QX_DEFINE_TWO_SOURCE_SFS(ippiAdd_8u_C1RSfs, ScaledTwoSources<Sum>, kC1)
QX_DEFINE_TWO_SOURCE_SFS(ippiAdd_8u_C3RSfs, ScaledTwoSources<Sum>, kC3)
QX_DEFINE_TWO_SOURCE_SFS(ippiAdd_8u_C4RSfs, ScaledTwoSources<Sum>, kC4)
QX_DEFINE_TWO_SOURCE_SFS(ippiAdd_8u_AC4RSfs, ScaledTwoSources<Sum>, kAC4)
QX_DEFINE_TWO_SOURCE_SFS(ippiSub_8u_C1RSfs, ScaledTwoSources<Difference>, kC1)
QX_DEFINE_TWO_SOURCE_SFS(ippiSub_8u_C3RSfs, ScaledTwoSources<Difference>, kC3)
QX_DEFINE_TWO_SOURCE_SFS(ippiSub_8u_AC4RSfs, ScaledTwoSources<Difference>, kAC4)
QX_DEFINE_TWO_SOURCE_SFS(ippiMul_8u_C1RSfs, ScaledTwoSources<Product>, kC1)
QX_DEFINE_TWO_SOURCE_SFS(ippiMul_8u_C3RSfs, ScaledTwoSources<Product>, kC3)
QX_DEFINE_TWO_SOURCE_SFS(ippiMul_8u_AC4RSfs, ScaledTwoSources<Product>, kAC4)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiAdd_8u_C1IRSfs, ScaledInPlace<Sum>, kC1)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiAdd_8u_C3IRSfs, ScaledInPlace<Sum>, kC3)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiAdd_8u_AC4IRSfs, ScaledInPlace<Sum>, kAC4)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiSub_8u_C1IRSfs, ScaledInPlace<Difference>, kC1)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiSub_8u_C3IRSfs, ScaledInPlace<Difference>, kC3)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiSub_8u_AC4IRSfs, ScaledInPlace<Difference>, kAC4)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiMul_8u_C1IRSfs, ScaledInPlace<Product>, kC1)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiMul_8u_C3IRSfs, ScaledInPlace<Product>, kC3)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiMul_8u_AC4IRSfs, ScaledInPlace<Product>, kAC4)

QX_DEFINE_CONST_IN_PLACE_SFS(ippiAddC_8u_C3IRSfs, ScaledConstants<Sum>, kC3)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiAddC_8u_AC4IRSfs, ScaledConstants<Sum>, kAC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiAddC_8u_C4IRSfs, ScaledConstants<Sum>, kC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiSubC_8u_C3IRSfs, ScaledConstants<Difference>, kC3)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiSubC_8u_C4IRSfs, ScaledConstants<Difference>, kC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiMulC_8u_C3IRSfs, ScaledConstants<Product>, kC3)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiMulC_8u_AC4IRSfs, ScaledConstants<Product>, kAC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiMulC_8u_C4IRSfs, ScaledConstants<Product>, kC4)

QX_DEFINE_ONE_SOURCE_SFS(ippiSqr_8u_C3RSfs, Square, kC3)
QX_DEFINE_ONE_SOURCE_SFS(ippiSqr_8u_AC4RSfs, Square, kAC4)
QX_DEFINE_IN_PLACE_SFS(ippiSqr_8u_C3IRSfs, SquareInPlace, kC3)
QX_DEFINE_IN_PLACE_SFS(ippiSqr_8u_AC4IRSfs, SquareInPlace, kAC4)

QX_DEFINE_TWO_SOURCE_SFS(ippiDiv_8u_C1RSfs, Divide, kC1)
QX_DEFINE_TWO_SOURCE_SFS(ippiDiv_8u_C3RSfs, Divide, kC3)
QX_DEFINE_TWO_SOURCE_SFS(ippiDiv_8u_AC4RSfs, Divide, kAC4)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiDiv_8u_C1IRSfs, DivideInPlace, kC1)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiDiv_8u_C3IRSfs, DivideInPlace, kC3)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiDiv_8u_AC4IRSfs, DivideInPlace, kAC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiDivC_8u_C3IRSfs, DivideByConstants, kC3)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiDivC_8u_C4IRSfs, DivideByConstants, kC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiDivC_8u_AC4IRSfs, DivideByConstants, kAC4)

QX_DEFINE_SOURCE_IN_PLACE(ippiMulScale_8u_C1IR, MulScale, kC1, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiMulScale_8u_C3IR, MulScale, kC3, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiMulScale_8u_AC4IR, MulScale, kAC4, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiMulScale_8u_C4IR, MulScale, kC4, kSizeFirst)
QX_DEFINE_BYTE_IN_PLACE(ippiMulCScale_8u_C1IR, MulCScaleByte)
QX_DEFINE_CONST_IN_PLACE(ippiMulCScale_8u_C3IR, MulCScale, kC3, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiMulCScale_8u_AC4IR, MulCScale, kAC4, kInOrder)
QX_DEFINE_CONST_IN_PLACE(ippiMulCScale_8u_C4IR, MulCScale, kC4, kSizeFirst)

QX_DEFINE_TWO_SOURCE(ippiAbsDiff_8u_C1R, AbsDiff)

IppStatus ippiAbsDiffC_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                              IppiSize roiSize, int value) {
  if (IppStatus status = CheckNullSizeRowStep({pSrc, pDst}, roiSize, {srcStep, dstStep});
      status != ippStsNoErr)
    return status;
  const int clamped = std::clamp(value, 0, 255);
  return TwoSources(kC1, pSrc, srcStep, pSrc, srcStep, pDst, dstStep, roiSize,
                    [clamped](int s, int) { return static_cast<Ipp8u>(std::abs(s - clamped)); });
}

}  // namespace qx::fallback::reference
