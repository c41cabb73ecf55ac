// The audio package's 16-bit colour conversions: 3-byte (blue, green, red) and
// 4-byte (blue, green, red, alpha) pixels to and from RGB565 and RGB555 words,
// and between the two word layouts.
//
// Every function takes (source, source step, destination, destination step,
// size): steps in bytes, the size in pixels (width, then height). They return
// ippStsNoErr, or without writing anything ippStsNullPtrErr for a null image,
// ippStsSizeErr for a width or height below 1, ippStsStepErr for a step below 1
// and ippStsNotEvenStepErr for an odd step of a 16-bit image.
//
// Word layouts (little-endian 16-bit words): RGB565 holds red in bits 11-15,
// green in 5-10, blue in 0-4; RGB555 red in 10-14, green in 5-9, blue in 0-4,
// and bit 15 zero. Packing truncates: each byte keeps its top 5 bits (6 for
// RGB565 green). Unpacking shifts each field back up with zero low bits, so
// 0xFFFF in RGB565 reads as (248, 252, 248); bit 15 of an RGB555 word is
// ignored. Conversions that produce 4-byte pixels set alpha to 255; those that
// read them ignore alpha.
//
//   std::vector<Ipp16u> words(width * height);
//   qx::sonquo::ippiRGB_8u_C3RToRGB565(rgb, rgbStep, words.data(), 2 * width,
//                                      {width, height});
#pragma once

#include "dispatch/color/ColorFallbacks.h"

namespace qx::sonquo {

// 3-byte pixels to RGB565 words.
using fallback::ippiRGB_8u_C3RToRGB565;
// RGB565 words to 3-byte pixels.
using fallback::ippiRGB565ToRGB_8u_C3R;
// 3-byte pixels to RGB555 words (bit 15 zero).
using fallback::ippiRGB_8u_C3RToRGB555;
// RGB555 words to 3-byte pixels.
using fallback::ippiRGB555ToRGB_8u_C3R;
// 4-byte pixels to RGB565 words; alpha is ignored.
using fallback::ippiRGBA_8u_AC4RToRGB565;
// RGB565 words to 4-byte pixels with alpha 255.
using fallback::ippiRGB565ToRGBA_8u_AC4R;
// 4-byte pixels to RGB555 words; alpha is ignored.
using fallback::ippiRGBA_8u_AC4RToRGB555;
// RGB555 words to 4-byte pixels with alpha 255.
using fallback::ippiRGB555ToRGBA_8u_AC4R;
// RGB555 words to RGB565: green gains a zero lowest bit, bit 15 is dropped.
using fallback::ippiRGB555ToRGB565;
// RGB565 words to RGB555: green loses its lowest bit, bit 15 is zero.
using fallback::ippiRGB565ToRGB555;

}  // namespace qx::sonquo
