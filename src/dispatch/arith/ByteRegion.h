// The target-independent description of one call of a per-byte kernel: which
// rows it reads and writes, and the per-channel constants it applies. The
// SIMD row engine (ByteEngine-inl.h) walks it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dispatch/IppTypes.h"
#include "dispatch/StreamingStores.h"

namespace qx::fallback::detail {

// An image operand: the first byte of its region and the byte distance from
// one row to the next (negative for bottom-up images).
template <class Byte>
struct Rows {
  Byte* origin = nullptr;
  std::ptrdiff_t step = 0;

  Byte* Row(std::size_t y) const { return origin + step * static_cast<std::ptrdiff_t>(y); }
};

// A value per byte of a row that repeats with the pixels: byte i of a row
// pairs with values[i % period]. Periods are 1 to 4 and every row starts at
// phase 0.
struct BytePattern {
  Ipp8u values[4] = {0, 0, 0, 0};
  int period = 1;
};

// One call of a per-byte kernel. Output byte i of a row is op(a[i], b[i]),
// where `a` is the first source or, when it has no rows, the `constants`
// pattern, and `b` the second source (none for fills). Where the `keep`
// pattern holds 0xFF (the alpha byte of AC4 pixels, the other channels when
// one channel is written), the destination byte is left as it is.
struct ByteRegion {
  Rows<const Ipp8u> a;
  Rows<const Ipp8u> b;
  Rows<Ipp8u> dst;
  std::size_t rowBytes = 0;
  std::size_t rows = 0;
  BytePattern constants;
  BytePattern keep;
  bool keeps = false;  // whether `keep` marks any byte
};

// Rows that follow each other without a gap in every operand form one long
// row: walking it once is the same as walking the rows, as long as each row
// is a whole number of pattern periods.
inline ByteRegion Contiguous(ByteRegion region) {
  const auto dense = [&](std::ptrdiff_t step, const void* origin) {
    return origin == nullptr || step == static_cast<std::ptrdiff_t>(region.rowBytes);
  };
  const auto whole = [&](const BytePattern& pattern) {
    return region.rowBytes % static_cast<std::size_t>(pattern.period) == 0;
  };
  if (region.rows > 1 && whole(region.constants) && whole(region.keep) &&
      dense(region.a.step, region.a.origin) && dense(region.b.step, region.b.origin) &&
      dense(region.dst.step, region.dst.origin)) {
    region.rowBytes *= region.rows;
    region.rows = 1;
  }
  return region;
}

// Destinations of kStreamingBytes and more are written with non-temporal
// stores when the kernel reads a source that is not the destination. Fills
// keep cached stores (measured, they gain nothing from streaming and lose the
// cached copy), and so do destinations whose kept bytes are read back first
// (streaming a line just read costs more than it saves). Plain copies of this
// size take the CPU's string move instead (see SetCopy.cpp).
inline bool ShouldStream(const ByteRegion& region) {
  const bool readsSource = region.a.origin != nullptr || region.b.origin != nullptr;
  const bool inPlace = region.dst.origin == region.a.origin || region.dst.origin == region.b.origin;
  return readsSource && !inPlace && !region.keeps &&
         region.rowBytes * region.rows >= kStreamingBytes;
}

// How a kernel sees the pixels of its entry: bytes per pixel, and whether the
// last of them is an alpha byte that the kernel leaves alone (AC4).
struct PixelFormat {
  int bytes;
  bool keepAlpha;

  int ComputedBytes() const { return keepAlpha ? bytes - 1 : bytes; }
};
inline constexpr PixelFormat kPixelC1{1, false};
inline constexpr PixelFormat kPixelC3{3, false};
inline constexpr PixelFormat kPixelC4{4, false};
inline constexpr PixelFormat kPixelAC4{4, true};

// A region of `size` pixels of `format`, its operands still to be set.
inline ByteRegion RegionOf(PixelFormat format, IppiSize size) {
  ByteRegion region;
  region.rowBytes = static_cast<std::size_t>(size.width) * format.bytes;
  region.rows = static_cast<std::size_t>(size.height);
  region.constants.period = format.bytes;
  if (format.keepAlpha) {
    region.keep = {{0x00, 0x00, 0x00, 0xFF}, 4};
    region.keeps = true;
  }
  return region;
}

// The region with channel constants `values` (one per computed byte of a
// pixel) as its first operand.
inline ByteRegion WithConstants(ByteRegion region, PixelFormat format, const Ipp8u* values) {
  for (int channel = 0; channel < format.ComputedBytes(); ++channel)
    region.constants.values[channel] = values[channel];
  return region;
}

}  // namespace qx::fallback::detail
