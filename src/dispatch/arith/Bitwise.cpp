// And, Or and Xor with a second image or with per-channel constants, Not (Xor
// with 255), and the constant shifts. A shift by one count for every channel
// is a plain vector shift; different counts per channel become a multiply by
// each channel's power of two.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/arith/Bitwise.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// The lines above compile this file once per instruction set.
#include "dispatch/arith/ByteEngine-inl.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {

struct AndOp {
  HWY_INLINE V8 operator()(D8, V8 a, V8 b) const { return hn::And(a, b); }
};
struct OrOp {
  HWY_INLINE V8 operator()(D8, V8 a, V8 b) const { return hn::Or(a, b); }
};
struct XorOp {
  HWY_INLINE V8 operator()(D8, V8 a, V8 b) const { return hn::Xor(a, b); }
};

// One count n (0 to 7) for every byte of `b`.
struct UniformLeft {
  HWY_INLINE V8 operator()(D8, V8, V8 b) const { return hn::ShiftLeftSame(b, count); }
  int count;
};
struct UniformRight {
  HWY_INLINE V8 operator()(D8, V8, V8 b) const { return hn::ShiftRightSame(b, count); }
  int count;
};

// Per-channel counts as multipliers in `a`: 2^n (0 for n > 7) for a left
// shift, whose low byte is the result; 2^(7 - n) (0 for n > 7) for a right
// shift, whose product shifted down by 7 is b >> n.
struct MultiplyLeft {
  HWY_INLINE V8 operator()(D8, V8 a, V8 b) const {
    return Widened(a, b, [](V16 m, V16 s) { return hn::And(hn::Mul(m, s), hn::Set(D16(), 0xFF)); });
  }
};
struct MultiplyRight {
  HWY_INLINE V8 operator()(D8, V8 a, V8 b) const {
    return Widened(a, b, [](V16 m, V16 s) { return hn::ShiftRight<7>(hn::Mul(m, s)); });
  }
};

void AndBytes(const ByteRegion& region) { RunOnOperands(region, AndOp()); }
void OrBytes(const ByteRegion& region) { RunOnOperands(region, OrOp()); }
void XorBytes(const ByteRegion& region) { RunOnOperands(region, XorOp()); }

// `uniformCount` is the count shared by every channel, or -1 when the
// region's constants hold per-channel multipliers.
void ShiftLeftBytes(const ByteRegion& region, int uniformCount) {
  if (uniformCount >= 0) return RunOnOperands(region, UniformLeft{uniformCount});
  RunOnOperands(region, MultiplyLeft());
}
void ShiftRightBytes(const ByteRegion& region, int uniformCount) {
  if (uniformCount >= 0) return RunOnOperands(region, UniformRight{uniformCount});
  RunOnOperands(region, MultiplyRight());
}

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include <algorithm>

#include "dispatch/arith/ArithChecks.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/arith/ByteKernels.h"
#include "dispatch/arith/KernelDefinition.h"

namespace qx::fallback {
namespace detail {

HWY_EXPORT(AndBytes);
HWY_EXPORT(OrBytes);
HWY_EXPORT(XorBytes);
HWY_EXPORT(ShiftLeftBytes);
HWY_EXPORT(ShiftRightBytes);

namespace {

using Kernel = void (*)(const ByteRegion&);

Kernel AndKernel() { return HWY_DYNAMIC_DISPATCH(AndBytes); }
Kernel OrKernel() { return HWY_DYNAMIC_DISPATCH(OrBytes); }
Kernel XorKernel() { return HWY_DYNAMIC_DISPATCH(XorBytes); }

constexpr CheckOrder kInOrder = CheckOrder::kNullStepSize;
constexpr CheckOrder kSizeFirst = CheckOrder::kSizeFirst;

template <Kernel (*Select)()>
IppStatus TwoSources(PixelFormat format, CheckOrder order, const Ipp8u* src1, int src1Step,
                     const Ipp8u* src2, int src2Step, Ipp8u* dst, int dstStep, IppiSize size) {
  if (IppStatus status =
          CheckBitwise(order, {src1, src2, dst}, {src1Step, src2Step, dstStep}, size);
      status != ippStsNoErr)
    return status;
  ByteRegion region = RegionOf(format, size);
  region.a = {src1, src1Step};
  region.b = {src2, src2Step};
  region.dst = {dst, dstStep};
  Select()(region);
  return ippStsNoErr;
}

template <Kernel (*Select)()>
IppStatus InPlace(PixelFormat format, CheckOrder order, const Ipp8u* src, int srcStep,
                  Ipp8u* srcDst, int srcDstStep, IppiSize size) {
  return TwoSources<Select>(format, order, src, srcStep, srcDst, srcDstStep, srcDst, srcDstStep,
                            size);
}

template <Kernel (*Select)()>
IppStatus Constants(PixelFormat format, CheckOrder order, const Ipp8u* src, int srcStep,
                    const Ipp8u* values, Ipp8u* dst, int dstStep, IppiSize size) {
  if (IppStatus status = CheckBitwise(order, {src, values, dst}, {srcStep, dstStep}, size);
      status != ippStsNoErr)
    return status;
  ByteRegion region = WithConstants(RegionOf(format, size), format, values);
  region.b = {src, srcStep};
  region.dst = {dst, dstStep};
  Select()(region);
  return ippStsNoErr;
}

template <Kernel (*Select)()>
IppStatus ConstantsInPlace(PixelFormat format, CheckOrder order, const Ipp8u* values, Ipp8u* srcDst,
                           int srcDstStep, IppiSize size) {
  return Constants<Select>(format, order, srcDst, srcDstStep, values, srcDst, srcDstStep, size);
}

IppStatus Not(PixelFormat format, CheckOrder order, const Ipp8u* src, int srcStep, Ipp8u* dst,
              int dstStep, IppiSize size) {
  if (IppStatus status = CheckBitwise(order, {src, dst}, {srcStep, dstStep}, size);
      status != ippStsNoErr)
    return status;
  const Ipp8u allOnes[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  ByteRegion region = WithConstants(RegionOf(format, size), format, allOnes);
  region.b = {src, srcStep};
  region.dst = {dst, dstStep};
  HWY_DYNAMIC_DISPATCH(XorBytes)(region);
  return ippStsNoErr;
}

IppStatus NotInPlace(PixelFormat format, CheckOrder order, Ipp8u* srcDst, int srcDstStep,
                     IppiSize size) {
  return Not(format, order, srcDst, srcDstStep, srcDst, srcDstStep, size);
}

// What a count does to a byte, as the multiplier the per-channel kernels use.
enum class Direction { kLeft, kRight };

Ipp8u Multiplier(Direction direction, Ipp32u count) {
  if (count > 7) return 0;
  return static_cast<Ipp8u>(direction == Direction::kLeft ? 1u << count : 1u << (7 - count));
}

IppStatus Shift(Direction direction, PixelFormat format, CheckOrder order, const Ipp8u* src,
                int srcStep, const Ipp32u* counts, Ipp8u* dst, int dstStep, IppiSize size) {
  if (IppStatus status = CheckBitwise(order, {src, counts, dst}, {srcStep, dstStep}, size);
      status != ippStsNoErr)
    return status;
  const int channels = format.ComputedBytes();
  Ipp8u multipliers[4] = {};
  for (int channel = 0; channel < channels; ++channel)
    multipliers[channel] = Multiplier(direction, counts[channel]);
  ByteRegion region = WithConstants(RegionOf(format, size), format, multipliers);
  region.dst = {dst, dstStep};
  if (std::all_of(counts, counts + channels, [](Ipp32u count) { return count > 7; })) {
    region.constants = {};  // every bit shifted out
    FillBytes(region);
    return ippStsNoErr;
  }
  region.b = {src, srcStep};
  const bool uniform =
      std::all_of(counts, counts + channels, [counts](Ipp32u count) { return count == counts[0]; });
  const int uniformCount = uniform ? static_cast<int>(counts[0]) : -1;
  if (direction == Direction::kLeft) {
    HWY_DYNAMIC_DISPATCH(ShiftLeftBytes)(region, uniformCount);
  } else {
    HWY_DYNAMIC_DISPATCH(ShiftRightBytes)(region, uniformCount);
  }
  return ippStsNoErr;
}

template <Direction kDirection>
IppStatus ShiftSource(PixelFormat format, CheckOrder order, const Ipp8u* src, int srcStep,
                      const Ipp32u* counts, Ipp8u* dst, int dstStep, IppiSize size) {
  return Shift(kDirection, format, order, src, srcStep, counts, dst, dstStep, size);
}

template <Direction kDirection>
IppStatus ShiftInPlace(PixelFormat format, CheckOrder order, const Ipp32u* counts, Ipp8u* srcDst,
                       int srcDstStep, IppiSize size) {
  return Shift(kDirection, format, order, srcDst, srcDstStep, counts, srcDst, srcDstStep, size);
}

constexpr Direction kLeft = Direction::kLeft;
constexpr Direction kRight = Direction::kRight;

}  // namespace
}  // namespace detail

using namespace detail;

QX_DEFINE_TWO_SOURCE(ippiAnd_8u_C1R, TwoSources<AndKernel>, kPixelC1, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiAnd_8u_C3R, TwoSources<AndKernel>, kPixelC3, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiAnd_8u_AC4R, TwoSources<AndKernel>, kPixelAC4, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiOr_8u_C1R, TwoSources<OrKernel>, kPixelC1, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiOr_8u_C3R, TwoSources<OrKernel>, kPixelC3, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiOr_8u_AC4R, TwoSources<OrKernel>, kPixelAC4, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiXor_8u_C1R, TwoSources<XorKernel>, kPixelC1, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiXor_8u_C3R, TwoSources<XorKernel>, kPixelC3, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiXor_8u_AC4R, TwoSources<XorKernel>, kPixelAC4, kInOrder)

QX_DEFINE_SOURCE_IN_PLACE(ippiAnd_8u_C1IR, InPlace<AndKernel>, kPixelC1, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiAnd_8u_C3IR, InPlace<AndKernel>, kPixelC3, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiAnd_8u_C4IR, InPlace<AndKernel>, kPixelC4, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiAnd_8u_AC4IR, InPlace<AndKernel>, kPixelAC4, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiOr_8u_C1IR, InPlace<OrKernel>, kPixelC1, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiOr_8u_C3IR, InPlace<OrKernel>, kPixelC3, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiOr_8u_C4IR, InPlace<OrKernel>, kPixelC4, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiOr_8u_AC4IR, InPlace<OrKernel>, kPixelAC4, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiXor_8u_C1IR, InPlace<XorKernel>, kPixelC1, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiXor_8u_C3IR, InPlace<XorKernel>, kPixelC3, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiXor_8u_C4IR, InPlace<XorKernel>, kPixelC4, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiXor_8u_AC4IR, InPlace<XorKernel>, kPixelAC4, kInOrder)

QX_DEFINE_CONST_SOURCE(ippiAndC_8u_C3R, Constants<AndKernel>, kPixelC3, kInOrder)
QX_DEFINE_CONST_SOURCE(ippiOrC_8u_C3R, Constants<OrKernel>, kPixelC3, kInOrder)
QX_DEFINE_CONST_SOURCE(ippiXorC_8u_C3R, Constants<XorKernel>, kPixelC3, kInOrder)
QX_DEFINE_CONST_IN_PLACE(ippiAndC_8u_C3IR, ConstantsInPlace<AndKernel>, kPixelC3, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiAndC_8u_C4IR, ConstantsInPlace<AndKernel>, kPixelC4, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiAndC_8u_AC4IR, ConstantsInPlace<AndKernel>, kPixelAC4, kInOrder)
QX_DEFINE_CONST_IN_PLACE(ippiOrC_8u_C3IR, ConstantsInPlace<OrKernel>, kPixelC3, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiOrC_8u_C4IR, ConstantsInPlace<OrKernel>, kPixelC4, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiOrC_8u_AC4IR, ConstantsInPlace<OrKernel>, kPixelAC4, kInOrder)
QX_DEFINE_CONST_IN_PLACE(ippiXorC_8u_C3IR, ConstantsInPlace<XorKernel>, kPixelC3, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiXorC_8u_C4IR, ConstantsInPlace<XorKernel>, kPixelC4, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiXorC_8u_AC4IR, ConstantsInPlace<XorKernel>, kPixelAC4, kInOrder)

QX_DEFINE_ONE_SOURCE(ippiNot_8u_C3R, Not, kPixelC3, kInOrder)
QX_DEFINE_ONE_SOURCE(ippiNot_8u_AC4R, Not, kPixelAC4, kInOrder)
QX_DEFINE_IN_PLACE(ippiNot_8u_C3IR, NotInPlace, kPixelC3, kSizeFirst)
QX_DEFINE_IN_PLACE(ippiNot_8u_C4IR, NotInPlace, kPixelC4, kSizeFirst)
QX_DEFINE_IN_PLACE(ippiNot_8u_AC4IR, NotInPlace, kPixelAC4, kInOrder)

QX_DEFINE_SHIFT_SOURCE(ippiLShiftC_8u_C3R, ShiftSource<kLeft>, kPixelC3, kInOrder)
QX_DEFINE_SHIFT_SOURCE(ippiRShiftC_8u_C3R, ShiftSource<kRight>, kPixelC3, kInOrder)
QX_DEFINE_SHIFT_IN_PLACE(ippiLShiftC_8u_C3IR, ShiftInPlace<kLeft>, kPixelC3, kSizeFirst)
QX_DEFINE_SHIFT_IN_PLACE(ippiLShiftC_8u_C4IR, ShiftInPlace<kLeft>, kPixelC4, kSizeFirst)
QX_DEFINE_SHIFT_IN_PLACE(ippiLShiftC_8u_AC4IR, ShiftInPlace<kLeft>, kPixelAC4, kInOrder)
QX_DEFINE_SHIFT_IN_PLACE(ippiRShiftC_8u_C3IR, ShiftInPlace<kRight>, kPixelC3, kSizeFirst)
QX_DEFINE_SHIFT_IN_PLACE(ippiRShiftC_8u_C4IR, ShiftInPlace<kRight>, kPixelC4, kSizeFirst)
QX_DEFINE_SHIFT_IN_PLACE(ippiRShiftC_8u_AC4IR, ShiftInPlace<kRight>, kPixelAC4, kInOrder)

}  // namespace qx::fallback
#endif  // HWY_ONCE
