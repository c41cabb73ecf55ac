// Integer helpers shared by the pixel kernels: exact rounding and the
// division by 255 of a product of two bytes. Usable in scalar code and, being
// plain shifts and adds, easy to mirror lane by lane in SIMD code.
#pragma once

#include <cstdint>

namespace qx::pixel {

// x / 255 rounded down, for 0 <= x <= 255 * 255 (a product of two bytes).
constexpr std::uint32_t Div255(std::uint32_t x) { return (x + (x >> 8) + 1) >> 8; }

// x / 2^k rounded to the nearest integer, ties to the even one (x >= 0, k >= 1).
constexpr std::uint32_t RoundHalfEven(std::uint32_t x, int k) {
  if (k == 1) return (x + ((x >> 1) & 1)) >> 1;
  return (x + (std::uint32_t{1} << (k - 1)) - 1 + ((x >> k) & 1)) >> k;
}

// min(x, 255) as a byte.
constexpr std::uint8_t Saturate(std::uint32_t x) {
  return static_cast<std::uint8_t>(x > 255 ? 255 : x);
}

}  // namespace qx::pixel
