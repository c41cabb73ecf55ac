// The rows of a copy between pixels of different sizes, shared by the
// channel copy kernels of every instruction set.
#pragma once

#include <cstddef>

#include "dispatch/IppTypes.h"
#include "dispatch/arith/ByteRegion.h"

namespace qx::fallback::detail {

// The rows of a copy between pixels of `srcBytes` and `dstBytes` bytes. When
// both operands' rows follow each other without a gap the region is one row.
struct PixelRows {
  PixelRows(const Ipp8u* src, std::ptrdiff_t srcStep, int srcBytes, Ipp8u* dst,
            std::ptrdiff_t dstStep, int dstBytes, IppiSize size)
      : src{src, srcStep},
        dst{dst, dstStep},
        width(static_cast<std::size_t>(size.width)),
        rows(static_cast<std::size_t>(size.height)) {
    if (srcStep == size.width * srcBytes && dstStep == size.width * dstBytes) {
      width *= rows;
      rows = 1;
    }
  }
  Rows<const Ipp8u> src;
  Rows<Ipp8u> dst;
  std::size_t width;
  std::size_t rows;
};

}  // namespace qx::fallback::detail
