// The argument lists of the IPP entries, one pointer type per form.
//
// Every dispatcher entry has one of these forms; its own type `TPtr_<entry>`
// is an alias of the form. Argument names follow IPP's: `pSrc`/`srcStep` a
// source operand, `pDst`/`dstStep` a destination, `pSrcDst` an operand that
// is read and overwritten (the in-place `I` entries), `roiSize` the region
// (width then height in pixels) and `scaleFactor` the power of two the exact
// result is divided by before rounding and saturation (`Sfs` entries).
// Constant arrays hold one value per channel (3 for C3 and AC4, 4 for C4).
#pragma once

#include "dispatch/IppTypes.h"

namespace qx {

// --- Two operands ---------------------------------------------------------

// pDst = pSrc1 op pSrc2, scaled.
using TIppiTwoSourceSfs = IppStatus (*)(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2,
                                        int src2Step, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                                        int scaleFactor);
// pDst = pSrc1 op pSrc2.
using TIppiTwoSource = IppStatus (*)(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2,
                                     int src2Step, Ipp8u* pDst, int dstStep, IppiSize roiSize);
// pSrcDst = pSrcDst op pSrc, scaled.
using TIppiSourceInPlaceSfs = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp8u* pSrcDst,
                                            int srcDstStep, IppiSize roiSize, int scaleFactor);
// pSrcDst = pSrcDst op pSrc.
using TIppiSourceInPlace = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp8u* pSrcDst,
                                         int srcDstStep, IppiSize roiSize);

// --- One operand ----------------------------------------------------------

// pDst = f(pSrc): copies, conversions, Not.
using TIppiOneSource = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                     IppiSize roiSize);
// pDst = f(pSrc), scaled: Sqr.
using TIppiOneSourceSfs = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                        IppiSize roiSize, int scaleFactor);
// pSrcDst = f(pSrcDst): Not.
using TIppiInPlace = IppStatus (*)(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize);
// pSrcDst = f(pSrcDst), scaled: Sqr.
using TIppiInPlaceSfs = IppStatus (*)(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                                      int scaleFactor);

// --- One operand and constants --------------------------------------------

// pSrcDst = pSrcDst op value[channel], scaled: AddC, SubC, MulC, DivC.
using TIppiConstInPlaceSfs = IppStatus (*)(const Ipp8u* value, Ipp8u* pSrcDst, int srcDstStep,
                                           IppiSize roiSize, int scaleFactor);
// pSrcDst = pSrcDst op value[channel]: AndC, OrC, XorC, MulCScale; and Set (C3R, AC4R, C4R),
// where `pSrcDst` is only written.
using TIppiConstInPlace = IppStatus (*)(const Ipp8u* value, Ipp8u* pSrcDst, int srcDstStep,
                                        IppiSize roiSize);
// pSrcDst = pSrcDst op value, one byte for every channel: MulCScale C1; and the one-value
// Set entries (C1R, and C3CR/C4CR, whose pointer addresses the channel to fill).
using TIppiByteInPlace = IppStatus (*)(Ipp8u value, Ipp8u* pSrcDst, int srcDstStep,
                                       IppiSize roiSize);
// pDst = pSrc op value[channel]: AndC, OrC, XorC.
using TIppiConstSource = IppStatus (*)(const Ipp8u* pSrc, int srcStep, const Ipp8u* value,
                                       Ipp8u* pDst, int dstStep, IppiSize roiSize);
// pSrcDst shifted by the per-channel bit counts in `value`.
using TIppiShiftInPlace = IppStatus (*)(const Ipp32u* value, Ipp8u* pSrcDst, int srcDstStep,
                                        IppiSize roiSize);
// pDst = pSrc shifted by the per-channel bit counts in `value`.
using TIppiShiftSource = IppStatus (*)(const Ipp8u* pSrc, int srcStep, const Ipp32u* value,
                                       Ipp8u* pDst, int dstStep, IppiSize roiSize);
// pDst = |pSrc - value|, with `value` clamped to 0..255.
using TIppiAbsDiffConst = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                        IppiSize roiSize, int value);

// --- Geometry, planes, statistics -----------------------------------------

using TIppiMirror = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                  IppiSize roiSize, IppiAxis flip);
using TIppiMirrorInPlace = IppStatus (*)(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                                         IppiAxis flip);
using TIppiMirror16u = IppStatus (*)(const Ipp16u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                     IppiSize roiSize, IppiAxis flip);
// Interleaves three planes (one step shared by all three) into 3-channel pixels.
using TIppiCopyPlanes = IppStatus (*)(const Ipp8u* const pSrc[3], int srcStep, Ipp8u* pDst,
                                      int dstStep, IppiSize roiSize);
// *pMax = the largest byte of the region.
using TIppiMax = IppStatus (*)(const Ipp8u* pSrc, int srcStep, IppiSize roiSize, Ipp8u* pMax);
// Exchanges the two bytes of each of `len` 16-bit words.
using TIppsSwapBytesInPlace = IppStatus (*)(Ipp16u* pSrcDst, int len);
using TIppsSwapBytes = IppStatus (*)(const Ipp16u* pSrc, Ipp16u* pDst, int len);
// Copies `len` bytes.
using TIppsCopy = IppStatus (*)(const Ipp8u* pSrc, Ipp8u* pDst, int len);
// Fills a region of signed 16-bit pixels with `value`.
using TIppiSet16s = IppStatus (*)(Ipp16s value, Ipp16s* pDst, int dstStep, IppiSize roiSize);

// --- Colour ---------------------------------------------------------------

// pDst channel k = twist[k][0] s0 + twist[k][1] s1 + twist[k][2] s2 + twist[k][3].
using TIppiColorTwist = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                      IppiSize roiSize, const Ipp32f twist[3][4]);
using TIppiColorTwistInPlace = IppStatus (*)(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                                             const Ipp32f twist[3][4]);
// Destination channel c = source channel dstOrder[c].
using TIppiSwapChannels = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                        IppiSize roiSize, const int dstOrder[3]);
using TIppiSwapChannelsInPlace = IppStatus (*)(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                                               const int dstOrder[3]);
// Gray = weighted sum of the first three channels; null `coeffs` selects the default weights.
using TIppiColorToGray = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                       IppiSize roiSize, const Ipp32f coeffs[3]);
// Composites two images, each with one constant alpha (255 is opaque).
using TIppiAlphaCompConst = IppStatus (*)(const Ipp8u* pSrc1, int src1Step, Ipp8u alpha1,
                                          const Ipp8u* pSrc2, int src2Step, Ipp8u alpha2,
                                          Ipp8u* pDst, int dstStep, IppiSize roiSize,
                                          IppiAlphaType alphaType);

// Composites two images with per-pixel alpha (the fourth byte of each pixel).
using TIppiAlphaComp = IppStatus (*)(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2,
                                     int src2Step, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                                     IppiAlphaType alphaType);

// --- Filters --------------------------------------------------------------

// Adaptive noise removal over a maskSize window placed by `anchor`; `noise` holds one level
// per channel (1 for C1, 3 for C3 and AC4), estimated and written back when zero; `pBuffer`
// is scratch of the size ippiFilterWienerGetBufferSize reports.
using TIppiFilterWiener = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                        IppiSize dstRoiSize, IppiSize maskSize, IppiPoint anchor,
                                        Ipp32f noise[], Ipp8u* pBuffer);
using TIppiFilterWienerGetBufferSize = IppStatus (*)(IppiSize dstRoiSize, IppiSize maskSize,
                                                     int channels, int* pBufferSize);
// Sobel derivative of 8-bit pixels into signed 16-bit ones, pixels outside the source
// region supplied as `borderType` says; `pBuffer` is scratch of the reported size.
using TIppiFilterSobelBorder = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp16s* pDst,
                                             int dstStep, IppiSize dstRoiSize,
                                             IppiMaskSize maskSize, IppiBorderType borderType,
                                             Ipp8u borderValue, Ipp8u* pBuffer);
using TIppiFilterSobelGetBufferSize = IppStatus (*)(IppiSize dstRoiSize, IppiMaskSize maskSize,
                                                    int* pBufferSize);

}  // namespace qx
