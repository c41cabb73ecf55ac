// 16-bit RGB conversions: hand-checked words, exact round trips of every word,
// argument checks, and the SIMD kernels against the scalar references.
#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

#include "KernelTestSupport.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorReference.h"
#include "packages/sonquo/IppExtraFunctions.h"

namespace qx::kerneltest {
namespace {

using namespace fallback;

// Through the audio package's names, as its users call them. Pixels are blue, green, red.
TEST(Rgb16, PureColoursPackToTheirFields) {
  struct Case {
    std::array<Ipp8u, 3> bgr;
    Ipp16u rgb565, rgb555;
  };
  const Case cases[] = {
      {{0, 0, 255}, 0xF800, 0x7C00}, {{0, 255, 0}, 0x07E0, 0x03E0},
      {{255, 0, 0}, 0x001F, 0x001F}, {{255, 255, 255}, 0xFFFF, 0x7FFF},  // 555: bit 15 clear
      {{0, 4, 0}, 0x0020, 0x0000},   {{0, 7, 0}, 0x0020, 0x0000},        // green: six bits or five
      {{0, 8, 0}, 0x0040, 0x0020},   {{7, 3, 7}, 0x0000, 0x0000},
      {{8, 0, 8}, 0x0801, 0x0401},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    const Ipp8u pixel[4] = {c.bgr[0], c.bgr[1], c.bgr[2], 0x5A};
    for (auto [pack, channels, expected] :
         {std::tuple{&sonquo::ippiRGB_8u_C3RToRGB565, 3, c.rgb565},
          std::tuple{&sonquo::ippiRGBA_8u_AC4RToRGB565, 4, c.rgb565},
          std::tuple{&sonquo::ippiRGB_8u_C3RToRGB555, 3, c.rgb555},
          std::tuple{&sonquo::ippiRGBA_8u_AC4RToRGB555, 4, c.rgb555}}) {
      Ipp16u word = 0;
      EXPECT_EQ(pack(pixel, channels, &word, 2, {1, 1}), ippStsNoErr);
      EXPECT_EQ(word, expected) << "channels " << channels;
    }
  }
}

TEST(Rgb16, WordsUnpackWithZeroLowBits) {
  const auto unpack = [](TIppiUnpackFrom16u kernel, Ipp16u word, int channels) {
    Ipp8u bytes[4] = {1, 1, 1, 1};
    EXPECT_EQ(kernel(&word, 2, bytes, channels, {1, 1}), ippStsNoErr);
    return std::array<int, 4>{bytes[0], bytes[1], bytes[2], bytes[3]};
  };
  using P = std::array<int, 4>;
  EXPECT_EQ(unpack(ippiRGB565ToRGB_8u_C3R, 0xFFFF, 3), (P{248, 252, 248, 1}));
  EXPECT_EQ(unpack(ippiRGB565ToRGBA_8u_AC4R, 0xF800, 4), (P{0, 0, 248, 255}));
  EXPECT_EQ(unpack(ippiRGB565ToRGB_8u_C3R, 0x0020, 3), (P{0, 4, 0, 1}));
  // Bit 15 of a 555 word means nothing.
  EXPECT_EQ(unpack(ippiRGB555ToRGB_8u_C3R, 0xFFFF, 3), (P{248, 248, 248, 1}));
  EXPECT_EQ(unpack(ippiRGB555ToRGBA_8u_AC4R, 0x8000 | 0x03E0, 4), (P{0, 248, 0, 255}));
}

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
    for (std::size_t a = 3; channels == 4 && a < pixels.size(); a += 4) ASSERT_EQ(pixels[a], 255);
  }
}

TEST(Rgb16, RepackingMovesTheFields) {
  const auto repack = [](TIppiRepack16u kernel, Ipp16u word) {
    Ipp16u out = 0;
    EXPECT_EQ(kernel(&word, 2, &out, 2, {1, 1}), ippStsNoErr);
    return out;
  };
  EXPECT_EQ(repack(ippiRGB565ToRGB555, 0xFFFF), 0x7FFF);
  EXPECT_EQ(repack(ippiRGB565ToRGB555, 0x0020), 0x0000);  // green's lowest bit
  EXPECT_EQ(repack(ippiRGB565ToRGB555, 0xF81F), 0x7C1F);
  EXPECT_EQ(repack(ippiRGB555ToRGB565, 0x7FFF), 0xFFDF);
  EXPECT_EQ(repack(ippiRGB555ToRGB565, 0x8000), 0x0000);  // bit 15 dropped
  EXPECT_EQ(repack(ippiRGB555ToRGB565, 0x0020), 0x0040);
}

TEST(Rgb16, ArgumentChecksInOrder) {
  alignas(4) Ipp8u bytes[16] = {};
  Ipp16u words[8] = {};
  for (auto pack : {ippiRGB_8u_C3RToRGB565, reference::ippiRGBA_8u_AC4RToRGB555}) {
    EXPECT_EQ(pack(nullptr, 3, words, 2, {0, 1}), ippStsNullPtrErr);
    EXPECT_EQ(pack(bytes, 0, words, 3, {0, 1}), ippStsSizeErr);
    EXPECT_EQ(pack(bytes, 0, words, 3, {1, 1}), ippStsStepErr);
    EXPECT_EQ(pack(bytes, 5, words, 3, {1, 1}), ippStsNotEvenStepErr);
    EXPECT_EQ(pack(bytes, 5, words, 2, {1, 2}), ippStsNoErr);  // an odd byte-image step is fine
  }
  for (auto unpack : {ippiRGB555ToRGB_8u_C3R, reference::ippiRGB565ToRGBA_8u_AC4R}) {
    EXPECT_EQ(unpack(words, 2, nullptr, 3, {1, 1}), ippStsNullPtrErr);
    EXPECT_EQ(unpack(words, 2, bytes, -3, {1, 1}), ippStsStepErr);
    EXPECT_EQ(unpack(words, 3, bytes, 5, {1, 1}), ippStsNotEvenStepErr);
  }
  for (auto repack : {ippiRGB555ToRGB565, reference::ippiRGB565ToRGB555}) {
    EXPECT_EQ(repack(words, 2, words + 4, 0, {1, 1}), ippStsStepErr);
    EXPECT_EQ(repack(words, 2, words + 4, 7, {1, 1}), ippStsNotEvenStepErr);
  }
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

}  // namespace
}  // namespace qx::kerneltest
