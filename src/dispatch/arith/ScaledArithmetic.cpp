// Scaled Add, Sub, Mul and Sqr, with a second image or with per-channel
// constants. The scale factor picks, once per call, a rounding rule compiled
// for its case, so that no call pays for the generality of the others.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/arith/ScaledArithmetic.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// The lines above compile this file once per instruction set.
#include "dispatch/arith/ByteEngine-inl.h"
#include "dispatch/arith/ByteKernels.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {

// --- Exact results of one channel, in 16-bit lanes (at most 255 * 255) -------

struct Sum {
  HWY_INLINE V16 operator()(V16 s1, V16 s2) const { return hn::Add(s1, s2); }
};
struct Difference {  // source 2 minus source 1, at least 0
  HWY_INLINE V16 operator()(V16 s1, V16 s2) const { return hn::SaturatedSub(s2, s1); }
};
struct Product {
  HWY_INLINE V16 operator()(V16 s1, V16 s2) const { return hn::Mul(s1, s2); }
};
struct Square {
  HWY_INLINE V16 operator()(V16 s, V16) const { return hn::Mul(s, s); }
};

// --- Scaling rules: exact result to stored byte, in 16-bit lanes -------------

struct Saturate {  // scale factor 0
  HWY_INLINE V16 operator()(V16 e) const { return hn::Min(e, hn::Set(D16(), 255)); }
};

struct ScaleUp {  // scale factors -1 to -7: min(e * 2^k, 255)
  explicit ScaleUp(int k) : shift(k), cap(static_cast<uint16_t>((255 >> k) + 1)) {}
  HWY_INLINE V16 operator()(V16 e) const {
    const D16 d16;
    // Capping first keeps the shifted value within 16 bits and still above 255.
    return hn::Min(hn::ShiftLeftSame(hn::Min(e, hn::Set(d16, cap)), shift), hn::Set(d16, 255));
  }
  int shift;
  uint16_t cap;
};

struct AnyToFull {  // scale factors of -8 and below: 255 for any e > 0
  HWY_INLINE V16 operator()(V16 e) const {
    const D16 d16;
    return hn::IfThenElseZero(hn::Ne(e, hn::Zero(d16)), hn::Set(d16, 255));
  }
};

struct HalveToEven {  // scale factor 1: (e + ((e >> 1) & 1)) >> 1
  HWY_INLINE V16 operator()(V16 e) const {
    const D16 d16;
    const V16 one = hn::Set(d16, 1);
    const V16 halved = hn::ShiftRight<1>(hn::Add(e, hn::And(hn::ShiftRight<1>(e), one)));
    return hn::Min(halved, hn::Set(d16, 255));
  }
};

// Scale factors 2 and up, while e + 2^(k-1) fits in 16 bits:
// (e + 2^(k-1) - 1 + ((e >> k) & 1)) >> k, clamped to 255 where the largest
// exact result can round past it (products below k = 8).
template <bool kClamps>
struct ShiftDownToEven {
  explicit ShiftDownToEven(int k)
      : shift(k), halfLess1(static_cast<uint16_t>((1u << (k - 1)) - 1)) {}
  HWY_INLINE V16 operator()(V16 e) const {
    const D16 d16;
    const V16 odd = hn::And(hn::ShiftRightSame(e, shift), hn::Set(d16, 1));
    const V16 rounded =
        hn::ShiftRightSame(hn::Add(hn::Add(e, hn::Set(d16, halfLess1)), odd), shift);
    return kClamps ? hn::Min(rounded, hn::Set(d16, 255)) : rounded;
  }
  int shift;
  uint16_t halfLess1;
};

// Scale factors whose half would overflow 16 bits next to the exact result
// (products and k >= 10, so results of at most 64): the quotient e >> k goes
// up by one when the remainder exceeds half of 2^k, or equals it and the
// quotient is odd.
struct ShiftDownToEvenWide {
  explicit ShiftDownToEvenWide(int k)
      : shift(k),
        half(static_cast<uint16_t>(1u << (k - 1))),
        lowBits(static_cast<uint16_t>((1u << k) - 1)) {}
  HWY_INLINE V16 operator()(V16 e) const {
    const D16 d16;
    const V16 quotient = hn::ShiftRightSame(e, shift);
    const V16 remainder = hn::And(e, hn::Set(d16, lowBits));
    const V16 odd = hn::And(quotient, hn::Set(d16, 1));
    const auto roundUp = hn::Gt(hn::Add(remainder, odd), hn::Set(d16, half));
    return hn::Sub(quotient, hn::VecFromMask(d16, roundUp));  // mask lanes are -1
  }
  int shift;
  uint16_t half;
  uint16_t lowBits;
};

template <class Exact, class Scale>
struct Scaled {
  HWY_INLINE V8 operator()(D8, V8 a, V8 b) const {
    return Widened(a, b, [this](V16 x, V16 y) { return scale(Exact()(x, y)); });
  }
  Scale scale;
};

// --- Byte-wide cases: no widening needed ---------------------------------------

struct AddSaturated {
  HWY_INLINE V8 operator()(D8, V8 a, V8 b) const { return hn::SaturatedAdd(a, b); }
};
struct SubSaturated {
  HWY_INLINE V8 operator()(D8, V8 a, V8 b) const { return hn::SaturatedSub(b, a); }
};
// (a + b) / 2 with ties to even: the rounded-up average, less one where the
// sum was odd and the average came out odd.
struct AddHalvedToEven {
  HWY_INLINE V8 operator()(D8 d, V8 a, V8 b) const {
    const V8 average = hn::AverageRound(a, b);
    const V8 oddTie = hn::And(hn::And(hn::Xor(a, b), average), hn::Set(d, 1));
    return hn::Sub(average, oddTie);
  }
};

// --- Choosing the rule ---------------------------------------------------------

// Beyond a scale factor at which even the largest exact result rounds to 0,
// the region is filled with zeros (alpha kept) without reading the sources.
HWY_INLINE void FillZeros(ByteRegion region) {
  region.constants = {};
  FillBytes(region);
}

// Calls run(op) with the operation Scaled<Exact, rule of sf>, for exact
// results up to kLargest.
template <class Exact, uint32_t kLargest, class Runner>
HWY_INLINE void WithRule(int sf, const Runner& run) {
  if (sf == 0) return run(Scaled<Exact, Saturate>{});
  if (sf <= -8) return run(Scaled<Exact, AnyToFull>{});
  if (sf < 0) return run(Scaled<Exact, ScaleUp>{ScaleUp(-sf)});
  if (sf == 1) return run(Scaled<Exact, HalveToEven>{});
  if (kLargest + (1u << (sf - 1)) <= 0xFFFF) {
    if ((kLargest + (1u << (sf - 1))) >> sf <= 255)
      return run(Scaled<Exact, ShiftDownToEven<false>>{ShiftDownToEven<false>(sf)});
    return run(Scaled<Exact, ShiftDownToEven<true>>{ShiftDownToEven<true>(sf)});
  }
  if constexpr (kLargest + 0x8000 > 0xFFFF)
    run(Scaled<Exact, ShiftDownToEvenWide>{ShiftDownToEvenWide(sf)});
}

void ScaledAdd(const ByteRegion& region, int sf) {
  if (sf > 9) return FillZeros(region);  // 510 / 2^10 < 1/2
  if (sf == 0) return RunOnOperands(region, AddSaturated());
  if (sf == 1) return RunOnOperands(region, AddHalvedToEven());
  WithRule<Sum, 510>(sf, [&region](auto op) { RunOnOperands(region, op); });
}

void ScaledSub(const ByteRegion& region, int sf) {
  if (sf > 8) return FillZeros(region);  // 255 / 2^9 < 1/2
  if (sf == 0) return RunOnOperands(region, SubSaturated());
  WithRule<Difference, 255>(sf, [&region](auto op) { RunOnOperands(region, op); });
}

void ScaledMul(const ByteRegion& region, int sf) {
  if (sf > 16) return FillZeros(region);  // 65025 / 2^17 < 1/2
  WithRule<Product, 65025>(sf, [&region](auto op) { RunOnOperands(region, op); });
}

void ScaledSqr(const ByteRegion& region, int sf) {
  if (sf > 16) return FillZeros(region);
  WithRule<Square, 65025>(sf, [&region](auto op) { RunBytes<OperandA::kRows, false>(region, op); });
}

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "dispatch/arith/ArithChecks.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/arith/KernelDefinition.h"

namespace qx::fallback {
namespace detail {

HWY_EXPORT(ScaledAdd);
HWY_EXPORT(ScaledSub);
HWY_EXPORT(ScaledMul);
HWY_EXPORT(ScaledSqr);

namespace {

using Kernel = void (*)(const ByteRegion&, int);

Kernel AddKernel() { return HWY_DYNAMIC_DISPATCH(ScaledAdd); }
Kernel SubKernel() { return HWY_DYNAMIC_DISPATCH(ScaledSub); }
Kernel MulKernel() { return HWY_DYNAMIC_DISPATCH(ScaledMul); }

template <Kernel (*Select)()>
IppStatus TwoSources(PixelFormat format, const Ipp8u* src1, int src1Step, const Ipp8u* src2,
                     int src2Step, Ipp8u* dst, int dstStep, IppiSize size, int sf) {
  if (IppStatus status = CheckNullSize({src1, src2, dst}, size); status != ippStsNoErr)
    return status;
  ByteRegion region = RegionOf(format, size);
  region.a = {src1, src1Step};
  region.b = {src2, src2Step};
  region.dst = {dst, dstStep};
  Select()(region, sf);
  return ippStsNoErr;
}

template <Kernel (*Select)()>
IppStatus InPlace(PixelFormat format, const Ipp8u* src, int srcStep, Ipp8u* srcDst, int srcDstStep,
                  IppiSize size, int sf) {
  return TwoSources<Select>(format, src, srcStep, srcDst, srcDstStep, srcDst, srcDstStep, size, sf);
}

template <Kernel (*Select)()>
IppStatus Constants(PixelFormat format, const Ipp8u* values, Ipp8u* srcDst, int srcDstStep,
                    IppiSize size, int sf) {
  if (IppStatus status = CheckNullSize({values, srcDst}, size); status != ippStsNoErr)
    return status;
  ByteRegion region = WithConstants(RegionOf(format, size), format, values);
  region.b = {srcDst, srcDstStep};
  region.dst = {srcDst, srcDstStep};
  Select()(region, sf);
  return ippStsNoErr;
}

IppStatus Square(PixelFormat format, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                 IppiSize size, int sf) {
  if (IppStatus status = CheckNullSizeStep({src, dst}, size, {srcStep, dstStep});
      status != ippStsNoErr)
    return status;
  ByteRegion region = RegionOf(format, size);
  region.a = {src, srcStep};
  region.dst = {dst, dstStep};
  HWY_DYNAMIC_DISPATCH(ScaledSqr)(region, sf);
  return ippStsNoErr;
}

IppStatus SquareInPlace(PixelFormat format, Ipp8u* srcDst, int srcDstStep, IppiSize size, int sf) {
  return Square(format, srcDst, srcDstStep, srcDst, srcDstStep, size, sf);
}

}  // namespace
}  // namespace detail

using namespace detail;

QX_DEFINE_TWO_SOURCE_SFS(ippiAdd_8u_C1RSfs, TwoSources<AddKernel>, kPixelC1)
QX_DEFINE_TWO_SOURCE_SFS(ippiAdd_8u_C3RSfs, TwoSources<AddKernel>, kPixelC3)
QX_DEFINE_TWO_SOURCE_SFS(ippiAdd_8u_C4RSfs, TwoSources<AddKernel>, kPixelC4)
QX_DEFINE_TWO_SOURCE_SFS(ippiAdd_8u_AC4RSfs, TwoSources<AddKernel>, kPixelAC4)
QX_DEFINE_TWO_SOURCE_SFS(ippiSub_8u_C1RSfs, TwoSources<SubKernel>, kPixelC1)
QX_DEFINE_TWO_SOURCE_SFS(ippiSub_8u_C3RSfs, TwoSources<SubKernel>, kPixelC3)
QX_DEFINE_TWO_SOURCE_SFS(ippiSub_8u_AC4RSfs, TwoSources<SubKernel>, kPixelAC4)
QX_DEFINE_TWO_SOURCE_SFS(ippiMul_8u_C1RSfs, TwoSources<MulKernel>, kPixelC1)
QX_DEFINE_TWO_SOURCE_SFS(ippiMul_8u_C3RSfs, TwoSources<MulKernel>, kPixelC3)
QX_DEFINE_TWO_SOURCE_SFS(ippiMul_8u_AC4RSfs, TwoSources<MulKernel>, kPixelAC4)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiAdd_8u_C1IRSfs, InPlace<AddKernel>, kPixelC1)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiAdd_8u_C3IRSfs, InPlace<AddKernel>, kPixelC3)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiAdd_8u_AC4IRSfs, InPlace<AddKernel>, kPixelAC4)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiSub_8u_C1IRSfs, InPlace<SubKernel>, kPixelC1)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiSub_8u_C3IRSfs, InPlace<SubKernel>, kPixelC3)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiSub_8u_AC4IRSfs, InPlace<SubKernel>, kPixelAC4)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiMul_8u_C1IRSfs, InPlace<MulKernel>, kPixelC1)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiMul_8u_C3IRSfs, InPlace<MulKernel>, kPixelC3)
QX_DEFINE_SOURCE_IN_PLACE_SFS(ippiMul_8u_AC4IRSfs, InPlace<MulKernel>, kPixelAC4)

QX_DEFINE_CONST_IN_PLACE_SFS(ippiAddC_8u_C3IRSfs, Constants<AddKernel>, kPixelC3)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiAddC_8u_AC4IRSfs, Constants<AddKernel>, kPixelAC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiAddC_8u_C4IRSfs, Constants<AddKernel>, kPixelC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiSubC_8u_C3IRSfs, Constants<SubKernel>, kPixelC3)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiSubC_8u_C4IRSfs, Constants<SubKernel>, kPixelC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiMulC_8u_C3IRSfs, Constants<MulKernel>, kPixelC3)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiMulC_8u_AC4IRSfs, Constants<MulKernel>, kPixelAC4)
QX_DEFINE_CONST_IN_PLACE_SFS(ippiMulC_8u_C4IRSfs, Constants<MulKernel>, kPixelC4)

QX_DEFINE_ONE_SOURCE_SFS(ippiSqr_8u_C3RSfs, Square, kPixelC3)
QX_DEFINE_ONE_SOURCE_SFS(ippiSqr_8u_AC4RSfs, Square, kPixelAC4)
QX_DEFINE_IN_PLACE_SFS(ippiSqr_8u_C3IRSfs, SquareInPlace, kPixelC3)
QX_DEFINE_IN_PLACE_SFS(ippiSqr_8u_AC4IRSfs, SquareInPlace, kPixelAC4)

}  // namespace qx::fallback
#endif  // HWY_ONCE
