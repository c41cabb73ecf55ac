// Div and DivC: quotients rounded half to even, in single precision. For
// dividends up to 255 * 2^15 and divisors up to 255 * 2^8 the correctly
// rounded single-precision quotient always lies on the same side of every
// half-integer as the exact one, and lands exactly on it for a true tie, so
// rounding it to the nearest even integer gives the exact result.
#include <cmath>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/arith/Division.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// The lines above compile this file once per instruction set.
#include "dispatch/arith/ByteEngine-inl.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {

using D32 = hn::Repartition<uint32_t, D8>;
using DF = hn::Repartition<float, D8>;
using VF = hn::Vec<DF>;

// Applies `f`, a function of two float lanes returning a float in 0..255, to
// every pair of bytes: each byte of a 4-byte group in turn, in place.
template <class F>
HWY_INLINE V8 PerByteAsFloat(V8 a, V8 b, const F& f) {
#if HWY_TARGET == HWY_SCALAR
  const hn::Rebind<int32_t, D8> d32;
  const hn::Rebind<float, D8> df;
  const auto wide = [&](V8 v) {
    return hn::ConvertTo(df, hn::BitCast(d32, hn::PromoteTo(hn::Rebind<uint32_t, D8>(), v)));
  };
  return hn::TruncateTo(
      D8(), hn::BitCast(hn::Rebind<uint32_t, D8>(), hn::ConvertTo(d32, f(wide(a), wide(b)))));
#else
  const D32 d32;
  const hn::RebindToSigned<D32> di32;
  const DF df;
  const auto byteAt = [&](V8 v, int shift) {
    const auto lane = hn::And(hn::ShiftRightSame(hn::BitCast(d32, v), shift), hn::Set(d32, 0xFF));
    return hn::ConvertTo(df, hn::BitCast(di32, lane));
  };
  auto joined = hn::Zero(d32);
  for (int shift = 0; shift < 32; shift += 8) {
    const auto result =
        hn::BitCast(d32, hn::ConvertTo(di32, f(byteAt(a, shift), byteAt(b, shift))));
    joined = hn::Or(joined, hn::ShiftLeftSame(result, shift));
  }
  return hn::BitCast(D8(), joined);
#endif
}

// Division of `b` (dividends) by `a` (divisors), remembering whether any
// divisor was zero. A zero divisor gives 255 over a non-zero dividend, else 0.
template <class Quotients>
struct Divide {
  static constexpr bool kOneInKeptBytesOfA = true;

  HWY_INLINE V8 operator()(D8 d, V8 divisors, V8 dividends) {
    const auto zero = hn::Eq(divisors, hn::Zero(d));
    zeroSeen = hn::Or(zeroSeen, hn::VecFromMask(d, zero));
    const V8 overZero = hn::VecFromMask(d, hn::Ne(dividends, hn::Zero(d)));
    return hn::IfThenElse(zero, overZero, quotients(d, divisors, dividends));
  }

  Quotients quotients;
  V8 zeroSeen = hn::Zero(D8());
};

// Scale factors -15 to 8: p * 2^-sf / q rounded to even, at most 255. Zero
// divisors are replaced by 1 here; Divide overrides their lanes.
struct Rounded {
  HWY_INLINE V8 operator()(D8, V8 divisors, V8 dividends) const {
    return PerByteAsFloat(divisors, dividends, [this](VF q, VF p) {
      const DF df;
      const VF quotient = hn::Div(hn::Mul(p, hn::Set(df, scale)), hn::Max(q, hn::Set(df, 1.0f)));
      return hn::Min(hn::Round(quotient), hn::Set(df, 255.0f));
    });
  }
  float scale;
};

// Scale factors below -15: every quotient of a non-zero dividend saturates.
struct Saturated {
  HWY_INLINE V8 operator()(D8 d, V8, V8 dividends) const {
    return hn::VecFromMask(d, hn::Ne(dividends, hn::Zero(d)));
  }
};

// Scale factors above 8: every quotient rounds to 0.
struct Vanishing {
  HWY_INLINE V8 operator()(D8 d, V8, V8) const { return hn::Zero(d); }
};

template <class Quotients>
HWY_INLINE bool Run(const ByteRegion& region, Quotients quotients) {
  Divide<Quotients> divide{quotients};
  RunOnOperands(region, divide);
  return !hn::AllTrue(D8(), hn::Eq(divide.zeroSeen, hn::Zero(D8())));
}

// Divides the second operand by the first; returns whether a divisor was zero.
bool DivideBytes(const ByteRegion& region, int sf) {
  if (sf < -15) return Run(region, Saturated());
  if (sf > 8) return Run(region, Vanishing());
  return Run(region, Rounded{std::ldexp(1.0f, -sf)});
}

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include <algorithm>

#include "dispatch/arith/ArithChecks.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/arith/KernelDefinition.h"

namespace qx::fallback {
namespace detail {

HWY_EXPORT(DivideBytes);

namespace {

IppStatus Divide(PixelFormat format, const Ipp8u* divisors, int divisorStep, const Ipp8u* dividends,
                 int dividendStep, Ipp8u* dst, int dstStep, IppiSize size, int sf) {
  if (IppStatus status =
          CheckNullSizeStep({divisors, dividends, dst}, size, {divisorStep, dividendStep, dstStep});
      status != ippStsNoErr)
    return status;
  ByteRegion region = RegionOf(format, size);
  region.a = {divisors, divisorStep};
  region.b = {dividends, dividendStep};
  region.dst = {dst, dstStep};
  return HWY_DYNAMIC_DISPATCH(DivideBytes)(region, sf) ? ippStsDivByZero : ippStsNoErr;
}

IppStatus DivideInPlace(PixelFormat format, const Ipp8u* src, int srcStep, Ipp8u* srcDst,
                        int srcDstStep, IppiSize size, int sf) {
  return Divide(format, src, srcStep, srcDst, srcDstStep, srcDst, srcDstStep, size, sf);
}

// A zero constant is an error; C3 and C4 still divide the region (a zero
// channel becoming 255 over non-zero pixels, else 0), AC4 writes nothing.
IppStatus DivideByConstants(PixelFormat format, const Ipp8u* values, Ipp8u* srcDst, int srcDstStep,
                            IppiSize size, int sf) {
  if (IppStatus status = CheckNullSizeStep({values, srcDst}, size, {srcDstStep});
      status != ippStsNoErr)
    return status;
  const int channels = format.ComputedBytes();
  const bool zeroConstant = std::find(values, values + channels, 0) != values + channels;
  if (zeroConstant && format.keepAlpha) return ippStsDivByZeroErr;
  ByteRegion region = WithConstants(RegionOf(format, size), format, values);
  region.b = {srcDst, srcDstStep};
  region.dst = {srcDst, srcDstStep};
  HWY_DYNAMIC_DISPATCH(DivideBytes)(region, sf);
  return zeroConstant ? ippStsDivByZeroErr : ippStsNoErr;
}

}  // namespace
}  // namespace detail

using namespace detail;

QX_DEFINE_TWO_SOURCE_SFS(ippiDiv_8u_C1RSfs, Divide, kPixelC1)
QX_DEFINE_TWO_SOURCE_SFS(ippiDiv_8u_C3RSfs, Divide, kPixelC3)
QX_DEFINE_TWO_SOURCE_SFS(ippiDiv_8u_AC4RSfs, Divide, kPixelAC4)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiDiv_8u_C1IRSfs, DivideInPlace, kPixelC1)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiDiv_8u_C3IRSfs, DivideInPlace, kPixelC3)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiDiv_8u_AC4IRSfs, DivideInPlace, kPixelAC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiDivC_8u_C3IRSfs, DivideByConstants, kPixelC3)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiDivC_8u_C4IRSfs, DivideByConstants, kPixelC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiDivC_8u_AC4IRSfs, DivideByConstants, kPixelAC4)

}  // namespace qx::fallback
#endif  // HWY_ONCE
