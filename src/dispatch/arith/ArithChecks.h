// Argument checks of the arithmetic, logic, copy and mirror kernels, shared by
// the SIMD kernels and their scalar references so that both report the same
// status in the same order. Each function returns the status of the first
// failing check, or ippStsNoErr.
#pragma once

#include <initializer_list>

#include "dispatch/IppTypes.h"

namespace qx::fallback::detail {

using Pointers = std::initializer_list<const void*>;
using Steps = std::initializer_list<int>;

inline bool AnyNull(Pointers pointers) {
  for (const void* pointer : pointers)
    if (pointer == nullptr) return true;
  return false;
}

inline bool BadSize(IppiSize size) { return size.width < 1 || size.height < 1; }

inline bool AnyStepBelow(int minimum, Steps steps) {
  for (int step : steps)
    if (step < minimum) return true;
  return false;
}

// Add, Sub, Mul and their constant forms, Copy: null, then size; any step.
inline IppStatus CheckNullSize(Pointers pointers, IppiSize size) {
  if (AnyNull(pointers)) return ippStsNullPtrErr;
  if (BadSize(size)) return ippStsSizeErr;
  return ippStsNoErr;
}

// Set, Max, Sqr, Div, DivC: null, size, then every step at least 1.
inline IppStatus CheckNullSizeStep(Pointers pointers, IppiSize size, Steps steps) {
  if (IppStatus status = CheckNullSize(pointers, size); status != ippStsNoErr) return status;
  if (AnyStepBelow(1, steps)) return ippStsStepErr;
  return ippStsNoErr;
}

// AbsDiff, AbsDiffC: null, size, then every step at least one row of bytes.
inline IppStatus CheckNullSizeRowStep(Pointers pointers, IppiSize size, Steps steps) {
  if (IppStatus status = CheckNullSize(pointers, size); status != ippStsNoErr) return status;
  if (AnyStepBelow(size.width, steps)) return ippStsStepErr;
  return ippStsNoErr;
}

// And, Or, Xor, their constant forms, shifts, Not, MulScale, MulCScale: null,
// steps, then size.
inline IppStatus CheckNullStepSize(Pointers pointers, Steps steps, IppiSize size) {
  if (AnyNull(pointers)) return ippStsNullPtrErr;
  if (AnyStepBelow(1, steps)) return ippStsStepErr;
  if (BadSize(size)) return ippStsSizeErr;
  return ippStsNoErr;
}

// The C3 and C4 in-place forms of the families above look at the size before
// handing the region on as one longer row of bytes.
inline IppStatus CheckSizeNullStep(Pointers pointers, Steps steps, IppiSize size) {
  if (BadSize(size)) return ippStsSizeErr;
  return CheckNullStepSize(pointers, steps, size);
}

// Which of the two orders above a kernel of these families follows.
enum class CheckOrder { kNullStepSize, kSizeFirst };

inline IppStatus CheckBitwise(CheckOrder order, Pointers pointers, Steps steps, IppiSize size) {
  return order == CheckOrder::kSizeFirst ? CheckSizeNullStep(pointers, steps, size)
                                         : CheckNullStepSize(pointers, steps, size);
}

// Mirror: null, size, then the axis.
inline IppStatus CheckMirror(Pointers pointers, IppiSize size, IppiAxis axis) {
  if (IppStatus status = CheckNullSize(pointers, size); status != ippStsNoErr) return status;
  if (axis != ippAxsHorizontal && axis != ippAxsVertical && axis != ippAxsBoth)
    return ippStsMirrorFlipErr;
  return ippStsNoErr;
}

// Signal-domain entries: null, then a length of at least 1.
inline IppStatus CheckVector(Pointers pointers, int length) {
  if (AnyNull(pointers)) return ippStsNullPtrErr;
  if (length < 1) return ippStsSizeErr;
  return ippStsNoErr;
}

}  // namespace qx::fallback::detail
