// The colour kernels: Quexa's own implementations of the colour entries of
// the dispatcher tables (4:2:2 YUV to and from RGB, weighted gray, channel
// permutation, the 3 x 4 colour twist, alpha compositing) and of the audio
// package's 16-bit colour conversions.
//
// Each function has exactly the argument list of its IPP entry and returns an
// IPP status. Arguments are checked before anything is written; on a negative
// status the destination is untouched. They run SIMD row loops (the best
// instruction set of the running CPU, chosen at run time), never read or write
// a byte outside the regions they are given, keep no state and may be called
// from any number of threads at once. `qx::fallback::reference` (dispatch/
// color/ColorReference.h) has plain scalar versions with identical results.
//
// Byte roles: the YUV conversions read and write byte 0 of a colour pixel as
// red, byte 1 green, byte 2 blue; packed 4:2:2 is Y0 U Y1 V (U and V shared by
// the two pixels of a pair, offset by 128). The 16-bit conversions use
// Quexa's frame layouts: 3- and 4-byte pixels are blue, green, red[, alpha];
// RGB565 words hold red in bits 11-15, green 5-10, blue 0-4; RGB555 words red
// in bits 10-14, green 5-9, blue 0-4 and bit 15 zero. All other kernels map
// channel k of the source to channel k of the destination.
//
// Status codes (IppTypes.h): ippStsNullPtrErr for a null image, table or
// matrix pointer, ippStsSizeErr for a width or height below 1,
// ippStsStepErr for a step below 1 where steps are checked,
// ippStsNotEvenStepErr for an odd step of a 16-bit image,
// ippStsChannelOrderErr for a channel index outside 0..2 and
// ippStsAlphaTypeErr for a compositing type outside 0..11 (negative included).
#pragma once

#include <type_traits>

#include "dispatch/IppEntryForms.h"

namespace qx {

// Argument lists of the 16-bit conversions (steps in bytes).
// Bytes (3 or 4 per pixel) to 16-bit words.
using TIppiPackTo16u = IppStatus (*)(const Ipp8u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                     IppiSize roiSize);
// 16-bit words to bytes (3 or 4 per pixel).
using TIppiUnpackFrom16u = IppStatus (*)(const Ipp16u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                         IppiSize roiSize);
// 16-bit words of one layout to the other.
using TIppiRepack16u = IppStatus (*)(const Ipp16u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                     IppiSize roiSize);

// Every colour kernel with its argument form. KERNEL(form, name).
//
// ippiYUV422ToRGB_8u_C2C3R  4:2:2 to R, G, B bytes. With u = U - 128, v = V - 128:
//     R = Y + (74711 v >> 16), G = Y + ((-25821 u - 38076 v) >> 16),
//     B = Y + (133169 u >> 16)  (arithmetic shifts), each clamped to 0..255.
//     An odd width converts its last pixel from its own Y and U and the V of the
//     preceding pair; a width of 1 uses the pixel's U for v as well. Checks: null,
//     size; steps are not checked.
// ippiRGBToYUV422_8u_C3C2R  R, G, B bytes to 4:2:2. With Yf = 19595 R + 38470 G + 7471 B
//     per pixel: Y = Yf >> 16; for a pair
//     U = ((((B0 + B1) << 16) - Yf0 - Yf1 + 65535) >> 16) * 32244 >> 17) + 128,
//     V = the same with R and 57475, clamped to 0..255. An odd width's last pixel
//     gets its Y and U = ((((B << 16) - Yf + 32767) >> 16) * 32244 >> 16) + 128.
//     Checks as above.
// ippiColorToGray_8u_C3C1R, _AC4C1R  gray = (w0 s0 + w1 s1 + w2 s2) >> 12 over the first
//     three bytes of each pixel, clamped to 0..255, where wk = trunc(coeffs[k] * 4096 + 0.5)
//     (limited to -32768..32767); null coeffs means 0.299, 0.587, 0.114 (1225, 2404, 467)
//     for bytes 0, 1, 2. Checks: null images, size; steps are not checked.
// ippiSwapChannels_8u_C3R, _AC4R, _C3IR  destination channel c = source channel
//     dstOrder[c]; repeated indices allowed, in place too; AC4R keeps the destination's
//     alpha byte. Checks: null (images or order), size, steps, order.
// ippiColorTwist32f_8u_C3R, _C3IR, _AC4IR  channel k = twist[k][0] s0 + twist[k][1] s1 +
//     twist[k][2] s2 + twist[k][3], in long double; >= 255 gives 255, <= 0 (or NaN)
//     gives 0, otherwise rounded to nearest, ties to even. AC4IR keeps the alpha byte.
//     Checks: null (images or matrix), size, steps.
// ippiAlphaCompC_8u_C1R, _C3R, _C4R  every byte (all four of C4) composited from two
//     sources with constant alphas alpha1, alpha2 by one of the twelve IppiAlphaType
//     operations, with D(x) = Div255(x) and sat(x) = min(x, 255):
//       Over   D(s1 a1) + D(D(s2 a2) (255 - a1))   OverPremul  sat(s1 + D(s2 (255 - a1)))
//       In     D(D(s1 a1) a2)                      InPremul    D(s1 a2)
//       Out    D(D(s1 a1) (255 - a2))              OutPremul   D(s1 (255 - a2))
//       ATop   D(D(s1 a1) a2) + D(D(s2 a2) (255 - a1))
//                                         ATopPremul  sat(D(s1 a2) + D(s2 (255 - a1)))
//       Xor    D(D(s1 a1) (255 - a2)) + D(D(s2 a2) (255 - a1))
//                                         XorPremul   sat(D(s1 (255 - a2)) + D(s2 (255 - a1)))
//       Plus   sat(D(s1 a1) + D(s2 a2))            PlusPremul  sat(s1 + s2)
//     Checks: null (any image), size, type; steps are not checked.
// ippiAlphaComp_8u_AC4R  per-pixel alphas: a1 and a2 are byte 3 of each source pixel. The
//     three colour bytes are composited by the formulas above; the result's byte 3 is the
//     composite alpha, which is the same formula with both colours taken as 255 (equally,
//     the Premul formula with s1 = a1, s2 = a2): Over a1 + D(a2 (255 - a1)), In D(a1 a2),
//     Out D(a1 (255 - a2)), ATop D(a1 a2) + D(a2 (255 - a1)), Xor D(a1 (255 - a2)) +
//     D(a2 (255 - a1)), Plus sat(a1 + a2); the Premul types give the same alphas. All
//     products are rounded down by Div255. Checks as for AlphaCompC.
// The 16-bit conversions (audio package). Writing drops the low bits of each byte
// (truncation: red R >> 3, green G >> 2 in 565 or G >> 3 in 555, blue B >> 3; bit 15 of a
// 555 word is 0). Reading shifts a field back up with zero low bits (R = field << 3, 565
// green = field << 2); bit 15 of a 555 word is ignored. The RGBA-producing forms write 255
// into alpha; the RGBA-reading forms ignore it. 555 to 565 widens green as field << 1,
// 565 to 555 narrows it as field >> 1, exactly as reading one layout and writing the other.
// Checks: null, size, steps below 1, then an odd 16-bit step (ippStsNotEvenStepErr).
#define QX_COLOR_KERNELS(KERNEL)                             \
  KERNEL(TIppiOneSource, ippiYUV422ToRGB_8u_C2C3R)           \
  KERNEL(TIppiOneSource, ippiRGBToYUV422_8u_C3C2R)           \
  KERNEL(TIppiColorToGray, ippiColorToGray_8u_C3C1R)         \
  KERNEL(TIppiColorToGray, ippiColorToGray_8u_AC4C1R)        \
  KERNEL(TIppiSwapChannels, ippiSwapChannels_8u_C3R)         \
  KERNEL(TIppiSwapChannels, ippiSwapChannels_8u_AC4R)        \
  KERNEL(TIppiSwapChannelsInPlace, ippiSwapChannels_8u_C3IR) \
  KERNEL(TIppiColorTwist, ippiColorTwist32f_8u_C3R)          \
  KERNEL(TIppiColorTwistInPlace, ippiColorTwist32f_8u_C3IR)  \
  KERNEL(TIppiColorTwistInPlace, ippiColorTwist32f_8u_AC4IR) \
  KERNEL(TIppiAlphaCompConst, ippiAlphaCompC_8u_C1R)         \
  KERNEL(TIppiAlphaCompConst, ippiAlphaCompC_8u_C3R)         \
  KERNEL(TIppiAlphaCompConst, ippiAlphaCompC_8u_C4R)         \
  KERNEL(TIppiAlphaComp, ippiAlphaComp_8u_AC4R)              \
  KERNEL(TIppiPackTo16u, ippiRGB_8u_C3RToRGB565)             \
  KERNEL(TIppiPackTo16u, ippiRGB_8u_C3RToRGB555)             \
  KERNEL(TIppiPackTo16u, ippiRGBA_8u_AC4RToRGB565)           \
  KERNEL(TIppiPackTo16u, ippiRGBA_8u_AC4RToRGB555)           \
  KERNEL(TIppiUnpackFrom16u, ippiRGB565ToRGB_8u_C3R)         \
  KERNEL(TIppiUnpackFrom16u, ippiRGB555ToRGB_8u_C3R)         \
  KERNEL(TIppiUnpackFrom16u, ippiRGB565ToRGBA_8u_AC4R)       \
  KERNEL(TIppiUnpackFrom16u, ippiRGB555ToRGBA_8u_AC4R)       \
  KERNEL(TIppiRepack16u, ippiRGB555ToRGB565)                 \
  KERNEL(TIppiRepack16u, ippiRGB565ToRGB555)

// Declares kernel `name` as a function of exactly the type `form` points to.
#define QX_DECLARE_COLOR_KERNEL(form, name) std::remove_pointer_t<form> name;

namespace fallback {
QX_COLOR_KERNELS(QX_DECLARE_COLOR_KERNEL)
}  // namespace fallback

}  // namespace qx
