// Shared by the image operation suites: the pixels of a frame in another
// format, another holder that must keep its pixels, and the plain arithmetic
// the operations are checked against (floating point, not the kernels' shifts).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "PixelModel.h"

namespace qx::test {

inline constexpr TQXVideoFormat kAllFormats[] = {vfRGB24,  vfYUY2,   vfUYVY,      vfRGBA32,
                                                 vfRGB565, vfRGB555, vfGrayScale, vfRGB};

// A private copy of `frame` converted to `format`.
inline TRefPtr<TQXImageBuffer> Snapshot(const TQXImageBuffer& frame, TQXVideoFormat format) {
  auto copy = MakeRef<TQXImageBuffer>(frame);
  copy->SetFormat(format);
  copy->Modify();
  return copy;
}

// Expects every pixel (x, y) of `frame` to have the colour and alpha that
// `expected(x, y)` gives.
template <class Expected>
void ExpectPixels(const IQXImageBuffer& frame, Expected expected) {
  for (std::uint32_t y = 0; y < frame.GetHeight(); ++y) {
    for (std::uint32_t x = 0; x < frame.GetWidth(); ++x) {
      const auto [colour, alpha] = expected(x, y);
      ASSERT_EQ(frame.GetPixel(x, y), ToColor(colour)) << x << ", " << y;
      ASSERT_EQ(frame.GetAlpha(x, y), alpha) << x << ", " << y;
    }
  }
}

// A second holder of a frame's storage, taken before an operation: it must
// keep the format and pixels it had, and so must the frame itself when the
// operation only reads it.
class THeld {
 public:
  explicit THeld(const TQXImageBuffer& frame)
      : FHolder(MakeRef<TQXImageBuffer>(frame)),
        FFormat(frame.GetFormat()),
        FBytes(PixelBytes(frame)) {}

  void ExpectKept() const { ExpectKeptBy(*FHolder); }

  void ExpectKeptBy(const IQXImageBuffer& frame) const {
    EXPECT_EQ(frame.GetFormat(), FFormat);
    EXPECT_EQ(PixelBytes(frame), FBytes);
  }

 private:
  TRefPtr<TQXImageBuffer> FHolder;
  TQXVideoFormat FFormat;
  std::vector<std::uint8_t> FBytes;
};

// Expects `result` to hold `formula(mine's channel, operand's channel)` over
// the region it shares with `operand`, as `result`'s format stores it, and
// `mine`'s colours elsewhere; alpha is `mine`'s, or combined too when
// `withAlpha` and `result` holds alpha.
template <class Formula>
void ExpectCombined(const IQXImageBuffer& result, const IQXImageBuffer& mine,
                    const IQXImageBuffer& operand, Formula formula, bool withAlpha = false) {
  ExpectPixels(result, [&](std::uint32_t x, std::uint32_t y) {
    TRGB colour = ColourOf(mine.GetPixel(x, y));
    int alpha = mine.GetAlpha(x, y);
    if (x < operand.GetWidth() && y < operand.GetHeight()) {
      const TRGB o = ColourOf(operand.GetPixel(x, y));
      colour = AsIn(result.GetFormat(),
                    {formula(colour.r, o.r), formula(colour.g, o.g), formula(colour.b, o.b)});
      if (withAlpha && result.GetFormat() == vfRGBA32) {
        alpha = formula(alpha, operand.GetAlpha(x, y));
      }
    }
    return std::pair(colour, alpha);
  });
}

// x / 2 to the nearest integer, an exact half to the even one.
inline int HalfEven(double x) { return static_cast<int>(std::nearbyint(x / 2)); }

inline int AtMost255(int x) { return x > 255 ? 255 : x; }

}  // namespace qx::test
