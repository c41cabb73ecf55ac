// 16-bit RGB conversions: hand-checked words, exact round trips of every word,
// argument checks, and the SIMD kernels against the scalar references.
#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <utility>
#include <vector>

#include "ColorTestSupport.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorReference.h"
#include "packages/sonquo/IppExtraFunctions.h"

namespace qx::test {
namespace {

using Pack = IppStatus (*)(const Ipp8u*, int, Ipp16u*, int, IppiSize);
using Unpack = IppStatus (*)(const Ipp16u*, int, Ipp8u*, int, IppiSize);
using Repack = IppStatus (*)(const Ipp16u*, int, Ipp16u*, int, IppiSize);
using Bgr = std::array<int, 3>;

// One pixel given as blue, green, red bytes.
Ipp16u PackPixel(Pack pack, Bgr bgr, int channels) {
  const Ipp8u pixel[4] = {Ipp8u(bgr[0]), Ipp8u(bgr[1]), Ipp8u(bgr[2]), 0x5A};
  Ipp16u word = 0;
  EXPECT_EQ(pack(pixel, channels, &word, 2, {1, 1}), ippStsNoErr);
  return word;
}

std::array<int, 4> UnpackWord(Unpack unpack, Ipp16u word, int channels) {
  Ipp8u pixel[4] = {1, 1, 1, 1};
  EXPECT_EQ(unpack(&word, 2, pixel, channels, {1, 1}), ippStsNoErr);
  return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

// Through the audio package's names, as its users call them.
TEST(Rgb16, PureColoursPackToTheirFields) {
  for (auto [pack, channels] : {std::pair{&sonquo::ippiRGB_8u_C3RToRGB565, 3},
                                std::pair{&sonquo::ippiRGBA_8u_AC4RToRGB565, 4}}) {
    EXPECT_EQ(PackPixel(pack, {0, 0, 255}, channels), 0xF800);
    EXPECT_EQ(PackPixel(pack, {0, 255, 0}, channels), 0x07E0);
    EXPECT_EQ(PackPixel(pack, {255, 0, 0}, channels), 0x001F);
    EXPECT_EQ(PackPixel(pack, {255, 255, 255}, channels), 0xFFFF);
    // Green keeps six bits: 4 is its lowest, 3 is dropped; others keep five.
    EXPECT_EQ(PackPixel(pack, {0, 4, 0}, channels), 0x0020);
    EXPECT_EQ(PackPixel(pack, {7, 3, 7}, channels), 0x0000);
    EXPECT_EQ(PackPixel(pack, {8, 0, 8}, channels), 0x0801);
  }
  for (auto [pack, channels] : {std::pair{&sonquo::ippiRGB_8u_C3RToRGB555, 3},
                                std::pair{&sonquo::ippiRGBA_8u_AC4RToRGB555, 4}}) {
    EXPECT_EQ(PackPixel(pack, {0, 0, 255}, channels), 0x7C00);
    EXPECT_EQ(PackPixel(pack, {0, 255, 0}, channels), 0x03E0);
    EXPECT_EQ(PackPixel(pack, {255, 0, 0}, channels), 0x001F);
    EXPECT_EQ(PackPixel(pack, {255, 255, 255}, channels), 0x7FFF);  // bit 15 stays clear
    EXPECT_EQ(PackPixel(pack, {0, 7, 0}, channels), 0x0000);
    EXPECT_EQ(PackPixel(pack, {0, 8, 0}, channels), 0x0020);
  }
}

TEST(Rgb16, WordsUnpackWithZeroLowBits) {
  EXPECT_EQ(UnpackWord(fallback::ippiRGB565ToRGB_8u_C3R, 0xFFFF, 3),
            (std::array<int, 4>{248, 252, 248, 1}));
  EXPECT_EQ(UnpackWord(fallback::ippiRGB565ToRGBA_8u_AC4R, 0xF800, 4),
            (std::array<int, 4>{0, 0, 248, 255}));
  EXPECT_EQ(UnpackWord(fallback::ippiRGB565ToRGB_8u_C3R, 0x0020, 3),
            (std::array<int, 4>{0, 4, 0, 1}));
  // Bit 15 of a 555 word means nothing.
  EXPECT_EQ(UnpackWord(fallback::ippiRGB555ToRGB_8u_C3R, 0xFFFF, 3),
            (std::array<int, 4>{248, 248, 248, 1}));
  EXPECT_EQ(UnpackWord(fallback::ippiRGB555ToRGBA_8u_AC4R, 0x8000 | 0x03E0, 4),
            (std::array<int, 4>{0, 248, 0, 255}));
}

TEST(Rgb16, EveryWordSurvivesUnpackingAndPackingAgain) {
  std::vector<Ipp16u> words(65536);
  for (int w = 0; w < 65536; ++w) words[w] = static_cast<Ipp16u>(w);
  const IppiSize size{256, 256};
  for (auto [unpack, pack, channels, significant] :
       {std::tuple{&fallback::ippiRGB565ToRGB_8u_C3R, &fallback::ippiRGB_8u_C3RToRGB565, 3, 0xFFFF},
        std::tuple{&fallback::ippiRGB565ToRGBA_8u_AC4R, &fallback::ippiRGBA_8u_AC4RToRGB565, 4,
                   0xFFFF},
        std::tuple{&fallback::ippiRGB555ToRGB_8u_C3R, &fallback::ippiRGB_8u_C3RToRGB555, 3, 0x7FFF},
        std::tuple{&fallback::ippiRGB555ToRGBA_8u_AC4R, &fallback::ippiRGBA_8u_AC4RToRGB555, 4,
                   0x7FFF}}) {
    std::vector<Ipp8u> pixels(words.size() * channels);
    std::vector<Ipp16u> back(words.size());
    ASSERT_EQ(unpack(words.data(), 512, pixels.data(), 256 * channels, size), ippStsNoErr);
    ASSERT_EQ(pack(pixels.data(), 256 * channels, back.data(), 512, size), ippStsNoErr);
    for (int w = 0; w < 65536; ++w) ASSERT_EQ(back[w], w & significant) << "word " << w;
    if (channels == 4) {
      for (std::size_t a = 3; a < pixels.size(); a += 4) ASSERT_EQ(pixels[a], 255);
    }
  }
}

TEST(Rgb16, RepackingMovesTheFields) {
  const auto repack = [](Repack kernel, Ipp16u word) {
    Ipp16u out = 0;
    EXPECT_EQ(kernel(&word, 2, &out, 2, {1, 1}), ippStsNoErr);
    return out;
  };
  EXPECT_EQ(repack(fallback::ippiRGB565ToRGB555, 0xFFFF), 0x7FFF);
  EXPECT_EQ(repack(fallback::ippiRGB565ToRGB555, 0x0020), 0x0000);  // green's lowest bit
  EXPECT_EQ(repack(fallback::ippiRGB565ToRGB555, 0xF81F), 0x7C1F);
  EXPECT_EQ(repack(fallback::ippiRGB555ToRGB565, 0x7FFF), 0xFFDF);
  EXPECT_EQ(repack(fallback::ippiRGB555ToRGB565, 0x8000), 0x0000);  // bit 15 dropped
  EXPECT_EQ(repack(fallback::ippiRGB555ToRGB565, 0x0020), 0x0040);
}

TEST(Rgb16, ArgumentChecksInOrder) {
  alignas(4) Ipp8u bytes[16] = {};
  Ipp16u words[8] = {};
  for (Pack pack :
       {fallback::ippiRGB_8u_C3RToRGB565, fallback::reference::ippiRGBA_8u_AC4RToRGB555}) {
    EXPECT_EQ(pack(nullptr, 3, words, 2, {0, 1}), ippStsNullPtrErr);
    EXPECT_EQ(pack(bytes, 0, words, 3, {0, 1}), ippStsSizeErr);
    EXPECT_EQ(pack(bytes, 0, words, 3, {1, 1}), ippStsStepErr);
    EXPECT_EQ(pack(bytes, 5, words, 3, {1, 1}), ippStsNotEvenStepErr);
    EXPECT_EQ(pack(bytes, 5, words, 2, {1, 2}), ippStsNoErr);  // an odd byte-image step is fine
  }
  for (Unpack unpack :
       {fallback::ippiRGB555ToRGB_8u_C3R, fallback::reference::ippiRGB565ToRGBA_8u_AC4R}) {
    EXPECT_EQ(unpack(words, 2, nullptr, 3, {1, 1}), ippStsNullPtrErr);
    EXPECT_EQ(unpack(words, 2, bytes, -3, {1, 1}), ippStsStepErr);
    EXPECT_EQ(unpack(words, 3, bytes, 5, {1, 1}), ippStsNotEvenStepErr);
  }
  for (Repack repack : {fallback::ippiRGB555ToRGB565, fallback::reference::ippiRGB565ToRGB555}) {
    EXPECT_EQ(repack(words, 2, words + 4, 0, {1, 1}), ippStsStepErr);
    EXPECT_EQ(repack(words, 2, words + 4, 7, {1, 1}), ippStsNotEvenStepErr);
  }
}

TEST(Rgb16, SimdMatchesReference) {
  const auto asPack = [](Pack kernel) {
    return [kernel](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize size) {
      return kernel(s, ss, reinterpret_cast<Ipp16u*>(d), ds, size);
    };
  };
  const auto asUnpack = [](Unpack kernel) {
    return [kernel](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize size) {
      return kernel(reinterpret_cast<const Ipp16u*>(s), ss, d, ds, size);
    };
  };
  const auto asRepack = [](Repack kernel) {
    return [kernel](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize size) {
      return kernel(reinterpret_cast<const Ipp16u*>(s), ss, reinterpret_cast<Ipp16u*>(d), ds, size);
    };
  };
  constexpr int kWordSteps = 2;
  ExpectSameAsReference(3, 2, asPack(fallback::ippiRGB_8u_C3RToRGB565),
                        asPack(fallback::reference::ippiRGB_8u_C3RToRGB565), kWordSteps);
  ExpectSameAsReference(3, 2, asPack(fallback::ippiRGB_8u_C3RToRGB555),
                        asPack(fallback::reference::ippiRGB_8u_C3RToRGB555), kWordSteps);
  ExpectSameAsReference(4, 2, asPack(fallback::ippiRGBA_8u_AC4RToRGB565),
                        asPack(fallback::reference::ippiRGBA_8u_AC4RToRGB565), kWordSteps);
  ExpectSameAsReference(4, 2, asPack(fallback::ippiRGBA_8u_AC4RToRGB555),
                        asPack(fallback::reference::ippiRGBA_8u_AC4RToRGB555), kWordSteps);
  ExpectSameAsReference(2, 3, asUnpack(fallback::ippiRGB565ToRGB_8u_C3R),
                        asUnpack(fallback::reference::ippiRGB565ToRGB_8u_C3R), kWordSteps);
  ExpectSameAsReference(2, 3, asUnpack(fallback::ippiRGB555ToRGB_8u_C3R),
                        asUnpack(fallback::reference::ippiRGB555ToRGB_8u_C3R), kWordSteps);
  ExpectSameAsReference(2, 4, asUnpack(fallback::ippiRGB565ToRGBA_8u_AC4R),
                        asUnpack(fallback::reference::ippiRGB565ToRGBA_8u_AC4R), kWordSteps);
  ExpectSameAsReference(2, 4, asUnpack(fallback::ippiRGB555ToRGBA_8u_AC4R),
                        asUnpack(fallback::reference::ippiRGB555ToRGBA_8u_AC4R), kWordSteps);
  ExpectSameAsReference(2, 2, asRepack(fallback::ippiRGB555ToRGB565),
                        asRepack(fallback::reference::ippiRGB555ToRGB565), kWordSteps);
  ExpectSameAsReference(2, 2, asRepack(fallback::ippiRGB565ToRGB555),
                        asRepack(fallback::reference::ippiRGB565ToRGB555), kWordSteps);
}

}  // namespace
}  // namespace qx::test
