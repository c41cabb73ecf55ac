// 4:2:2 YUV conversions: hand-checked pixels, the odd-width and width-1 rules,
// argument checks, a round trip over a dense colour grid, and the SIMD kernels
// against the scalar references.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "KernelTestSupport.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorReference.h"

namespace qx::kerneltest {
namespace {

using Bytes = std::vector<Ipp8u>;
using Rgb = std::array<int, 3>;

// Converts one row of Y0 U Y1 V bytes, or of RGB pixels, with the dispatched kernel.
Bytes ToRgb(const Bytes& yuv, int width) {
  Bytes rgb(static_cast<std::size_t>(3 * width));
  EXPECT_EQ(
      fallback::ippiYUV422ToRGB_8u_C2C3R(yuv.data(), 2 * width, rgb.data(), 3 * width, {width, 1}),
      ippStsNoErr);
  return rgb;
}
Bytes ToYuv(const Bytes& rgb, int width) {
  Bytes yuv(static_cast<std::size_t>(2 * width));
  EXPECT_EQ(
      fallback::ippiRGBToYUV422_8u_C3C2R(rgb.data(), 3 * width, yuv.data(), 2 * width, {width, 1}),
      ippStsNoErr);
  return yuv;
}
Rgb PixelAt(const Bytes& rgb, int x) { return {rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2]}; }

TEST(YuvConversions, HandCheckedPixels) {
  // Full V on black: R = 127 * 74711 >> 16 = 144; G and B fall below 0 and clamp.
  EXPECT_EQ(PixelAt(ToRgb({0, 128, 0, 255}, 2), 1), (Rgb{144, 0, 0}));
  // Y 100, u = 72, v = -78: R = 100 - 89, G = 100 + 16, B = 100 + 146.
  EXPECT_EQ(PixelAt(ToRgb({100, 200, 100, 50}, 2), 0), (Rgb{11, 116, 246}));
  // Pure red: Y = 255 * 19595 >> 16 = 76; the red difference overflows V, which clamps.
  EXPECT_EQ(ToYuv({255, 0, 0, 255, 0, 0}, 2), (Bytes{76, 90, 76, 255}));
  // An odd width writes only the last pixel's Y and U.
  Bytes yuv(8, 0xEE);
  const Bytes rgb = {0, 0, 0, 0, 0, 0, 255, 255, 255};
  ASSERT_EQ(fallback::ippiRGBToYUV422_8u_C3C2R(rgb.data(), 9, yuv.data(), 6, {3, 1}), ippStsNoErr);
  EXPECT_EQ(yuv, (Bytes{0, 128, 0, 128, 255, 128, 0xEE, 0xEE}));
}

// A pixel converts like pixel 0 of an even pair built from the Y, U and V it
// should use: its own Y, the U and V of its pair, for an odd width's last pixel
// its own U and the preceding V, for a width of 1 its U for both.
TEST(YuvConversions, EachPixelTakesTheChromaOfItsPair) {
  struct Case {
    Bytes row;
    int x;
    Bytes pair;
  };
  const Case cases[] = {{{50, 90, 200, 160}, 1, {200, 90, 200, 160}},
                        {{10, 20, 30, 240, 150, 60}, 2, {150, 60, 150, 240}},
                        {{90, 200}, 0, {90, 200, 90, 200}}};
  for (const Case& c : cases) {
    const int width = static_cast<int>(c.row.size() / 2);
    EXPECT_EQ(PixelAt(ToRgb(c.row, width), c.x), PixelAt(ToRgb(c.pair, 2), 0))
        << "case " << &c - cases;
  }
}

// Steps are not checked: a zero step converts the same row again.
TEST(YuvConversions, ArgumentChecks) {
  Ipp8u buffer[16] = {};
  const auto convert = fallback::ippiYUV422ToRGB_8u_C2C3R;
  EXPECT_EQ(convert(nullptr, 8, buffer, 8, {0, 1}), ippStsNullPtrErr);
  EXPECT_EQ(convert(buffer, 8, buffer + 8, 8, {1, -1}), ippStsSizeErr);
  EXPECT_EQ(convert(buffer, 0, buffer + 8, 0, {2, 2}), ippStsNoErr);
}

// Two equal pixels through 4:2:2 and back, with y = 0.299 R + 0.587 G + 0.114 B: Y, U and
// V are floored, and decoding floors again; summing each channel's worst cases bounds
// the error (B within -4..0, R within -3..0, G within -2..1) while V is not clamped,
// i.e. |0.877 (R - y)| stays below 127.
TEST(YuvConversions, RoundTripStaysWithinTheConversionError) {
  constexpr std::array<std::array<int, 2>, 3> kBounds = {{{-3, 0}, {-2, 1}, {-4, 0}}};
  Bytes rgb;
  for (int r = 0; r < 256; r += 3)
    for (int g = 0; g < 256; g += 3)
      for (int b = 0; b < 256; b += 3) {
        const double luma = 0.299 * r + 0.587 * g + 0.114 * b;
        if (std::fabs(0.877 * (r - luma)) >= 126.5) continue;
        for (int copy = 0; copy < 2; ++copy) rgb.insert(rgb.end(), {Ipp8u(r), Ipp8u(g), Ipp8u(b)});
      }
  const int width = static_cast<int>(rgb.size() / 3);
  const Bytes back = ToRgb(ToYuv(rgb, width), width);
  for (int i = 0; i < 3 * width; ++i) {
    const int error = back[i] - rgb[i];
    ASSERT_GE(error, kBounds[i % 3][0]) << "pixel " << i / 3 << " channel " << i % 3;
    ASSERT_LE(error, kBounds[i % 3][1]) << "pixel " << i / 3 << " channel " << i % 3;
  }
}

TEST(YuvConversions, SimdMatchesReference) {
  ExpectSameAsReference(kOneSource, {2, 3}, OneSource(fallback::ippiYUV422ToRGB_8u_C2C3R),
                        OneSource(fallback::reference::ippiYUV422ToRGB_8u_C2C3R));
  ExpectSameAsReference(kOneSource, {3, 2}, OneSource(fallback::ippiRGBToYUV422_8u_C3C2R),
                        OneSource(fallback::reference::ippiRGBToYUV422_8u_C3C2R));
}

}  // namespace
}  // namespace qx::kerneltest
