// Argument checks of the colour kernels, shared by the SIMD kernels and their
// scalar references so that both report the same status in the same order.
// Each function returns the first failing check's status, or ippStsNoErr.
#pragma once

#include <initializer_list>

#include "dispatch/IppTypes.h"

namespace qx::fallback::detail {

inline bool AnyNull(std::initializer_list<const void*> pointers) {
  for (const void* pointer : pointers)
    if (pointer == nullptr) return true;
  return false;
}

inline bool BadSize(IppiSize size) { return size.width < 1 || size.height < 1; }

inline bool AnyStepBelowOne(std::initializer_list<int> steps) {
  for (int step : steps)
    if (step < 1) return true;
  return false;
}

// YUV conversions and gray: null images, then size; steps are free.
inline IppStatus CheckImagesAndSize(std::initializer_list<const void*> images, IppiSize size) {
  if (AnyNull(images)) return ippStsNullPtrErr;
  if (BadSize(size)) return ippStsSizeErr;
  return ippStsNoErr;
}

// Colour twist: null images or matrix, size, then every step.
inline IppStatus CheckImagesSizeAndSteps(std::initializer_list<const void*> pointers, IppiSize size,
                                         std::initializer_list<int> steps) {
  if (IppStatus status = CheckImagesAndSize(pointers, size); status != ippStsNoErr) return status;
  if (AnyStepBelowOne(steps)) return ippStsStepErr;
  return ippStsNoErr;
}

// Channel swaps: as the colour twist, then every index of the order table in 0..2.
inline IppStatus CheckSwapArguments(std::initializer_list<const void*> images, const int* order,
                                    IppiSize size, std::initializer_list<int> steps) {
  if (AnyNull(images) || order == nullptr) return ippStsNullPtrErr;
  if (BadSize(size)) return ippStsSizeErr;
  if (AnyStepBelowOne(steps)) return ippStsStepErr;
  for (int channel = 0; channel < 3; ++channel)
    if (order[channel] < 0 || order[channel] > 2) return ippStsChannelOrderErr;
  return ippStsNoErr;
}

// Compositing: null images, size, then the type read as an unsigned number.
inline IppStatus CheckCompositeArguments(std::initializer_list<const void*> images, IppiSize size,
                                         IppiAlphaType type) {
  if (IppStatus status = CheckImagesAndSize(images, size); status != ippStsNoErr) return status;
  if (static_cast<unsigned>(type) > static_cast<unsigned>(ippAlphaPlusPremul))
    return ippStsAlphaTypeErr;
  return ippStsNoErr;
}

// 16-bit conversions: null, size, steps below 1, then an odd step of a 16-bit image
// (whose rows would not start on a word).
inline IppStatus CheckPackedArguments(const void* src, int srcStep, bool srcIs16u, void* dst,
                                      int dstStep, bool dstIs16u, IppiSize size) {
  if (IppStatus status = CheckImagesSizeAndSteps({src, dst}, size, {srcStep, dstStep});
      status != ippStsNoErr)
    return status;
  if ((srcIs16u && srcStep % 2 != 0) || (dstIs16u && dstStep % 2 != 0)) return ippStsNotEvenStepErr;
  return ippStsNoErr;
}

}  // namespace qx::fallback::detail
