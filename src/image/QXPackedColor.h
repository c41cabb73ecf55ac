// TQXPackedColor: a colour with alpha in one 32-bit value -- red in bits 0-7,
// green in 8-15, blue in 16-23, alpha in 24-31.
//
// It is a type of its own so that the image operations can tell it from a
// colour reference (image/QXVideoFormat.h), which has no alpha: the
// operations taking a packed colour act on the alpha channel of an RGBA32
// frame too.
//
//   frame->SetValue(QXPackedColor(QXColorRGB(255, 0, 0), 128));  // half-transparent red
//   frame->AddValue(TQXPackedColor{0x10203040});                  // red 0x40 ... alpha 0x10
#pragma once

#include <cstdint>

namespace qx {

struct TQXPackedColor {
  std::uint32_t Value = 0;

  constexpr TQXPackedColor() noexcept = default;
  constexpr explicit TQXPackedColor(std::uint32_t value) noexcept : Value(value) {}
  friend constexpr bool operator==(TQXPackedColor, TQXPackedColor) noexcept = default;
};

// `color` (a colour reference) with `alpha`. Bits of `color` above blue are
// not part of a colour and are dropped, so they can never reach the alpha byte.
constexpr TQXPackedColor QXPackedColor(std::uint32_t color, std::uint8_t alpha) noexcept {
  return TQXPackedColor((color & 0x00FFFFFFu) | std::uint32_t{alpha} << 24);
}

}  // namespace qx
