// Scalar reference versions of the kernels in dispatch/arith/ArithFallbacks.h:
// the same contracts, argument checks and results, written pixel by pixel so
// that the arithmetic reads plainly. Tests compare the SIMD kernels with these
// bit for bit.
#pragma once

#include "dispatch/arith/ArithFallbacks.h"

namespace qx::fallback::reference {
QX_ARITH_KERNELS(QX_DECLARE_ARITH_KERNEL)
}  // namespace qx::fallback::reference
