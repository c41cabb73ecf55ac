// Scalar references of the bitwise kernels: And, Or, Xor with a second image
// or with constants, Not, and the constant shifts.
#include <cstdint>

#include "dispatch/arith/ArithChecks.h"
#include "dispatch/arith/ArithReference.h"
#include "dispatch/arith/KernelDefinition.h"
#include "dispatch/arith/ReferenceLayout.h"

namespace qx::fallback::reference {
namespace {

using namespace fallback::detail;
using namespace reference::detail;

constexpr CheckOrder kInOrder = CheckOrder::kNullStepSize;
constexpr CheckOrder kSizeFirst = CheckOrder::kSizeFirst;

Ipp8u And(Ipp8u a, Ipp8u b) { return a & b; }
Ipp8u Or(Ipp8u a, Ipp8u b) { return a | b; }
Ipp8u Xor(Ipp8u a, Ipp8u b) { return a ^ b; }

// dst = Op(src1, src2) for every computed byte.
template <Ipp8u (*Op)(Ipp8u, Ipp8u)>
IppStatus TwoSources(Layout layout, CheckOrder order, const Ipp8u* src1, int src1Step,
                     const Ipp8u* src2, int src2Step, Ipp8u* dst, int dstStep, IppiSize size) {
  if (IppStatus status =
          CheckBitwise(order, {src1, src2, dst}, {src1Step, src2Step, dstStep}, size);
      status != ippStsNoErr)
    return status;
  ForEachComputedByte(size, layout, [&](int y, std::ptrdiff_t i, int) {
    RowOf(dst, dstStep, y)[i] = Op(RowOf(src1, src1Step, y)[i], RowOf(src2, src2Step, y)[i]);
  });
  return ippStsNoErr;
}

template <Ipp8u (*Op)(Ipp8u, Ipp8u)>
IppStatus InPlace(Layout layout, CheckOrder order, const Ipp8u* src, int srcStep, Ipp8u* srcDst,
                  int srcDstStep, IppiSize size) {
  return TwoSources<Op>(layout, order, src, srcStep, srcDst, srcDstStep, srcDst, srcDstStep, size);
}

// dst = Op(src, constant of the channel) for every computed byte.
template <Ipp8u (*Op)(Ipp8u, Ipp8u)>
IppStatus WithConstants(Layout layout, CheckOrder order, const Ipp8u* src, int srcStep,
                        const Ipp8u* constants, Ipp8u* dst, int dstStep, IppiSize size) {
  if (IppStatus status = CheckBitwise(order, {src, constants, dst}, {srcStep, dstStep}, size);
      status != ippStsNoErr)
    return status;
  ForEachComputedByte(size, layout, [&](int y, std::ptrdiff_t i, int channel) {
    RowOf(dst, dstStep, y)[i] = Op(RowOf(src, srcStep, y)[i], constants[channel]);
  });
  return ippStsNoErr;
}

template <Ipp8u (*Op)(Ipp8u, Ipp8u)>
IppStatus WithConstantsInPlace(Layout layout, CheckOrder order, const Ipp8u* constants,
                               Ipp8u* srcDst, int srcDstStep, IppiSize size) {
  return WithConstants<Op>(layout, order, srcDst, srcDstStep, constants, srcDst, srcDstStep, size);
}

IppStatus Not(Layout layout, CheckOrder order, const Ipp8u* src, int srcStep, Ipp8u* dst,
              int dstStep, IppiSize size) {
  if (IppStatus status = CheckBitwise(order, {src, dst}, {srcStep, dstStep}, size);
      status != ippStsNoErr)
    return status;
  ForEachComputedByte(size, layout, [&](int y, std::ptrdiff_t i, int) {
    RowOf(dst, dstStep, y)[i] = static_cast<Ipp8u>(255 - RowOf(src, srcStep, y)[i]);
  });
  return ippStsNoErr;
}

IppStatus NotInPlace(Layout layout, CheckOrder order, Ipp8u* srcDst, int srcDstStep,
                     IppiSize size) {
  return Not(layout, order, srcDst, srcDstStep, srcDst, srcDstStep, size);
}

// s << n keeping the low 8 bits, and s >> n; counts above 7 give 0.
Ipp8u ShiftLeft(Ipp8u s, Ipp32u n) { return n > 7 ? 0 : static_cast<Ipp8u>((s << n) & 0xFF); }
Ipp8u ShiftRight(Ipp8u s, Ipp32u n) { return n > 7 ? 0 : static_cast<Ipp8u>(s >> n); }

template <Ipp8u (*Shift)(Ipp8u, Ipp32u)>
IppStatus Shifted(Layout layout, CheckOrder order, const Ipp8u* src, int srcStep,
                  const Ipp32u* counts, Ipp8u* dst, int dstStep, IppiSize size) {
  if (IppStatus status = CheckBitwise(order, {src, counts, dst}, {srcStep, dstStep}, size);
      status != ippStsNoErr)
    return status;
  ForEachComputedByte(size, layout, [&](int y, std::ptrdiff_t i, int channel) {
    RowOf(dst, dstStep, y)[i] = Shift(RowOf(src, srcStep, y)[i], counts[channel]);
  });
  return ippStsNoErr;
}

template <Ipp8u (*Shift)(Ipp8u, Ipp32u)>
IppStatus ShiftedInPlace(Layout layout, CheckOrder order, const Ipp32u* counts, Ipp8u* srcDst,
                         int srcDstStep, IppiSize size) {
  return Shifted<Shift>(layout, order, srcDst, srcDstStep, counts, srcDst, srcDstStep, size);
}

}  // namespace

QX_DEFINE_TWO_SOURCE(ippiAnd_8u_C1R, TwoSources<And>, kC1, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiAnd_8u_C3R, TwoSources<And>, kC3, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiAnd_8u_AC4R, TwoSources<And>, kAC4, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiOr_8u_C1R, TwoSources<Or>, kC1, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiOr_8u_C3R, TwoSources<Or>, kC3, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiOr_8u_AC4R, TwoSources<Or>, kAC4, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiXor_8u_C1R, TwoSources<Xor>, kC1, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiXor_8u_C3R, TwoSources<Xor>, kC3, kInOrder)
QX_DEFINE_TWO_SOURCE(ippiXor_8u_AC4R, TwoSources<Xor>, kAC4, kInOrder)

QX_DEFINE_SOURCE_IN_PLACE(ippiAnd_8u_C1IR, InPlace<And>, kC1, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiAnd_8u_C3IR, InPlace<And>, kC3, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiAnd_8u_C4IR, InPlace<And>, kC4, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiAnd_8u_AC4IR, InPlace<And>, kAC4, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiOr_8u_C1IR, InPlace<Or>, kC1, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiOr_8u_C3IR, InPlace<Or>, kC3, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiOr_8u_C4IR, InPlace<Or>, kC4, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiOr_8u_AC4IR, InPlace<Or>, kAC4, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiXor_8u_C1IR, InPlace<Xor>, kC1, kInOrder)
QX_DEFINE_SOURCE_IN_PLACE(ippiXor_8u_C3IR, InPlace<Xor>, kC3, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiXor_8u_C4IR, InPlace<Xor>, kC4, kSizeFirst)
QX_DEFINE_SOURCE_IN_PLACE(ippiXor_8u_AC4IR, InPlace<Xor>, kAC4, kInOrder)

QX_DEFINE_CONST_SOURCE(ippiAndC_8u_C3R, WithConstants<And>, kC3, kInOrder)
QX_DEFINE_CONST_SOURCE(ippiOrC_8u_C3R, WithConstants<Or>, kC3, kInOrder)
QX_DEFINE_CONST_SOURCE(ippiXorC_8u_C3R, WithConstants<Xor>, kC3, kInOrder)
QX_DEFINE_CONST_IN_PLACE(ippiAndC_8u_C3IR, WithConstantsInPlace<And>, kC3, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiAndC_8u_C4IR, WithConstantsInPlace<And>, kC4, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiAndC_8u_AC4IR, WithConstantsInPlace<And>, kAC4, kInOrder)
QX_DEFINE_CONST_IN_PLACE(ippiOrC_8u_C3IR, WithConstantsInPlace<Or>, kC3, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiOrC_8u_C4IR, WithConstantsInPlace<Or>, kC4, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiOrC_8u_AC4IR, WithConstantsInPlace<Or>, kAC4, kInOrder)
QX_DEFINE_CONST_IN_PLACE(ippiXorC_8u_C3IR, WithConstantsInPlace<Xor>, kC3, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiXorC_8u_C4IR, WithConstantsInPlace<Xor>, kC4, kSizeFirst)
QX_DEFINE_CONST_IN_PLACE(ippiXorC_8u_AC4IR, WithConstantsInPlace<Xor>, kAC4, kInOrder)

QX_DEFINE_ONE_SOURCE(ippiNot_8u_C3R, Not, kC3, kInOrder)
QX_DEFINE_ONE_SOURCE(ippiNot_8u_AC4R, Not, kAC4, kInOrder)
QX_DEFINE_IN_PLACE(ippiNot_8u_C3IR, NotInPlace, kC3, kSizeFirst)
QX_DEFINE_IN_PLACE(ippiNot_8u_C4IR, NotInPlace, kC4, kSizeFirst)
QX_DEFINE_IN_PLACE(ippiNot_8u_AC4IR, NotInPlace, kAC4, kInOrder)

QX_DEFINE_SHIFT_SOURCE(ippiLShiftC_8u_C3R, Shifted<ShiftLeft>, kC3, kInOrder)
QX_DEFINE_SHIFT_SOURCE(ippiRShiftC_8u_C3R, Shifted<ShiftRight>, kC3, kInOrder)
QX_DEFINE_SHIFT_IN_PLACE(ippiLShiftC_8u_C3IR, ShiftedInPlace<ShiftLeft>, kC3, kSizeFirst)
QX_DEFINE_SHIFT_IN_PLACE(ippiLShiftC_8u_C4IR, ShiftedInPlace<ShiftLeft>, kC4, kSizeFirst)
QX_DEFINE_SHIFT_IN_PLACE(ippiLShiftC_8u_AC4IR, ShiftedInPlace<ShiftLeft>, kAC4, kInOrder)
QX_DEFINE_SHIFT_IN_PLACE(ippiRShiftC_8u_C3IR, ShiftedInPlace<ShiftRight>, kC3, kSizeFirst)
QX_DEFINE_SHIFT_IN_PLACE(ippiRShiftC_8u_C4IR, ShiftedInPlace<ShiftRight>, kC4, kSizeFirst)
QX_DEFINE_SHIFT_IN_PLACE(ippiRShiftC_8u_AC4IR, ShiftedInPlace<ShiftRight>, kAC4, kInOrder)

}  // namespace qx::fallback::reference
