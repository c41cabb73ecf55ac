// TQXVideoFormat: the eight pixel formats of a frame, and the colour
// references that per-pixel accessors take and return.
//
// Memory layouts (rows top row first, each starting one step after the
// previous one, no padding after the last row):
//
//   format       bytes/pixel  row step      one pixel in memory
//   vfRGB24      3            3 x ExtWidth  blue, green, red
//   vfYUY2       2            2 x Width     pairs of pixels: Y0 U Y1 V
//   vfUYVY       2            2 x Width     pairs of pixels: U Y0 V Y1
//   vfRGBA32     4            4 x Width     blue, green, red, alpha
//   vfRGB565     2            2 x Width     LE word: red 11-15, green 5-10, blue 0-4
//   vfRGB555     2            2 x Width     LE word: red 10-14, green 5-9, blue 0-4, bit 15 zero
//   vfGrayScale  1            Width         intensity
//   vfRGB        as vfRGB24 (a distinct value kept by image buffers)
//
// Only vfRGB24 (and vfRGB) pad their rows: ExtWidth is the width rounded up
// to a multiple of 4, so every row starts on a 4-byte boundary. Every other
// format has ExtWidth = Width.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/EnumNames.h"

namespace qx {

enum TQXVideoFormat : std::uint8_t {
  vfRGB24 = 0,
  vfYUY2 = 1,
  vfUYVY = 2,
  vfRGBA32 = 3,
  vfRGB565 = 4,
  vfRGB555 = 5,
  vfGrayScale = 6,
  vfRGB = 7,
};

// A format value outside the enumeration is taken as vfRGB24, the format its
// storage would have; every valid value is returned unchanged.
constexpr TQXVideoFormat QXValidVideoFormat(TQXVideoFormat format) noexcept {
  return format <= vfRGB ? format : vfRGB24;
}

// The format of the storage class that holds frames of `format`: vfRGB24
// for vfRGB and for values outside the enumeration, `format` otherwise.
constexpr TQXVideoFormat QXStorageFormat(TQXVideoFormat format) noexcept {
  return format < vfRGB ? format : vfRGB24;
}

// Colour references: red in bits 0-7, green in 8-15, blue in 16-23.
constexpr std::uint32_t QXColorRGB(std::uint8_t red, std::uint8_t green,
                                   std::uint8_t blue) noexcept {
  return std::uint32_t{red} | std::uint32_t{green} << 8 | std::uint32_t{blue} << 16;
}
constexpr std::uint8_t QXRedOf(std::uint32_t color) noexcept {
  return static_cast<std::uint8_t>(color);
}
constexpr std::uint8_t QXGreenOf(std::uint32_t color) noexcept {
  return static_cast<std::uint8_t>(color >> 8);
}
constexpr std::uint8_t QXBlueOf(std::uint32_t color) noexcept {
  return static_cast<std::uint8_t>(color >> 16);
}

// The gray of a colour: round(0.299 R + 0.587 G + 0.114 B), ties to even. Computed in
// exact thousandths: binary fractions would misplace the many exact halves
// (0.587 x 36 + 0.114 x 12 = 22.5) and round some of them away from the even neighbour.
constexpr std::uint8_t QXGrayOf(std::uint32_t color) noexcept {
  const std::uint32_t thousandths = 299 * std::uint32_t{QXRedOf(color)} +
                                    587 * std::uint32_t{QXGreenOf(color)} +
                                    114 * std::uint32_t{QXBlueOf(color)};
  const std::uint32_t whole = thousandths / 1000;
  const std::uint32_t fraction = thousandths % 1000;
  const bool up = fraction > 500 || (fraction == 500 && whole % 2 == 1);
  return static_cast<std::uint8_t>(whole + (up ? 1 : 0));
}

}  // namespace qx

// Value names for published properties and form files.
template <>
struct qx::TEnumNames<qx::TQXVideoFormat> {
  static constexpr std::string_view TypeName = "TQXVideoFormat";
  static constexpr TEnumValueName<TQXVideoFormat> Values[] = {
      {vfRGB24, "vfRGB24"},         {vfYUY2, "vfYUY2"},     {vfUYVY, "vfUYVY"},
      {vfRGBA32, "vfRGBA32"},       {vfRGB565, "vfRGB565"}, {vfRGB555, "vfRGB555"},
      {vfGrayScale, "vfGrayScale"}, {vfRGB, "vfRGB"}};
};
