// Quexa's own kernels for the arithmetic, logic, fill, copy, mirror, maximum
// and byte-swap entries of the dispatcher tables.
//
// Each function has exactly the argument list of the IPP entry it is named
// after (see dispatch/IppEntryForms.h for the forms) and returns an IPP
// status. The kernels are SIMD code that picks the best instruction set of the
// running CPU; dispatch/arith/ArithReference.h has plain scalar twins with the
// same contract. They keep no state and may be called from any thread.
//
// Common rules:
// - Pixels are interleaved bytes: C1 one byte, C3 three, C4 four. AC4 pixels
//   are four bytes of which the kernel computes the first three; the fourth
//   (alpha) byte of the destination keeps its value. No channel order is
//   assumed: byte k of a pixel pairs with byte k of the other operand and of a
//   constant array.
// - `I` entries work in place: the second source is also the destination.
// - A negative status means nothing was written, except for DivC (below).
//   Arguments are checked in the order given with each family, and the first
//   failure is returned. A null constant pointer is a null pointer error.
//
// Scaled results (`Sfs` entries): with E >= 0 the exact result of one channel,
// the stored byte is min(E, 255) for scaleFactor 0, min(E * 2^-sf, 255) for a
// negative scale factor, and E / 2^sf rounded to the nearest integer (ties to
// the even one), at most 255, for a positive one.
#pragma once

#include <type_traits>

#include "dispatch/IppEntryForms.h"

namespace qx::fallback {

// Function types of the entry forms, to declare each kernel with its entry's
// exact argument list.
using TwoSourceSfsKernel = std::remove_pointer_t<TIppiTwoSourceSfs>;
using TwoSourceKernel = std::remove_pointer_t<TIppiTwoSource>;
using SourceInPlaceSfsKernel = std::remove_pointer_t<TIppiSourceInPlaceSfs>;
using SourceInPlaceKernel = std::remove_pointer_t<TIppiSourceInPlace>;
using OneSourceKernel = std::remove_pointer_t<TIppiOneSource>;
using OneSourceSfsKernel = std::remove_pointer_t<TIppiOneSourceSfs>;
using InPlaceKernel = std::remove_pointer_t<TIppiInPlace>;
using InPlaceSfsKernel = std::remove_pointer_t<TIppiInPlaceSfs>;
using ConstInPlaceSfsKernel = std::remove_pointer_t<TIppiConstInPlaceSfs>;
using ConstInPlaceKernel = std::remove_pointer_t<TIppiConstInPlace>;
using ByteInPlaceKernel = std::remove_pointer_t<TIppiByteInPlace>;
using ConstSourceKernel = std::remove_pointer_t<TIppiConstSource>;
using ShiftInPlaceKernel = std::remove_pointer_t<TIppiShiftInPlace>;
using ShiftSourceKernel = std::remove_pointer_t<TIppiShiftSource>;
using AbsDiffConstKernel = std::remove_pointer_t<TIppiAbsDiffConst>;
using MirrorKernel = std::remove_pointer_t<TIppiMirror>;
using MirrorInPlaceKernel = std::remove_pointer_t<TIppiMirrorInPlace>;
using Mirror16uKernel = std::remove_pointer_t<TIppiMirror16u>;
using CopyPlanesKernel = std::remove_pointer_t<TIppiCopyPlanes>;
using MaxKernel = std::remove_pointer_t<TIppiMax>;
using SwapBytesInPlaceKernel = std::remove_pointer_t<TIppsSwapBytesInPlace>;
using SwapBytesKernel = std::remove_pointer_t<TIppsSwapBytes>;
using VectorCopyKernel = std::remove_pointer_t<TIppsCopy>;
using Set16sKernel = std::remove_pointer_t<TIppiSet16s>;

// --- Add, Sub, Mul: scaled s1 + s2, max(s2 - s1, 0), s1 * s2 --------------
// Sub subtracts source 1 from source 2; in place, the source from the
// destination. Checks: null (-8), size (-6); steps are not checked.
#define QX_ARITH_SCALED_KERNELS(KERNEL)               \
  KERNEL(TwoSourceSfsKernel, ippiAdd_8u_C1RSfs)       \
  KERNEL(TwoSourceSfsKernel, ippiAdd_8u_C3RSfs)       \
  KERNEL(TwoSourceSfsKernel, ippiAdd_8u_C4RSfs)       \
  KERNEL(TwoSourceSfsKernel, ippiAdd_8u_AC4RSfs)      \
  KERNEL(TwoSourceSfsKernel, ippiSub_8u_C1RSfs)       \
  KERNEL(TwoSourceSfsKernel, ippiSub_8u_C3RSfs)       \
  KERNEL(TwoSourceSfsKernel, ippiSub_8u_AC4RSfs)      \
  KERNEL(TwoSourceSfsKernel, ippiMul_8u_C1RSfs)       \
  KERNEL(TwoSourceSfsKernel, ippiMul_8u_C3RSfs)       \
  KERNEL(TwoSourceSfsKernel, ippiMul_8u_AC4RSfs)      \
  KERNEL(SourceInPlaceSfsKernel, ippiAdd_8u_C1IRSfs)  \
  KERNEL(SourceInPlaceSfsKernel, ippiAdd_8u_C3IRSfs)  \
  KERNEL(SourceInPlaceSfsKernel, ippiAdd_8u_AC4IRSfs) \
  KERNEL(SourceInPlaceSfsKernel, ippiSub_8u_C1IRSfs)  \
  KERNEL(SourceInPlaceSfsKernel, ippiSub_8u_C3IRSfs)  \
  KERNEL(SourceInPlaceSfsKernel, ippiSub_8u_AC4IRSfs) \
  KERNEL(SourceInPlaceSfsKernel, ippiMul_8u_C1IRSfs)  \
  KERNEL(SourceInPlaceSfsKernel, ippiMul_8u_C3IRSfs)  \
  KERNEL(SourceInPlaceSfsKernel, ippiMul_8u_AC4IRSfs)

// --- AddC, SubC, MulC: scaled d + c, max(d - c, 0), d * c -------------------
// One constant per channel (C4 forms: four, alpha included). Checks: null
// (-8), size (-6).
#define QX_ARITH_SCALED_CONST_KERNELS(KERNEL)         \
  KERNEL(ConstInPlaceSfsKernel, ippiAddC_8u_C3IRSfs)  \
  KERNEL(ConstInPlaceSfsKernel, ippiAddC_8u_AC4IRSfs) \
  KERNEL(ConstInPlaceSfsKernel, ippiAddC_8u_C4IRSfs)  \
  KERNEL(ConstInPlaceSfsKernel, ippiSubC_8u_C3IRSfs)  \
  KERNEL(ConstInPlaceSfsKernel, ippiSubC_8u_C4IRSfs)  \
  KERNEL(ConstInPlaceSfsKernel, ippiMulC_8u_C3IRSfs)  \
  KERNEL(ConstInPlaceSfsKernel, ippiMulC_8u_AC4IRSfs) \
  KERNEL(ConstInPlaceSfsKernel, ippiMulC_8u_C4IRSfs)

// --- Sqr: scaled s * s. Checks: null (-8), size (-6), step < 1 (-14) --------
#define QX_ARITH_SQR_KERNELS(KERNEL)             \
  KERNEL(OneSourceSfsKernel, ippiSqr_8u_C3RSfs)  \
  KERNEL(OneSourceSfsKernel, ippiSqr_8u_AC4RSfs) \
  KERNEL(InPlaceSfsKernel, ippiSqr_8u_C3IRSfs)   \
  KERNEL(InPlaceSfsKernel, ippiSqr_8u_AC4IRSfs)

// --- Div: s2 / s1 (in place: d / s), DivC: d / c -----------------------------
// The quotient times 2^-sf, rounded to the nearest integer (ties to even), at
// most 255. A zero divisor gives 255 over a non-zero dividend and 0 over zero.
// Div still processes the whole region and returns the warning 6
// (ippStsDivByZero). DivC with a zero constant returns -10: the C3 and C4
// forms still divide the whole region by the rule above, the AC4 form writes
// nothing. Checks: null (-8), size (-6), step < 1 (-14), then the constants.
#define QX_ARITH_DIVISION_KERNELS(KERNEL)             \
  KERNEL(TwoSourceSfsKernel, ippiDiv_8u_C1RSfs)       \
  KERNEL(TwoSourceSfsKernel, ippiDiv_8u_C3RSfs)       \
  KERNEL(TwoSourceSfsKernel, ippiDiv_8u_AC4RSfs)      \
  KERNEL(SourceInPlaceSfsKernel, ippiDiv_8u_C1IRSfs)  \
  KERNEL(SourceInPlaceSfsKernel, ippiDiv_8u_C3IRSfs)  \
  KERNEL(SourceInPlaceSfsKernel, ippiDiv_8u_AC4IRSfs) \
  KERNEL(ConstInPlaceSfsKernel, ippiDivC_8u_C3IRSfs)  \
  KERNEL(ConstInPlaceSfsKernel, ippiDivC_8u_C4IRSfs)  \
  KERNEL(ConstInPlaceSfsKernel, ippiDivC_8u_AC4IRSfs)

// --- MulScale: s * d / 255, MulCScale: d * c / 255, both rounded down -------
// Checks: null (-8), step < 1 (-14), size (-6); the C3 and C4 forms check the
// size first.
#define QX_ARITH_MULSCALE_KERNELS(KERNEL)            \
  KERNEL(SourceInPlaceKernel, ippiMulScale_8u_C1IR)  \
  KERNEL(SourceInPlaceKernel, ippiMulScale_8u_C3IR)  \
  KERNEL(SourceInPlaceKernel, ippiMulScale_8u_AC4IR) \
  KERNEL(SourceInPlaceKernel, ippiMulScale_8u_C4IR)  \
  KERNEL(ByteInPlaceKernel, ippiMulCScale_8u_C1IR)   \
  KERNEL(ConstInPlaceKernel, ippiMulCScale_8u_C3IR)  \
  KERNEL(ConstInPlaceKernel, ippiMulCScale_8u_AC4IR) \
  KERNEL(ConstInPlaceKernel, ippiMulCScale_8u_C4IR)

// --- AbsDiff: |s1 - s2|; AbsDiffC: |s - v| with v clamped to 0..255 ---------
// Checks: null (-8), size (-6), a step smaller than the row (-14).
#define QX_ARITH_ABSDIFF_KERNELS(KERNEL)      \
  KERNEL(TwoSourceKernel, ippiAbsDiff_8u_C1R) \
  KERNEL(AbsDiffConstKernel, ippiAbsDiffC_8u_C1R)

// --- And, Or, Xor (with a second image or with constants), Not -------------
// Checks: null (-8), step < 1 (-14), size (-6); the C3 and C4 in-place forms
// check the size first.
#define QX_ARITH_LOGIC_KERNELS(KERNEL)          \
  KERNEL(TwoSourceKernel, ippiAnd_8u_C1R)       \
  KERNEL(TwoSourceKernel, ippiAnd_8u_C3R)       \
  KERNEL(TwoSourceKernel, ippiAnd_8u_AC4R)      \
  KERNEL(TwoSourceKernel, ippiOr_8u_C1R)        \
  KERNEL(TwoSourceKernel, ippiOr_8u_C3R)        \
  KERNEL(TwoSourceKernel, ippiOr_8u_AC4R)       \
  KERNEL(TwoSourceKernel, ippiXor_8u_C1R)       \
  KERNEL(TwoSourceKernel, ippiXor_8u_C3R)       \
  KERNEL(TwoSourceKernel, ippiXor_8u_AC4R)      \
  KERNEL(SourceInPlaceKernel, ippiAnd_8u_C1IR)  \
  KERNEL(SourceInPlaceKernel, ippiAnd_8u_C3IR)  \
  KERNEL(SourceInPlaceKernel, ippiAnd_8u_C4IR)  \
  KERNEL(SourceInPlaceKernel, ippiAnd_8u_AC4IR) \
  KERNEL(SourceInPlaceKernel, ippiOr_8u_C1IR)   \
  KERNEL(SourceInPlaceKernel, ippiOr_8u_C3IR)   \
  KERNEL(SourceInPlaceKernel, ippiOr_8u_C4IR)   \
  KERNEL(SourceInPlaceKernel, ippiOr_8u_AC4IR)  \
  KERNEL(SourceInPlaceKernel, ippiXor_8u_C1IR)  \
  KERNEL(SourceInPlaceKernel, ippiXor_8u_C3IR)  \
  KERNEL(SourceInPlaceKernel, ippiXor_8u_C4IR)  \
  KERNEL(SourceInPlaceKernel, ippiXor_8u_AC4IR) \
  KERNEL(ConstSourceKernel, ippiAndC_8u_C3R)    \
  KERNEL(ConstSourceKernel, ippiOrC_8u_C3R)     \
  KERNEL(ConstSourceKernel, ippiXorC_8u_C3R)    \
  KERNEL(ConstInPlaceKernel, ippiAndC_8u_C3IR)  \
  KERNEL(ConstInPlaceKernel, ippiAndC_8u_C4IR)  \
  KERNEL(ConstInPlaceKernel, ippiAndC_8u_AC4IR) \
  KERNEL(ConstInPlaceKernel, ippiOrC_8u_C3IR)   \
  KERNEL(ConstInPlaceKernel, ippiOrC_8u_C4IR)   \
  KERNEL(ConstInPlaceKernel, ippiOrC_8u_AC4IR)  \
  KERNEL(ConstInPlaceKernel, ippiXorC_8u_C3IR)  \
  KERNEL(ConstInPlaceKernel, ippiXorC_8u_C4IR)  \
  KERNEL(ConstInPlaceKernel, ippiXorC_8u_AC4IR)

// Not: 255 - s; the C4 form inverts the alpha byte too.
#define QX_ARITH_NOT_KERNELS(KERNEL)       \
  KERNEL(OneSourceKernel, ippiNot_8u_C3R)  \
  KERNEL(OneSourceKernel, ippiNot_8u_AC4R) \
  KERNEL(InPlaceKernel, ippiNot_8u_C3IR)   \
  KERNEL(InPlaceKernel, ippiNot_8u_C4IR)   \
  KERNEL(InPlaceKernel, ippiNot_8u_AC4IR)

// --- LShiftC, RShiftC: s << n kept to 8 bits, s >> n ------------------------
// One 32-bit count per channel; a count above 7 gives 0. Checks as And.
#define QX_ARITH_SHIFT_KERNELS(KERNEL)             \
  KERNEL(ShiftSourceKernel, ippiLShiftC_8u_C3R)    \
  KERNEL(ShiftSourceKernel, ippiRShiftC_8u_C3R)    \
  KERNEL(ShiftInPlaceKernel, ippiLShiftC_8u_C3IR)  \
  KERNEL(ShiftInPlaceKernel, ippiLShiftC_8u_C4IR)  \
  KERNEL(ShiftInPlaceKernel, ippiLShiftC_8u_AC4IR) \
  KERNEL(ShiftInPlaceKernel, ippiRShiftC_8u_C3IR)  \
  KERNEL(ShiftInPlaceKernel, ippiRShiftC_8u_C4IR)  \
  KERNEL(ShiftInPlaceKernel, ippiRShiftC_8u_AC4IR)

// --- Set: fill the region with one pixel value -------------------------------
// C1R one byte; C3R three bytes; AC4R three bytes, alpha kept; C4R four bytes;
// C3CR and C4CR write one byte into one channel of every pixel (the pointer
// addresses that channel); 16s fills signed 16-bit pixels.
// Checks: null (-8), size (-6), step < 1 (-14).
#define QX_ARITH_SET_KERNELS(KERNEL)          \
  KERNEL(ByteInPlaceKernel, ippiSet_8u_C1R)   \
  KERNEL(ByteInPlaceKernel, ippiSet_8u_C3CR)  \
  KERNEL(ByteInPlaceKernel, ippiSet_8u_C4CR)  \
  KERNEL(ConstInPlaceKernel, ippiSet_8u_C3R)  \
  KERNEL(ConstInPlaceKernel, ippiSet_8u_AC4R) \
  KERNEL(ConstInPlaceKernel, ippiSet_8u_C4R)  \
  KERNEL(Set16sKernel, ippiSet_16s_C1R)

// --- Copy -------------------------------------------------------------------
// C1R, C3R, C4R: whole pixels; AC4R: colour bytes, destination alpha kept.
// C4CR: one channel to the same-sized channel of another C4 image; C1C3R,
// C1C4R: a plane into one channel; C3C1R, C4C1R: one channel into a plane (a
// channel pointer addresses the channel's byte of the first pixel).
// C3AC4R: colour bytes into 4-byte pixels, destination alpha kept; AC4C3R:
// colour bytes of 4-byte pixels, source alpha dropped. P3C3R: byte c of each
// pixel from plane c (one step for the three planes).
// Checks: null (-8; any null plane pointer too), size (-6).
#define QX_ARITH_COPY_KERNELS(KERNEL)         \
  KERNEL(OneSourceKernel, ippiCopy_8u_C1R)    \
  KERNEL(OneSourceKernel, ippiCopy_8u_C3R)    \
  KERNEL(OneSourceKernel, ippiCopy_8u_C4R)    \
  KERNEL(OneSourceKernel, ippiCopy_8u_AC4R)   \
  KERNEL(OneSourceKernel, ippiCopy_8u_C4CR)   \
  KERNEL(OneSourceKernel, ippiCopy_8u_C1C3R)  \
  KERNEL(OneSourceKernel, ippiCopy_8u_C1C4R)  \
  KERNEL(OneSourceKernel, ippiCopy_8u_C3C1R)  \
  KERNEL(OneSourceKernel, ippiCopy_8u_C4C1R)  \
  KERNEL(OneSourceKernel, ippiCopy_8u_C3AC4R) \
  KERNEL(OneSourceKernel, ippiCopy_8u_AC4C3R) \
  KERNEL(CopyPlanesKernel, ippiCopy_8u_P3C3R)

// `len` bytes. Checks: null (-8), len < 1 (-6).
#define QX_ARITH_VECTOR_COPY_KERNELS(KERNEL) KERNEL(VectorCopyKernel, ippsCopy_8u)

// --- Mirror -------------------------------------------------------------------
// Axis 0 (ippAxsHorizontal) reverses the rows, 1 (ippAxsVertical) the pixels
// within each row, 2 both. AC4 forms keep the destination's alpha bytes.
// Checks: null (-8), size (-6), axis (-21).
#define QX_ARITH_MIRROR_KERNELS(KERNEL)           \
  KERNEL(MirrorKernel, ippiMirror_8u_C1R)         \
  KERNEL(MirrorKernel, ippiMirror_8u_C3R)         \
  KERNEL(MirrorKernel, ippiMirror_8u_C4R)         \
  KERNEL(MirrorKernel, ippiMirror_8u_AC4R)        \
  KERNEL(Mirror16uKernel, ippiMirror_16u_C1R)     \
  KERNEL(MirrorInPlaceKernel, ippiMirror_8u_C1IR) \
  KERNEL(MirrorInPlaceKernel, ippiMirror_8u_C3IR) \
  KERNEL(MirrorInPlaceKernel, ippiMirror_8u_C4IR) \
  KERNEL(MirrorInPlaceKernel, ippiMirror_8u_AC4IR)

// --- Max: the largest byte of the region --------------------------------------
// Checks: null (-8), size (-6), step < 1 (-14).
#define QX_ARITH_MAX_KERNELS(KERNEL) KERNEL(MaxKernel, ippiMax_8u_C1R)

// --- SwapBytes: each 16-bit word with its two bytes exchanged ------------------
// Checks: null (-8), len < 1 (-6).
#define QX_ARITH_SWAP_KERNELS(KERNEL)                 \
  KERNEL(SwapBytesInPlaceKernel, ippsSwapBytes_16u_I) \
  KERNEL(SwapBytesKernel, ippsSwapBytes_16u)

// Every kernel of this family, as KERNEL(function type, entry name).
#define QX_ARITH_KERNELS(KERNEL)        \
  QX_ARITH_SCALED_KERNELS(KERNEL)       \
  QX_ARITH_SCALED_CONST_KERNELS(KERNEL) \
  QX_ARITH_SQR_KERNELS(KERNEL)          \
  QX_ARITH_DIVISION_KERNELS(KERNEL)     \
  QX_ARITH_MULSCALE_KERNELS(KERNEL)     \
  QX_ARITH_ABSDIFF_KERNELS(KERNEL)      \
  QX_ARITH_LOGIC_KERNELS(KERNEL)        \
  QX_ARITH_NOT_KERNELS(KERNEL)          \
  QX_ARITH_SHIFT_KERNELS(KERNEL)        \
  QX_ARITH_SET_KERNELS(KERNEL)          \
  QX_ARITH_COPY_KERNELS(KERNEL)         \
  QX_ARITH_VECTOR_COPY_KERNELS(KERNEL)  \
  QX_ARITH_MIRROR_KERNELS(KERNEL)       \
  QX_ARITH_MAX_KERNELS(KERNEL)          \
  QX_ARITH_SWAP_KERNELS(KERNEL)

#define QX_DECLARE_ARITH_KERNEL(type, name) type name;

QX_ARITH_KERNELS(QX_DECLARE_ARITH_KERNEL)

}  // namespace qx::fallback
