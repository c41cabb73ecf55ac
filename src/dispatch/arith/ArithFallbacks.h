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
TwoSourceSfsKernel ippiAdd_8u_C1RSfs, ippiAdd_8u_C3RSfs, ippiAdd_8u_C4RSfs, ippiAdd_8u_AC4RSfs;
TwoSourceSfsKernel ippiSub_8u_C1RSfs, ippiSub_8u_C3RSfs, ippiSub_8u_AC4RSfs;
TwoSourceSfsKernel ippiMul_8u_C1RSfs, ippiMul_8u_C3RSfs, ippiMul_8u_AC4RSfs;
SourceInPlaceSfsKernel ippiAdd_8u_C1IRSfs, ippiAdd_8u_C3IRSfs, ippiAdd_8u_AC4IRSfs;
SourceInPlaceSfsKernel ippiSub_8u_C1IRSfs, ippiSub_8u_C3IRSfs, ippiSub_8u_AC4IRSfs;
SourceInPlaceSfsKernel ippiMul_8u_C1IRSfs, ippiMul_8u_C3IRSfs, ippiMul_8u_AC4IRSfs;

// --- AddC, SubC, MulC: scaled d + c, max(d - c, 0), d * c -------------------
// One constant per channel (C4 forms: four, alpha included). Checks: null
// (-8), size (-6).
ConstInPlaceSfsKernel ippiAddC_8u_C3IRSfs, ippiAddC_8u_AC4IRSfs, ippiAddC_8u_C4IRSfs;
ConstInPlaceSfsKernel ippiSubC_8u_C3IRSfs, ippiSubC_8u_C4IRSfs;
ConstInPlaceSfsKernel ippiMulC_8u_C3IRSfs, ippiMulC_8u_AC4IRSfs, ippiMulC_8u_C4IRSfs;

// --- Sqr: scaled s * s. Checks: null (-8), size (-6), step < 1 (-14) --------
OneSourceSfsKernel ippiSqr_8u_C3RSfs, ippiSqr_8u_AC4RSfs;
InPlaceSfsKernel ippiSqr_8u_C3IRSfs, ippiSqr_8u_AC4IRSfs;

// --- Div: s2 / s1 (in place: d / s), DivC: d / c -----------------------------
// The quotient times 2^-sf, rounded to the nearest integer (ties to even), at
// most 255. A zero divisor gives 255 over a non-zero dividend and 0 over zero.
// Div still processes the whole region and returns the warning 6
// (ippStsDivByZero). DivC with a zero constant returns -10: the C3 and C4
// forms still divide the whole region by the rule above, the AC4 form writes
// nothing. Checks: null (-8), size (-6), step < 1 (-14), then the constants.
TwoSourceSfsKernel ippiDiv_8u_C1RSfs, ippiDiv_8u_C3RSfs, ippiDiv_8u_AC4RSfs;
SourceInPlaceSfsKernel ippiDiv_8u_C1IRSfs, ippiDiv_8u_C3IRSfs, ippiDiv_8u_AC4IRSfs;
ConstInPlaceSfsKernel ippiDivC_8u_C3IRSfs, ippiDivC_8u_C4IRSfs, ippiDivC_8u_AC4IRSfs;

// --- MulScale: s * d / 255, MulCScale: d * c / 255, both rounded down -------
// Checks: null (-8), step < 1 (-14), size (-6); the C3 and C4 forms check the
// size first.
SourceInPlaceKernel ippiMulScale_8u_C1IR, ippiMulScale_8u_C3IR, ippiMulScale_8u_AC4IR,
    ippiMulScale_8u_C4IR;
ByteInPlaceKernel ippiMulCScale_8u_C1IR;
ConstInPlaceKernel ippiMulCScale_8u_C3IR, ippiMulCScale_8u_AC4IR, ippiMulCScale_8u_C4IR;

// --- AbsDiff: |s1 - s2|; AbsDiffC: |s - v| with v clamped to 0..255 ---------
// Checks: null (-8), size (-6), a step smaller than the row (-14).
TwoSourceKernel ippiAbsDiff_8u_C1R;
AbsDiffConstKernel ippiAbsDiffC_8u_C1R;

// --- And, Or, Xor (with a second image or with constants), Not -------------
// Checks: null (-8), step < 1 (-14), size (-6); the C3 and C4 in-place forms
// check the size first.
TwoSourceKernel ippiAnd_8u_C1R, ippiAnd_8u_C3R, ippiAnd_8u_AC4R;
TwoSourceKernel ippiOr_8u_C1R, ippiOr_8u_C3R, ippiOr_8u_AC4R;
TwoSourceKernel ippiXor_8u_C1R, ippiXor_8u_C3R, ippiXor_8u_AC4R;
SourceInPlaceKernel ippiAnd_8u_C1IR, ippiAnd_8u_C3IR, ippiAnd_8u_C4IR, ippiAnd_8u_AC4IR;
SourceInPlaceKernel ippiOr_8u_C1IR, ippiOr_8u_C3IR, ippiOr_8u_C4IR, ippiOr_8u_AC4IR;
SourceInPlaceKernel ippiXor_8u_C1IR, ippiXor_8u_C3IR, ippiXor_8u_C4IR, ippiXor_8u_AC4IR;
ConstSourceKernel ippiAndC_8u_C3R, ippiOrC_8u_C3R, ippiXorC_8u_C3R;
ConstInPlaceKernel ippiAndC_8u_C3IR, ippiAndC_8u_C4IR, ippiAndC_8u_AC4IR;
ConstInPlaceKernel ippiOrC_8u_C3IR, ippiOrC_8u_C4IR, ippiOrC_8u_AC4IR;
ConstInPlaceKernel ippiXorC_8u_C3IR, ippiXorC_8u_C4IR, ippiXorC_8u_AC4IR;
// Not: 255 - s; the C4 form inverts the alpha byte too.
OneSourceKernel ippiNot_8u_C3R, ippiNot_8u_AC4R;
InPlaceKernel ippiNot_8u_C3IR, ippiNot_8u_C4IR, ippiNot_8u_AC4IR;

// --- LShiftC, RShiftC: s << n kept to 8 bits, s >> n ------------------------
// One 32-bit count per channel; a count above 7 gives 0. Checks as And.
ShiftSourceKernel ippiLShiftC_8u_C3R, ippiRShiftC_8u_C3R;
ShiftInPlaceKernel ippiLShiftC_8u_C3IR, ippiLShiftC_8u_C4IR, ippiLShiftC_8u_AC4IR;
ShiftInPlaceKernel ippiRShiftC_8u_C3IR, ippiRShiftC_8u_C4IR, ippiRShiftC_8u_AC4IR;

// --- Set: fill the region with one pixel value -------------------------------
// C1R one byte; C3R three bytes; AC4R three bytes, alpha kept; C4R four bytes;
// C3CR and C4CR write one byte into one channel of every pixel (the pointer
// addresses that channel); 16s fills signed 16-bit pixels.
// Checks: null (-8), size (-6), step < 1 (-14).
ByteInPlaceKernel ippiSet_8u_C1R, ippiSet_8u_C3CR, ippiSet_8u_C4CR;
ConstInPlaceKernel ippiSet_8u_C3R, ippiSet_8u_AC4R, ippiSet_8u_C4R;
Set16sKernel ippiSet_16s_C1R;

// --- Copy -------------------------------------------------------------------
// C1R, C3R, C4R: whole pixels; AC4R: colour bytes, destination alpha kept.
// C4CR: one channel to the same-sized channel of another C4 image; C1C3R,
// C1C4R: a plane into one channel; C3C1R, C4C1R: one channel into a plane (a
// channel pointer addresses the channel's byte of the first pixel).
// C3AC4R: colour bytes into 4-byte pixels, destination alpha kept; AC4C3R:
// colour bytes of 4-byte pixels, source alpha dropped. P3C3R: byte c of each
// pixel from plane c (one step for the three planes).
// Checks: null (-8; any null plane pointer too), size (-6).
OneSourceKernel ippiCopy_8u_C1R, ippiCopy_8u_C3R, ippiCopy_8u_C4R, ippiCopy_8u_AC4R;
OneSourceKernel ippiCopy_8u_C4CR, ippiCopy_8u_C1C3R, ippiCopy_8u_C1C4R, ippiCopy_8u_C3C1R,
    ippiCopy_8u_C4C1R;
OneSourceKernel ippiCopy_8u_C3AC4R, ippiCopy_8u_AC4C3R;
CopyPlanesKernel ippiCopy_8u_P3C3R;
// `len` bytes. Checks: null (-8), len < 1 (-6).
VectorCopyKernel ippsCopy_8u;

// --- Mirror -------------------------------------------------------------------
// Axis 0 (ippAxsHorizontal) reverses the rows, 1 (ippAxsVertical) the pixels
// within each row, 2 both. AC4 forms keep the destination's alpha bytes.
// Checks: null (-8), size (-6), axis (-21).
MirrorKernel ippiMirror_8u_C1R, ippiMirror_8u_C3R, ippiMirror_8u_C4R, ippiMirror_8u_AC4R;
Mirror16uKernel ippiMirror_16u_C1R;
MirrorInPlaceKernel ippiMirror_8u_C1IR, ippiMirror_8u_C3IR, ippiMirror_8u_C4IR, ippiMirror_8u_AC4IR;

// --- Max: the largest byte of the region --------------------------------------
// Checks: null (-8), size (-6), step < 1 (-14).
MaxKernel ippiMax_8u_C1R;

// --- SwapBytes: each 16-bit word with its two bytes exchanged ------------------
// Checks: null (-8), len < 1 (-6).
SwapBytesInPlaceKernel ippsSwapBytes_16u_I;
SwapBytesKernel ippsSwapBytes_16u;

}  // namespace qx::fallback
