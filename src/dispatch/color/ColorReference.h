// Scalar reference versions of the colour kernels (dispatch/color/
// ColorFallbacks.h): the same contracts, argument checks and results, written
// pixel by pixel so that the arithmetic reads plainly. Tests compare the SIMD
// kernels with these bit for bit.
#pragma once

#include "dispatch/color/ColorFallbacks.h"

namespace qx::fallback::reference {
QX_COLOR_KERNELS(QX_DECLARE_COLOR_KERNEL)
}  // namespace qx::fallback::reference
