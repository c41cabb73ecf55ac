// Kernels that mix or reorder the channels of pixels: weighted gray, channel
// swaps, colour twist and alpha compositing. Hand-checked values, rounding and
// saturation, argument checks and their order, and the SIMD kernels against
// the scalar references.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "KernelTestSupport.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorReference.h"

namespace qx::kerneltest {
namespace {

using namespace fallback;
using Bytes = std::vector<Ipp8u>;

// The same pixel as C3 and, twice, as AC4 with the alpha ignored.
TEST(ColorToGray, HandCheckedPixels) {
  // Default weights: 1225, 2404 and 467 of 4096 for bytes 0, 1, 2. Given weights are
  // rounded to twelve bits (4095.6 units to 4096, 4095.4 to 4095) and the sum clamped.
  const Ipp32f roundsUp[3] = {1.0f - 0.4f / 4096, 0, 0};
  const Ipp32f roundsDown[3] = {1.0f - 0.6f / 4096, 0, 0};
  const Ipp32f heavy[3] = {1, 1, 0}, negative[3] = {-1, 0, 0};
  const std::tuple<Ipp8u, Ipp8u, const Ipp32f*, int> cases[] = {
      {255, 0, nullptr, 76},     {0, 255, nullptr, 149}, {255, 0, roundsUp, 255},
      {255, 0, roundsDown, 254}, {200, 200, heavy, 255}, {200, 0, negative, 0}};
  for (auto [b0, b1, weights, gray] : cases) {
    const Ipp8u pixels[8] = {b0, b1, 0, 0, b0, b1, 0, 255};
    Ipp8u out[2] = {};
    ASSERT_EQ(ippiColorToGray_8u_C3C1R(pixels, 8, out, 2, {1, 1}, weights), ippStsNoErr);
    ASSERT_EQ(ippiColorToGray_8u_AC4C1R(pixels, 8, out + 1, 2, {1, 1}, weights), ippStsNoErr);
    EXPECT_EQ(out[0], gray) << int{b0} << " " << int{b1};
    EXPECT_EQ(out[1], gray) << int{b0} << " " << int{b1};
  }
}

// The argument checks are those of the YUV conversions.
TEST(ColorToGray, SimdMatchesReference) {
  // Large weights of both signs; the weights of 8 and above saturate at 32767, past what
  // some instruction sets split into signed bytes. Positive weights summing to more
  // than 1 give grays past 255 only for some pixels.
  const Ipp32f large[3] = {7.9f, -3.2f, 0.01f}, saturated[3] = {8.5f, -8.5f, 0.5f};
  const Ipp32f overOne[3] = {0.6f, 0.6f, 0.05f};
  for (const Ipp32f* weights : {static_cast<const Ipp32f*>(nullptr), large, saturated, overOne}) {
    ExpectSameAsReference(kOneSource, {3, 1}, OneSource(ippiColorToGray_8u_C3C1R, weights),
                          OneSource(reference::ippiColorToGray_8u_C3C1R, weights));
    ExpectSameAsReference(kOneSource, {4, 1}, OneSource(ippiColorToGray_8u_AC4C1R, weights),
                          OneSource(reference::ippiColorToGray_8u_AC4C1R, weights));
  }
}

// Images of several megabytes stream the gray out from each row's first aligned
// pixel on; rows here start anywhere, or run on without a gap.
TEST(ColorToGray, LargeImagesMatchReference) {
  std::mt19937 random(11);
  const IppiSize roi{1201, 1100};
  ForEachTarget([&] {
    for (int layout = 0; layout < 4; ++layout) {
      const auto images = ImagesFor(kOneSource, {3 + layout % 2, 1}, roi, random, true);
      if (layout % 2 == 0) {
        ExpectSameResults(images, roi, OneSource(ippiColorToGray_8u_C3C1R, nullptr),
                          OneSource(reference::ippiColorToGray_8u_C3C1R, nullptr));
      } else {
        ExpectSameResults(images, roi, OneSource(ippiColorToGray_8u_AC4C1R, nullptr),
                          OneSource(reference::ippiColorToGray_8u_AC4C1R, nullptr));
      }
    }
  });
}

// In place, every byte of a pixel is read before any is written; AC4 keeps
// the destination's alpha.
TEST(SwapChannels, HandCheckedPixels) {
  Bytes image = {1, 2, 3, 4, 5, 6};
  const int rotate[3] = {1, 2, 0};
  ASSERT_EQ(ippiSwapChannels_8u_C3IR(image.data(), 6, {2, 1}, rotate), ippStsNoErr);
  EXPECT_EQ(image, (Bytes{2, 3, 1, 5, 6, 4}));
  const Ipp8u src[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  Bytes dst = {0, 0, 0, 99, 0, 0, 0, 98};
  const int order[3] = {2, 0, 0};
  ASSERT_EQ(ippiSwapChannels_8u_AC4R(src, 8, dst.data(), 8, {2, 1}, order), ippStsNoErr);
  EXPECT_EQ(dst, (Bytes{3, 1, 1, 99, 7, 5, 5, 98}));
}

TEST(SwapChannels, ArgumentChecksInOrder) {
  Ipp8u image[24] = {};
  const int bad[3] = {0, 3, 1}, negative[3] = {-1, 0, 1};
  const auto swap = ippiSwapChannels_8u_AC4R;
  EXPECT_EQ(swap(image, 12, image + 12, 12, {1, 1}, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(swap(nullptr, 0, image, 0, {0, 0}, bad), ippStsNullPtrErr);
  EXPECT_EQ(swap(image, 0, image + 12, 0, {0, 1}, bad), ippStsSizeErr);
  EXPECT_EQ(swap(image, 12, image + 12, -4, {1, 1}, bad), ippStsStepErr);
  EXPECT_EQ(swap(image, 12, image + 12, 12, {1, 1}, negative), ippStsChannelOrderErr);
  std::fill(std::begin(image), std::end(image), 7);
  EXPECT_EQ(ippiSwapChannels_8u_C3IR(image, 3, {8, 1}, bad), ippStsChannelOrderErr);
  EXPECT_EQ(std::count(std::begin(image), std::end(image), 7), 24);  // nothing written
}

// Every order table with indices 0..2, repetitions included.
TEST(SwapChannels, SimdMatchesReference) {
  for (int code = 0; code < 27; ++code) {
    const int order[3] = {code / 9, code / 3 % 3, code % 3};
    SCOPED_TRACE(testing::Message() << order[0] << order[1] << order[2]);
    ExpectSameAsReference(kOneSource, {3, 3}, OneSource(ippiSwapChannels_8u_C3R, order),
                          OneSource(reference::ippiSwapChannels_8u_C3R, order));
    ExpectSameAsReference(kOneSource, {4, 4}, OneSource(ippiSwapChannels_8u_AC4R, order),
                          OneSource(reference::ippiSwapChannels_8u_AC4R, order));
    ExpectSameAsReference(kInPlace, {3, 3}, InPlace(ippiSwapChannels_8u_C3IR, order),
                          InPlace(reference::ippiSwapChannels_8u_C3IR, order));
  }
}

using Matrix = Ipp32f[3][4];

// Channel 0 of pixel (s0, 0, 0) twisted by the row (scale, 0, 0, offset);
// 2.5 + 2^-60 lies above the tie only when the sum keeps 62 fraction bits.
TEST(ColorTwist, RoundsToNearestWithTiesToEvenAndSaturates) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::tuple<Ipp32f, Ipp8u, Ipp32f, int> cases[] = {
      {0.5f, 5, 0, 2},    {0.5f, 7, 0, 4}, {1.0f, 255, 0.2f, 255},
      {-1.0f, 200, 0, 0}, {nan, 9, 0, 0},  {0.5f, 5, std::ldexp(1.0f, -60), 3},
  };
  for (auto [scale, s0, offset, expected] : cases) {
    const Matrix twist = {{scale, 0, 0, offset}, {0, 0, 0, 0}, {0, 0, 0, 0}};
    Ipp8u pixel[3] = {s0, 0, 0};
    ASSERT_EQ(ippiColorTwist32f_8u_C3IR(pixel, 3, {1, 1}, twist), ippStsNoErr);
    EXPECT_EQ(pixel[0], expected) << scale << " * " << int{s0} << " + " << offset;
  }
}

TEST(ColorTwist, MixesChannelsPerRowKeepsAlphaAndChecksInOrder) {
  const Matrix twist = {{0, 0, 1, 0}, {0.5f, 0.5f, 0, 0}, {0, 0, 0, 17}};
  std::vector<Ipp8u> rgba = {10, 21, 30, 77};
  ASSERT_EQ(ippiColorTwist32f_8u_AC4IR(rgba.data(), 4, {1, 1}, twist), ippStsNoErr);
  EXPECT_EQ(rgba, (std::vector<Ipp8u>{30, 16, 17, 77}));  // 15.5 rounds to 16
  Ipp8u image[16] = {};
  const auto twistC3 = ippiColorTwist32f_8u_C3R;
  EXPECT_EQ(twistC3(image, 3, image + 8, 3, {1, 1}, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(twistC3(nullptr, 0, image, 0, {0, 0}, twist), ippStsNullPtrErr);
  EXPECT_EQ(twistC3(image, 0, image + 8, 0, {0, 1}, twist), ippStsSizeErr);
  EXPECT_EQ(twistC3(image, 3, image + 8, 0, {1, 1}, twist), ippStsStepErr);
}

TEST(ColorTwist, SimdMatchesReference) {
  const Matrix toYuv = {
      {0.299f, 0.587f, 0.114f, 0}, {-0.169f, -0.331f, 0.5f, 128}, {0.5f, -0.419f, -0.081f, 128}};
  const Matrix halves = {{0.5f, 0, 0, 0.5f}, {0, 0.5f, 0.5f, 0}, {0.25f, 0.25f, 0.5f, -0.5f}};
  const Matrix wideRange = {{1e-7f, 3.0f, 0, 1e6f}, {1e-30f, 1, 0, 0}, {2, -1, 0.125f, -3}};
  // Sums a hair off a tie, closer than float resolves at these magnitudes.
  const Matrix nearTies = {
      {0.5f, 0, 0, 0x1p-30f}, {0, 0.5f, 0, -0x1p-30f}, {0.25f, 0.25f, 0.5f, 0x1p-20f}};
  for (const Matrix* twist : {&toYuv, &halves, &wideRange, &nearTies}) {
    ExpectSameAsReference(kOneSource, {3, 3}, OneSource(ippiColorTwist32f_8u_C3R, *twist),
                          OneSource(reference::ippiColorTwist32f_8u_C3R, *twist));
    ExpectSameAsReference(kInPlace, {3, 3}, InPlace(ippiColorTwist32f_8u_C3IR, *twist),
                          InPlace(reference::ippiColorTwist32f_8u_C3IR, *twist));
    ExpectSameAsReference(kInPlace, {4, 4}, InPlace(ippiColorTwist32f_8u_AC4IR, *twist),
                          InPlace(reference::ippiColorTwist32f_8u_AC4IR, *twist));
  }
}

using AlphaCompC = IppStatus (*)(const Ipp8u*, int, Ipp8u, const Ipp8u*, int, Ipp8u, Ipp8u*, int,
                                 IppiSize, IppiAlphaType);

TEST(AlphaComposite, HandCheckedBytesAndChecksInOrder) {
  const auto composite = [](IppiAlphaType type, Ipp8u s1, Ipp8u a1, Ipp8u s2, Ipp8u a2) {
    Ipp8u out = 0;
    EXPECT_EQ(ippiAlphaCompC_8u_C1R(&s1, 1, a1, &s2, 1, a2, &out, 1, {1, 1}, type), ippStsNoErr);
    return int{out};
  };
  // Over: floor(200 * 128 / 255) + floor(floor(100 * 255 / 255) * 127 / 255) = 100 + 49.
  EXPECT_EQ(composite(ippAlphaOver, 200, 128, 100, 255), 149);
  EXPECT_EQ(composite(ippAlphaPlusPremul, 200, 0, 100, 0), 255);
  // Xor premultiplied: floor(200 * 127 / 255) + floor(90 * 155 / 255) = 99 + 54.
  EXPECT_EQ(composite(ippAlphaXorPremul, 200, 100, 90, 128), 153);

  Ipp8u image[16] = {};
  const auto bad = static_cast<IppiAlphaType>(12);
  const AlphaCompC compC = ippiAlphaCompC_8u_C3R;
  EXPECT_EQ(compC(image, 4, 1, nullptr, 4, 1, image, 4, {0, 1}, bad), ippStsNullPtrErr);
  EXPECT_EQ(compC(image, 4, 1, image, 4, 1, image, 4, {1, 0}, bad), ippStsSizeErr);
  EXPECT_EQ(compC(image, 4, 1, image, 4, 1, image, 4, {1, 1}, static_cast<IppiAlphaType>(-1)),
            ippStsAlphaTypeErr);
  EXPECT_EQ(compC(image, 0, 1, image + 8, -4, 1, image, 0, {1, 2}, ippAlphaPlusPremul),
            ippStsNoErr);  // steps unchecked
}

// The colours are those of constant-alpha compositing with each pixel's alphas;
// the result alpha for a1 = 128, a2 = 192 is, by type: Over 128 + floor(192 * 127 / 255)
// = 223, In floor(128 * 192 / 255) = 96, Out floor(128 * 63 / 255) = 31, ATop 96 + 95,
// Xor 31 + 95, Plus min(320, 255); each premultiplied type gives the same.
TEST(AlphaComposite, PerPixelAlphasCompositeAsConstantOnes) {
  const int expectedAlpha[6] = {223, 96, 31, 191, 126, 255};
  std::vector<Ipp8u> src1, src2;
  for (int i = 0; i < 40; ++i) {
    src1.insert(src1.end(), {Ipp8u(i * 6), Ipp8u(255 - i), Ipp8u(i * 31), Ipp8u(i * 47)});
    src2.insert(src2.end(), {Ipp8u(i * 13), Ipp8u(i * 3), Ipp8u(200 - i), Ipp8u(255 - i * 29)});
  }
  src1[3] = 128;
  src2[3] = 192;
  for (int type = 0; type < 12; ++type) {
    const auto alphaType = static_cast<IppiAlphaType>(type);
    std::vector<Ipp8u> out(src1.size());
    ASSERT_EQ(ippiAlphaComp_8u_AC4R(src1.data(), 160, src2.data(), 160, out.data(), 160, {40, 1},
                                    alphaType),
              ippStsNoErr);
    EXPECT_EQ(out[3], expectedAlpha[type % 6]) << "type " << type;
    for (int x = 0; x < 40; ++x) {
      Ipp8u expected[3] = {};
      ASSERT_EQ(ippiAlphaCompC_8u_C3R(&src1[4 * x], 3, src1[4 * x + 3], &src2[4 * x], 3,
                                      src2[4 * x + 3], expected, 3, {1, 1}, alphaType),
                ippStsNoErr);
      EXPECT_EQ(std::vector(expected, expected + 3), std::vector(&out[4 * x], &out[4 * x + 3]))
          << "type " << type << " pixel " << x;
    }
  }
  Ipp8u image[16] = {};
  EXPECT_EQ(
      ippiAlphaComp_8u_AC4R(image, 4, image, 4, image, 4, {1, 1}, static_cast<IppiAlphaType>(12)),
      ippStsAlphaTypeErr);
}

TEST(AlphaComposite, SimdMatchesReference) {
  for (int type = 0; type < 12; ++type) {
    SCOPED_TRACE(testing::Message() << "type " << type);
    const auto alphaType = static_cast<IppiAlphaType>(type);
    const auto constant = [alphaType](AlphaCompC kernel) -> KernelCall {
      return [kernel, alphaType](std::span<const Operand> op, IppiSize size) {
        return kernel(op[0].origin, op[0].step, 200, op[1].origin, op[1].step, 61, op[2].origin,
                      op[2].step, size, alphaType);
      };
    };
    ExpectSameAsReference(kTwoSources, {1, 1}, constant(ippiAlphaCompC_8u_C1R),
                          constant(reference::ippiAlphaCompC_8u_C1R));
    ExpectSameAsReference(kTwoSources, {3, 3}, constant(ippiAlphaCompC_8u_C3R),
                          constant(reference::ippiAlphaCompC_8u_C3R));
    ExpectSameAsReference(kTwoSources, {4, 4}, constant(ippiAlphaCompC_8u_C4R),
                          constant(reference::ippiAlphaCompC_8u_C4R));
    const auto perPixel = [alphaType](auto kernel) -> KernelCall {
      return [kernel, alphaType](std::span<const Operand> op, IppiSize size) {
        return kernel(op[0].origin, op[0].step, op[1].origin, op[1].step, op[2].origin, op[2].step,
                      size, alphaType);
      };
    };
    ExpectSameAsReference(kTwoSources, {4, 4}, perPixel(ippiAlphaComp_8u_AC4R),
                          perPixel(reference::ippiAlphaComp_8u_AC4R));
  }
}

}  // namespace
}  // namespace qx::kerneltest
