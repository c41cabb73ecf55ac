// Per-byte kernels that other kernel families reuse, dispatched to the best
// instruction set of the running CPU.
#pragma once

#include "dispatch/arith/ByteRegion.h"

namespace qx::fallback::detail {

// Writes the region's constants pattern into its destination, keeping the
// bytes its keep pattern marks; reads no source.
void FillBytes(const ByteRegion& region);

// Copies rows of the region's first source into its destination, keeping the
// bytes its keep pattern marks.
void CopyBytes(const ByteRegion& region);

}  // namespace qx::fallback::detail
