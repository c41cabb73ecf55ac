// Quexa's own kernels for the adaptive noise-removal (Wiener) and Sobel
// derivative entries, with their scratch-size companions. They follow the IPP
// calling contract (dispatch/IppTypes.h): arguments are checked first, in the
// order listed below, and an error status leaves every output untouched.
// Each kernel picks the widest instruction set of the running CPU. They keep
// no state and may be called from any number of threads at once; source and
// destination must not overlap.
#pragma once

#include "dispatch/IppTypes.h"

namespace qx::fallback {

// ---------------------------------------------------------------------------
// Wiener filter
//
// Every output sample is pulled from its source value towards the mean of its
// window, the more so the closer the local variance is to the noise variance:
//
//   S, Q  = sum and sum of squares of the N = maskSize.width * maskSize.height
//           source samples of the window (one channel),
//   m     = S / N,             v = Q - S * S / N      (N times the variance),
//   n     = noise * 65025 * N  (the noise level is a variance on the 0..1
//           scale of a byte divided by 255),
//   v     = max(v, n),
//   out   = m + (v - n) / v * (source - m), truncated towards zero
//           (out = m where v is 0: a flat window with no noise).
//
// The window of output pixel (x, y) covers the source columns
// x - (maskSize.width - 1 - anchor.x) .. x + anchor.x and the rows
// y - (maskSize.height - 1 - anchor.y) .. y + anchor.y: the caller provides
// those pixels around the region. Window sums are exact (integers), and the
// float arithmetic above is evaluated exactly in this order on every CPU.
//
// `noise` holds one level per filtered channel (1 for C1, 3 for C3 and AC4),
// each in [0, 1). A level below the single-precision epsilon (1.1920929e-07)
// asks for an estimate: the mean of v / N over the region, divided by 65025
// (the average local variance). The estimate is written back into `noise`,
// so that a later call with the same array reuses it, and then used.
//
// `pBuffer` is scratch of at least the size ippiFilterWienerGetBufferSize
// reports for the same region, mask and channel count (3 or 4 for AC4).
//
// Checks, in order: a null pSrc, pDst, noise or pBuffer -> ippStsNullPtrErr;
// width or height below 1 -> ippStsSizeErr; a mask dimension below 2, or a
// mask of more than 33025 pixels (beyond which the window sums of squares
// would not fit 31 bits) -> ippStsMaskSizeErr; the anchor outside the mask ->
// ippStsAnchorErr; a step below 1 -> ippStsStepErr; a used noise level below 0,
// not below 1 or not a number -> ippStsNoiseRangeErr.

// One channel.
IppStatus ippiFilterWiener_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                  IppiSize dstRoiSize, IppiSize maskSize, IppiPoint anchor,
                                  Ipp32f noise[], Ipp8u* pBuffer);
// Three interleaved channels, each filtered with its own noise level.
IppStatus ippiFilterWiener_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                  IppiSize dstRoiSize, IppiSize maskSize, IppiPoint anchor,
                                  Ipp32f noise[], Ipp8u* pBuffer);
// Four bytes per pixel: the first three filtered as C3; the destination's
// fourth (alpha) byte is never written.
IppStatus ippiFilterWiener_8u_AC4R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize dstRoiSize, IppiSize maskSize, IppiPoint anchor,
                                   Ipp32f noise[], Ipp8u* pBuffer);

// Scratch size of the Wiener kernels, in bytes: 64 * floor(k / 4) + 15 with
// k = width + maskSize.width + 6 for one channel and k = width * channels + 6
// for three or four (the kernels align the scratch start up to 16 bytes).
// Checks, in order: a null pBufferSize -> ippStsNullPtrErr; width or height
// below 1 -> ippStsSizeErr; channels other than 1, 3 or 4 ->
// ippStsNumChannelsErr; a mask dimension below 2 -> ippStsMaskSizeErr; a
// size beyond the int range -> ippStsSizeErr.
IppStatus ippiFilterWienerGetBufferSize(IppiSize dstRoiSize, IppiSize maskSize, int channels,
                                        int* pBufferSize);

// ---------------------------------------------------------------------------
// Sobel derivatives, 8-bit source to signed 16-bit destination
//
// The masks, as published for these entries, are applied as a convolution
// (rotated by a half turn against the image), with the anchor at the centre:
//
//   Horiz 3x3:   1  2  1        Vert 3x3:   -1  0  1
//                0  0  0                    -2  0  2
//               -1 -2 -1                    -1  0  1
//
//   Horiz 5x5:   1  4   6  4  1   Vert 5x5:  -1  -2  0   2  1
//                2  8  12  8  2              -4  -8  0   8  4
//                0  0   0  0  0              -6 -12  0  12  6
//               -2 -8 -12 -8 -2              -4  -8  0   8  4
//               -1 -4  -6 -4 -1              -1  -2  0   2  1
//
// So Horiz yields (rows below) - (rows above), positive where the image gets
// brighter downwards, and Vert yields (columns to the left) - (columns to the
// right), positive where it gets darker to the right. Results lie within
// +-1020 (3x3) and +-12240 (5x5): no saturation is ever needed.
//
// The source region is the whole image: pixels beyond its edges are never
// read but supplied by `borderType` (columns and rows independently; shown
// for a row abcd):
//   ippBorderConst    borderValue everywhere outside
//   ippBorderRepl     aa|abcd|dd        the nearest edge pixel
//   ippBorderWrap     cd|abcd|ab        the opposite edge
//   ippBorderMirror   cb|abcd|cb        reflection about the edge pixel
//   ippBorderMirrorR  ba|abcd|dc        reflection repeating the edge pixel
// The reflections and the wrap repeat periodically, so images narrower than
// the mask radius (down to one pixel) are well defined.
//
// `pBuffer` is scratch of at least the size the matching GetBufferSize
// function reports for the same region and mask.
//
// Checks, in order: a null pSrc, pDst or pBuffer -> ippStsNullPtrErr; width or
// height below 1 -> ippStsSizeErr; srcStep below the width -> ippStsStepErr;
// dstStep below twice the width -> ippStsStepErr; an odd dstStep ->
// ippStsNotEvenStepErr; a border type other than the five above ->
// ippStsBadArgErr; a mask other than ippMskSize3x3 or ippMskSize5x5 ->
// ippStsMaskSizeErr.

// Derivative across rows (detects horizontal edges).
IppStatus ippiFilterSobelHorizBorder_8u16s_C1R(const Ipp8u* pSrc, int srcStep, Ipp16s* pDst,
                                               int dstStep, IppiSize dstRoiSize,
                                               IppiMaskSize maskSize, IppiBorderType borderType,
                                               Ipp8u borderValue, Ipp8u* pBuffer);
// Derivative across columns (detects vertical edges).
IppStatus ippiFilterSobelVertBorder_8u16s_C1R(const Ipp8u* pSrc, int srcStep, Ipp16s* pDst,
                                              int dstStep, IppiSize dstRoiSize,
                                              IppiMaskSize maskSize, IppiBorderType borderType,
                                              Ipp8u borderValue, Ipp8u* pBuffer);

// Scratch sizes of the two Sobel kernels, in bytes. Checks, in order: a null
// pBufferSize -> ippStsNullPtrErr; width or height below 1 -> ippStsSizeErr;
// an unknown mask -> ippStsMaskSizeErr; a size beyond the int range ->
// ippStsSizeErr.
IppStatus ippiFilterSobelHorizGetBufferSize_8u16s_C1R(IppiSize dstRoiSize, IppiMaskSize maskSize,
                                                      int* pBufferSize);
IppStatus ippiFilterSobelVertGetBufferSize_8u16s_C1R(IppiSize dstRoiSize, IppiMaskSize maskSize,
                                                     int* pBufferSize);

}  // namespace qx::fallback
