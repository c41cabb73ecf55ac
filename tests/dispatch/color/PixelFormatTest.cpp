// Conversions between pixel formats: 16-bit RGB (hand-checked words, exact
// round trips of every word) and 4:2:2 YUV (hand-checked pixels, the odd-width
// and width-1 rules, a round trip over a dense colour grid), their argument
// checks, and the SIMD kernels against the scalar references.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "KernelTestSupport.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorReference.h"
#include "packages/sonquo/IppExtraFunctions.h"

namespace qx::kerneltest {
namespace {

using Bytes = std::vector<Ipp8u>;

using namespace fallback;

// Through the audio package's names, as its users call them. Pixels are blue,
// green, red; packing keeps the high bits of each byte.
TEST(Rgb16, PackingKeepsTheHighBits) {
  const std::tuple<std::array<Ipp8u, 3>, Ipp16u, Ipp16u> cases[] = {
      {{0, 0, 255}, 0xF800, 0x7C00}, {{255, 255, 255}, 0xFFFF, 0x7FFF},  // 555: bit 15 clear
      {{0, 7, 0}, 0x0020, 0x0000},                                       // green: six bits or five
      {{0, 8, 0}, 0x0040, 0x0020},   {{8, 3, 7}, 0x0001, 0x0001},
  };
  for (const auto& [bgr, rgb565, rgb555] : cases) {
    const Ipp8u pixel[4] = {bgr[0], bgr[1], bgr[2], 0x5A};
    for (auto [pack, channels, expected] :
         {std::tuple{&sonquo::ippiRGB_8u_C3RToRGB565, 3, rgb565},
          std::tuple{&sonquo::ippiRGBA_8u_AC4RToRGB565, 4, rgb565},
          std::tuple{&sonquo::ippiRGB_8u_C3RToRGB555, 3, rgb555},
          std::tuple{&sonquo::ippiRGBA_8u_AC4RToRGB555, 4, rgb555}}) {
      Ipp16u word = 0;
      EXPECT_EQ(pack(pixel, channels, &word, 2, {1, 1}), ippStsNoErr);
      EXPECT_EQ(word, expected) << int{bgr[0]} << " " << int{bgr[1]} << " " << int{bgr[2]};
    }
  }
}

// Unpacking leaves the low bits zero (so that packing again is exact), ignores
// bit 15 of a 555 word and gives AC4 pixels an opaque alpha.
TEST(Rgb16, EveryWordSurvivesUnpackingAndPackingAgain) {
  std::vector<Ipp16u> words(65536);
  for (int w = 0; w < 65536; ++w) words[w] = static_cast<Ipp16u>(w);
  const IppiSize size{256, 256};
  for (auto [unpack, pack, channels, significant] :
       {std::tuple{&ippiRGB565ToRGB_8u_C3R, &ippiRGB_8u_C3RToRGB565, 3, 0xFFFF},
        std::tuple{&ippiRGB565ToRGBA_8u_AC4R, &ippiRGBA_8u_AC4RToRGB565, 4, 0xFFFF},
        std::tuple{&ippiRGB555ToRGB_8u_C3R, &ippiRGB_8u_C3RToRGB555, 3, 0x7FFF},
        std::tuple{&ippiRGB555ToRGBA_8u_AC4R, &ippiRGBA_8u_AC4RToRGB555, 4, 0x7FFF}}) {
    std::vector<Ipp8u> pixels(words.size() * channels);
    std::vector<Ipp16u> back(words.size());
    ASSERT_EQ(unpack(words.data(), 512, pixels.data(), 256 * channels, size), ippStsNoErr);
    ASSERT_EQ(pack(pixels.data(), 256 * channels, back.data(), 512, size), ippStsNoErr);
    for (int w = 0; w < 65536; ++w) ASSERT_EQ(back[w], w & significant) << "word " << w;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      const std::size_t channel = i % channels;
      const int lowBits = channel == 1 && significant == 0xFFFF ? 3 : 7;  // 565 green: six bits
      ASSERT_EQ(pixels[i], channel == 3 ? 255 : pixels[i] & ~lowBits) << "byte " << i;
    }
  }
}

TEST(Rgb16, RepackingMovesTheFields) {
  const auto repack = [](TIppiRepack16u kernel, Ipp16u word) {
    Ipp16u out = 0;
    EXPECT_EQ(kernel(&word, 2, &out, 2, {1, 1}), ippStsNoErr);
    return out;
  };
  EXPECT_EQ(repack(ippiRGB565ToRGB555, 0xF83F), 0x7C1F);  // green's lowest bit dropped
  EXPECT_EQ(repack(ippiRGB555ToRGB565, 0xFFFF), 0xFFDF);  // bit 15 dropped
  EXPECT_EQ(repack(ippiRGB555ToRGB565, 0x0020), 0x0040);
}

// Every conversion checks as the packing ones.
TEST(Rgb16, ArgumentChecksInOrder) {
  alignas(4) Ipp8u bytes[16] = {};
  Ipp16u words[8] = {};
  EXPECT_EQ(ippiRGB_8u_C3RToRGB565(nullptr, 3, words, 2, {0, 1}), ippStsNullPtrErr);
  EXPECT_EQ(ippiRGB_8u_C3RToRGB565(bytes, 0, words, 3, {0, 1}), ippStsSizeErr);
  EXPECT_EQ(ippiRGB_8u_C3RToRGB565(bytes, 0, words, 3, {1, 1}), ippStsStepErr);
  EXPECT_EQ(ippiRGB_8u_C3RToRGB565(bytes, 5, words, 3, {1, 1}), ippStsNotEvenStepErr);
  EXPECT_EQ(ippiRGB_8u_C3RToRGB565(bytes, 5, words, 2, {1, 2}), ippStsNoErr);  // odd byte step
  EXPECT_EQ(ippiRGB555ToRGB_8u_C3R(words, 3, bytes, 5, {1, 1}), ippStsNotEvenStepErr);
  EXPECT_EQ(ippiRGB555ToRGB565(words, 2, words + 4, 7, {1, 1}), ippStsNotEvenStepErr);
}

TEST(Rgb16, SimdMatchesReference) {
#define QX_SAME(srcBytes, dstBytes, name)                                  \
  ExpectSameAsReference(kOneSource, {srcBytes, dstBytes}, OneSource(name), \
                        OneSource(reference::name), /*stepAlignment=*/2)
  QX_SAME(3, 2, ippiRGB_8u_C3RToRGB565);
  QX_SAME(3, 2, ippiRGB_8u_C3RToRGB555);
  QX_SAME(4, 2, ippiRGBA_8u_AC4RToRGB565);
  QX_SAME(4, 2, ippiRGBA_8u_AC4RToRGB555);
  QX_SAME(2, 3, ippiRGB565ToRGB_8u_C3R);
  QX_SAME(2, 3, ippiRGB555ToRGB_8u_C3R);
  QX_SAME(2, 4, ippiRGB565ToRGBA_8u_AC4R);
  QX_SAME(2, 4, ippiRGB555ToRGBA_8u_AC4R);
  QX_SAME(2, 2, ippiRGB555ToRGB565);
  QX_SAME(2, 2, ippiRGB565ToRGB555);
#undef QX_SAME
}

using Rgb = std::array<int, 3>;

// Converts one row of Y0 U Y1 V bytes, or of RGB pixels, with the dispatched kernel.
Bytes ToRgb(const Bytes& yuv, int width) {
  Bytes rgb(static_cast<std::size_t>(3 * width));
  EXPECT_EQ(ippiYUV422ToRGB_8u_C2C3R(yuv.data(), 2 * width, rgb.data(), 3 * width, {width, 1}),
            ippStsNoErr);
  return rgb;
}
Bytes ToYuv(const Bytes& rgb, int width) {
  Bytes yuv(static_cast<std::size_t>(2 * width));
  EXPECT_EQ(ippiRGBToYUV422_8u_C3C2R(rgb.data(), 3 * width, yuv.data(), 2 * width, {width, 1}),
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
  ASSERT_EQ(ippiRGBToYUV422_8u_C3C2R(rgb.data(), 9, yuv.data(), 6, {3, 1}), ippStsNoErr);
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
  const auto convert = ippiYUV422ToRGB_8u_C2C3R;
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
  ExpectSameAsReference(kOneSource, {2, 3}, OneSource(ippiYUV422ToRGB_8u_C2C3R),
                        OneSource(reference::ippiYUV422ToRGB_8u_C2C3R));
  ExpectSameAsReference(kOneSource, {3, 2}, OneSource(ippiRGBToYUV422_8u_C3C2R),
                        OneSource(reference::ippiRGBToYUV422_8u_C3C2R));
}

}  // namespace
}  // namespace qx::kerneltest
