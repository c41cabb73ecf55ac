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

using Rgb = std::array<int, 3>;

// Converts one row of Y0 U Y1 V bytes with the dispatched kernel.
std::vector<Ipp8u> ToRgb(const std::vector<Ipp8u>& yuv, int width) {
  std::vector<Ipp8u> rgb(static_cast<std::size_t>(3 * width));
  EXPECT_EQ(
      fallback::ippiYUV422ToRGB_8u_C2C3R(yuv.data(), 2 * width, rgb.data(), 3 * width, {width, 1}),
      ippStsNoErr);
  return rgb;
}

std::vector<Ipp8u> ToYuv(const std::vector<Ipp8u>& rgb, int width) {
  std::vector<Ipp8u> yuv(static_cast<std::size_t>(2 * width));
  EXPECT_EQ(
      fallback::ippiRGBToYUV422_8u_C3C2R(rgb.data(), 3 * width, yuv.data(), 2 * width, {width, 1}),
      ippStsNoErr);
  return yuv;
}

Rgb PixelAt(const std::vector<Ipp8u>& rgb, int x) {
  return {rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2]};
}

TEST(YuvToRgb, HandCheckedPixels) {
  // Gray: no chroma.
  EXPECT_EQ(PixelAt(ToRgb({235, 128, 235, 128}, 2), 0), (Rgb{235, 235, 235}));
  // Full V on black: R = 127 * 74711 >> 16 = 144; G and B fall below 0 and clamp.
  EXPECT_EQ(PixelAt(ToRgb({0, 128, 0, 255}, 2), 1), (Rgb{144, 0, 0}));
  // Y 100, u = 72, v = -78: R = 100 - 89, G = 100 + 16, B = 100 + 146.
  EXPECT_EQ(PixelAt(ToRgb({100, 200, 100, 50}, 2), 0), (Rgb{11, 116, 246}));
  // Full U on white: B overflows and clamps to 255.
  EXPECT_EQ(PixelAt(ToRgb({255, 255, 255, 128}, 2), 0)[2], 255);
}

// A pixel converts like pixel 0 of an even pair built from the Y, U and V it
// should use: its own Y, the U and V of its pair, for an odd width's last pixel
// its own U and the preceding V, for a width of 1 its U for both.
TEST(YuvToRgb, EachPixelTakesTheChromaOfItsPair) {
  struct Case {
    std::vector<Ipp8u> row;
    int x;
    std::vector<Ipp8u> pair;
  };
  const Case cases[] = {{{50, 90, 200, 160}, 0, {50, 90, 50, 160}},
                        {{50, 90, 200, 160}, 1, {200, 90, 200, 160}},
                        {{10, 20, 30, 240, 150, 60}, 2, {150, 60, 150, 240}},
                        {{90, 200}, 0, {90, 200, 90, 200}}};
  for (const Case& c : cases) {
    const int width = static_cast<int>(c.row.size() / 2);
    EXPECT_EQ(PixelAt(ToRgb(c.row, width), c.x), PixelAt(ToRgb(c.pair, 2), 0))
        << "case " << &c - cases;
  }
}

TEST(RgbToYuv, HandCheckedPairs) {
  EXPECT_EQ(ToYuv({255, 255, 255, 255, 255, 255}, 2), (std::vector<Ipp8u>{255, 128, 255, 128}));
  EXPECT_EQ(ToYuv({0, 0, 0, 0, 0, 0}, 2), (std::vector<Ipp8u>{0, 128, 0, 128}));
  // Pure red: Y = 255 * 19595 >> 16 = 76; the red difference overflows V, which clamps.
  EXPECT_EQ(ToYuv({255, 0, 0, 255, 0, 0}, 2), (std::vector<Ipp8u>{76, 90, 76, 255}));
}

TEST(RgbToYuv, OddWidthWritesOnlyTheLastPixelsYAndU) {
  std::vector<Ipp8u> yuv(8, 0xEE);
  const std::vector<Ipp8u> rgb = {0, 0, 0, 0, 0, 0, 255, 255, 255};
  ASSERT_EQ(fallback::ippiRGBToYUV422_8u_C3C2R(rgb.data(), 9, yuv.data(), 6, {3, 1}), ippStsNoErr);
  EXPECT_EQ(yuv, (std::vector<Ipp8u>{0, 128, 0, 128, 255, 128, 0xEE, 0xEE}));
}

TEST(YuvConversions, ArgumentChecks) {
  Ipp8u buffer[16] = {};
  for (auto convert : {fallback::ippiYUV422ToRGB_8u_C2C3R, fallback::ippiRGBToYUV422_8u_C3C2R,
                       fallback::reference::ippiYUV422ToRGB_8u_C2C3R,
                       fallback::reference::ippiRGBToYUV422_8u_C3C2R}) {
    EXPECT_EQ(convert(nullptr, 8, buffer, 8, {2, 1}), ippStsNullPtrErr);
    EXPECT_EQ(convert(buffer, 8, nullptr, 8, {2, 1}), ippStsNullPtrErr);
    EXPECT_EQ(convert(nullptr, 8, buffer, 8, {0, 1}), ippStsNullPtrErr);  // null before size
    EXPECT_EQ(convert(buffer, 8, buffer + 8, 8, {0, 1}), ippStsSizeErr);
    EXPECT_EQ(convert(buffer, 8, buffer + 8, 8, {1, -1}), ippStsSizeErr);
    // Steps are not checked: a zero step converts the same row again.
    EXPECT_EQ(convert(buffer, 0, buffer + 8, 0, {2, 2}), ippStsNoErr);
  }
}

// Two equal pixels through 4:2:2 and back. With y = 0.299 R + 0.587 G + 0.114 B:
// Y = floor(y) loses up to 1; U = floor(0.246 * ceil(2 (B - y))) is 0.492 (B - y) within
// (-1, 0.246), V the same with 0.4385 and R; decoding floors once more. Summing the worst
// cases (and the < 0.1 mismatch of the decoder's coefficients over the chroma range):
//   B' - B in (-1 - 2.032 - 1 - 0.06, 0.5 + 0.06)      -> -4..0
//   R' - R in (-1 - 1.14 - 1 - 0.05, 0.5 + 0.05)       -> -3..0
//   G' - G in (-1 - 0.1 - 0.26 - 1 - 0.11, 0.39 + 0.58 + 0.11) -> -2..1
// as long as V is not clamped, i.e. |0.877 (R - y)| stays below 127.
TEST(YuvConversions, RoundTripStaysWithinTheConversionError) {
  constexpr std::array<std::array<int, 2>, 3> kBounds = {{{-3, 0}, {-2, 1}, {-4, 0}}};
  std::vector<Ipp8u> rgb;
  for (int r = 0; r < 256; r += 3)
    for (int g = 0; g < 256; g += 3)
      for (int b = 0; b < 256; b += 3) {
        const double luma = 0.299 * r + 0.587 * g + 0.114 * b;
        if (std::fabs(0.877 * (r - luma)) >= 126.5) continue;
        for (int copy = 0; copy < 2; ++copy) rgb.insert(rgb.end(), {Ipp8u(r), Ipp8u(g), Ipp8u(b)});
      }
  const int width = static_cast<int>(rgb.size() / 3);
  const std::vector<Ipp8u> back = ToRgb(ToYuv(rgb, width), width);
  for (int x = 0; x < width; ++x)
    for (int c = 0; c < 3; ++c) {
      const int error = back[3 * x + c] - rgb[3 * x + c];
      ASSERT_GE(error, kBounds[c][0]) << "pixel " << x << " channel " << c;
      ASSERT_LE(error, kBounds[c][1]) << "pixel " << x << " channel " << c;
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
