// The data types of the IPP calling contract, as every dispatcher entry and
// fallback kernel uses them.
//
// Entries take an image operand as a pointer to the first byte of its region
// of interest plus a signed byte step between rows, a region size by value
// (width, then height, in pixels), and return an IppStatus: 0 on success, a
// positive warning, or a negative error (in which case nothing was written,
// unless the kernel documents otherwise).
#pragma once

#include <cstdint>

namespace qx {

using Ipp8u = std::uint8_t;
using Ipp16u = std::uint16_t;
using Ipp16s = std::int16_t;
using Ipp32u = std::uint32_t;
using Ipp32s = std::int32_t;
using Ipp32f = float;
using IppStatus = std::int32_t;

struct IppiSize {
  int width;
  int height;
};

struct IppiPoint {
  int x;
  int y;
};

// Mirror axes: the axis a mirror reflects about.
enum IppiAxis : int {
  ippAxsHorizontal = 0,  // rows reversed: row y goes to row height - 1 - y
  ippAxsVertical = 1,    // pixels reversed within each row
  ippAxsBoth = 2,        // both at once (a half turn)
};

// Filter mask codes: the decimal digits are the mask's width and height.
enum IppiMaskSize : int {
  ippMskSize3x3 = 33,
  ippMskSize5x5 = 55,
};

// How a filter obtains the pixels outside the source region.
enum IppiBorderType : int {
  ippBorderConst = 0,    // the border value given with the call
  ippBorderRepl = 1,     // the nearest edge pixel
  ippBorderWrap = 2,     // the opposite edge
  ippBorderMirror = 3,   // reflection without repeating the edge pixel (dcb|abcd|cba)
  ippBorderMirrorR = 4,  // reflection repeating the edge pixel (cba|abcd|dcb)
};

// Compositing operations of the AlphaComp entries; the `Premul` forms take
// colour values already multiplied by their alpha.
enum IppiAlphaType : int {
  ippAlphaOver = 0,
  ippAlphaIn = 1,
  ippAlphaOut = 2,
  ippAlphaATop = 3,
  ippAlphaXor = 4,
  ippAlphaPlus = 5,
  ippAlphaOverPremul = 6,
  ippAlphaInPremul = 7,
  ippAlphaOutPremul = 8,
  ippAlphaATopPremul = 9,
  ippAlphaXorPremul = 10,
  ippAlphaPlusPremul = 11,
};

// Status codes the fallback kernels return (IPP's numbering).
enum : IppStatus {
  ippStsNoErr = 0,
  ippStsBadArgErr = -5,         // an argument out of its range (Sobel border type)
  ippStsDivByZero = 6,          // warning: a division met a zero divisor, the region is complete
  ippStsSizeErr = -6,           // width or height (or length) below 1
  ippStsNullPtrErr = -8,        // a required pointer is null
  ippStsMemAllocErr = -9,       // a scratch row could not be allocated
  ippStsDivByZeroErr = -10,     // a constant divisor is zero
  ippStsStepErr = -14,          // a step is too small
  ippStsMirrorFlipErr = -21,    // mirror axis other than 0, 1 or 2
  ippStsMaskSizeErr = -33,      // filter mask smaller than 2, or an unknown mask code
  ippStsAnchorErr = -34,        // filter anchor outside its mask
  ippStsAlphaTypeErr = -50,     // compositing type above 11
  ippStsNumChannelsErr = -53,   // channel count other than 1, 3 or 4
  ippStsChannelOrderErr = -60,  // channel index outside 0..2
  ippStsNotEvenStepErr = -108,  // a 16-bit destination step that is odd
  ippStsNoiseRangeErr = -125,   // a Wiener noise level outside [0, 1)
};

}  // namespace qx
