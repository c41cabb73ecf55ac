// Pixel walking shared by the scalar reference kernels: which bytes of a pixel
// a kernel computes, and the byte at a row and offset of an image operand.
#pragma once

#include <cstddef>

#include "dispatch/IppTypes.h"

namespace qx::fallback::reference::detail {

// The bytes of one pixel, and how many of them, from the first, a kernel
// computes (an AC4 kernel computes three of four and leaves alpha alone).
struct Layout {
  int pixelBytes;
  int computedBytes;
};
inline constexpr Layout kC1{1, 1};
inline constexpr Layout kC3{3, 3};
inline constexpr Layout kC4{4, 4};
inline constexpr Layout kAC4{4, 3};

// The first byte of row `y` of an operand that starts at `origin`.
template <class Byte>
Byte* RowOf(Byte* origin, int step, int y) {
  return origin + static_cast<std::ptrdiff_t>(step) * y;
}

// Calls visit(y, offset, channel) for every computed byte of the region, row by
// row; `offset` counts bytes from the start of the row.
template <class Visit>
void ForEachComputedByte(IppiSize size, Layout layout, Visit visit) {
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width; ++x)
      for (int channel = 0; channel < layout.computedBytes; ++channel)
        visit(y, static_cast<std::ptrdiff_t>(x) * layout.pixelBytes + channel, channel);
}

}  // namespace qx::fallback::reference::detail
