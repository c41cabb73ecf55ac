// How the colour kernels walk a region: row by row, or as one long row when
// every image's rows follow each other without a gap.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "dispatch/IppTypes.h"

namespace qx::fallback::detail {

// One image of a call: its step and the bytes one row of the region occupies.
struct RowSpan {
  int step;
  std::ptrdiff_t rowBytes;
};

// Calls run(y, pixels) for each row y of the region with pixels = width, or once as
// run(0, width * height) when every image's step equals its row's bytes.
template <class Run>
void ForEachRun(IppiSize size, std::initializer_list<RowSpan> images, Run run) {
  bool contiguous = size.height > 1;
  for (const RowSpan& image : images) contiguous = contiguous && image.step == image.rowBytes;
  if (contiguous) {
    run(0, std::ptrdiff_t{size.width} * size.height);
    return;
  }
  for (int y = 0; y < size.height; ++y) run(y, std::ptrdiff_t{size.width});
}

}  // namespace qx::fallback::detail
