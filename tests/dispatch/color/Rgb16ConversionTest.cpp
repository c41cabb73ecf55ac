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

}  // namespace
}  // namespace qx::kerneltest
