// Weighted gray and channel swaps: hand-checked pixels, argument checks and
// their order, and the SIMD kernels against the scalar references.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

#include "ColorTestSupport.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorReference.h"

namespace qx::test {
namespace {

using GrayKernel = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize, const Ipp32f*);

// Gray of one 3-byte pixel through the dispatched kernel.
int GrayOf(std::array<Ipp8u, 3> pixel, const Ipp32f* weights) {
  Ipp8u gray = 0;
  EXPECT_EQ(fallback::ippiColorToGray_8u_C3C1R(pixel.data(), 3, &gray, 1, {1, 1}, weights),
            ippStsNoErr);
  return gray;
}

TEST(ColorToGray, DefaultWeightsAreTheTwelveBitLumaWeights) {
  // 1225, 2404 and 467 of 4096 for bytes 0, 1, 2.
  EXPECT_EQ(GrayOf({255, 0, 0}, nullptr), 1225 * 255 >> 12);  // 76
  EXPECT_EQ(GrayOf({0, 255, 0}, nullptr), 2404 * 255 >> 12);  // 149
  EXPECT_EQ(GrayOf({0, 0, 255}, nullptr), 467 * 255 >> 12);   // 29
  EXPECT_EQ(GrayOf({255, 255, 255}, nullptr), 255);
}

TEST(ColorToGray, WeightsAreRoundedToTwelveBits) {
  // The library's own weights for B, G, R bytes: 0.114 -> 467, 0.587 -> 2405, 0.299 -> 1225.
  const Ipp32f bgr[3] = {0.114f, 0.587f, 0.299f};
  EXPECT_EQ(GrayOf({0, 255, 0}, bgr), 2405 * 255 >> 12);
  EXPECT_EQ(GrayOf({100, 100, 100}, bgr), 4097 * 100 >> 12);  // the sum is 4097: 100
  const Ipp32f single[3] = {1.0f, 0.0f, 0.0f};
  EXPECT_EQ(GrayOf({173, 9, 250}, single), 173);
  const Ipp32f justBelowHalfUnit[3] = {0.4f / 4096, 0.0f, 0.6f / 4096};  // 0 and 1 unit
  EXPECT_EQ(GrayOf({255, 0, 255}, justBelowHalfUnit), 0);
}

TEST(ColorToGray, OutOfRangeSumsClamp) {
  const Ipp32f heavy[3] = {1.0f, 1.0f, 0.0f};
  EXPECT_EQ(GrayOf({200, 200, 0}, heavy), 255);
  const Ipp32f negative[3] = {-1.0f, 0.0f, 0.0f};
  EXPECT_EQ(GrayOf({200, 0, 0}, negative), 0);
}

TEST(ColorToGray, Ac4IgnoresTheFourthByte) {
  const Ipp8u pixels[8] = {10, 20, 30, 0, 10, 20, 30, 255};
  Ipp8u gray[2] = {};
  ASSERT_EQ(fallback::ippiColorToGray_8u_AC4C1R(pixels, 8, gray, 2, {2, 1}, nullptr), ippStsNoErr);
  EXPECT_EQ(gray[0], GrayOf({10, 20, 30}, nullptr));
  EXPECT_EQ(gray[1], gray[0]);
}

TEST(ColorToGray, ArgumentChecks) {
  Ipp8u image[16] = {};
  for (GrayKernel gray : {fallback::ippiColorToGray_8u_C3C1R, fallback::ippiColorToGray_8u_AC4C1R,
                          fallback::reference::ippiColorToGray_8u_C3C1R,
                          fallback::reference::ippiColorToGray_8u_AC4C1R}) {
    EXPECT_EQ(gray(nullptr, 4, image, 1, {1, 1}, nullptr), ippStsNullPtrErr);
    EXPECT_EQ(gray(image, 4, nullptr, 1, {0, 1}, nullptr), ippStsNullPtrErr);
    EXPECT_EQ(gray(image, 4, image + 8, 1, {1, 0}, nullptr), ippStsSizeErr);
    EXPECT_EQ(gray(image, 0, image + 8, 0, {2, 2}, nullptr), ippStsNoErr);  // steps unchecked
  }
}

TEST(ColorToGray, SimdMatchesReference) {
  const Ipp32f typical[3] = {0.114f, 0.587f, 0.299f};
  const Ipp32f extreme[3] = {7.9f, -3.2f, 0.01f};
  for (const Ipp32f* weights : {static_cast<const Ipp32f*>(nullptr), typical, extreme}) {
    for (auto [simd, reference, channels] :
         {std::tuple{&fallback::ippiColorToGray_8u_C3C1R,
                     &fallback::reference::ippiColorToGray_8u_C3C1R, 3},
          std::tuple{&fallback::ippiColorToGray_8u_AC4C1R,
                     &fallback::reference::ippiColorToGray_8u_AC4C1R, 4}}) {
      const auto bind = [weights](GrayKernel kernel) {
        return [kernel, weights](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize size) {
          return kernel(s, ss, d, ds, size, weights);
        };
      };
      ExpectSameAsReference(channels, 1, bind(simd), bind(reference));
    }
  }
}

TEST(SwapChannels, InPlaceReverseExchangesFirstAndThirdBytes) {
  std::vector<Ipp8u> image = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  const int reverse[3] = {2, 1, 0};
  ASSERT_EQ(fallback::ippiSwapChannels_8u_C3IR(image.data(), 9, {3, 1}, reverse), ippStsNoErr);
  EXPECT_EQ(image, (std::vector<Ipp8u>{3, 2, 1, 6, 5, 4, 9, 8, 7}));
}

TEST(SwapChannels, InPlaceTakesEveryByteBeforeWritingAny) {
  std::vector<Ipp8u> image = {1, 2, 3, 4, 5, 6};
  const int rotate[3] = {1, 2, 0};
  ASSERT_EQ(fallback::ippiSwapChannels_8u_C3IR(image.data(), 6, {2, 1}, rotate), ippStsNoErr);
  EXPECT_EQ(image, (std::vector<Ipp8u>{2, 3, 1, 5, 6, 4}));
  const int repeat[3] = {2, 2, 0};
  ASSERT_EQ(fallback::ippiSwapChannels_8u_C3IR(image.data(), 6, {2, 1}, repeat), ippStsNoErr);
  EXPECT_EQ(image, (std::vector<Ipp8u>{1, 1, 2, 4, 4, 5}));
}

TEST(SwapChannels, Ac4KeepsTheDestinationAlpha) {
  const Ipp8u src[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  Ipp8u dst[8] = {0, 0, 0, 99, 0, 0, 0, 98};
  const int order[3] = {2, 0, 0};
  ASSERT_EQ(fallback::ippiSwapChannels_8u_AC4R(src, 8, dst, 8, {2, 1}, order), ippStsNoErr);
  EXPECT_EQ(std::vector<Ipp8u>(dst, dst + 8), (std::vector<Ipp8u>{3, 1, 1, 99, 7, 5, 5, 98}));
}

TEST(SwapChannels, ArgumentChecksInOrder) {
  Ipp8u image[24] = {};
  const int good[3] = {2, 1, 0};
  const int bad[3] = {0, 3, 1};
  const int negative[3] = {-1, 0, 1};
  using Swap = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize, const int*);
  for (Swap swap : {fallback::ippiSwapChannels_8u_C3R, fallback::ippiSwapChannels_8u_AC4R,
                    fallback::reference::ippiSwapChannels_8u_C3R,
                    fallback::reference::ippiSwapChannels_8u_AC4R}) {
    EXPECT_EQ(swap(image, 12, image + 12, 12, {1, 1}, nullptr), ippStsNullPtrErr);
    EXPECT_EQ(swap(nullptr, 0, image, 0, {0, 0}, bad), ippStsNullPtrErr);
    EXPECT_EQ(swap(image, 0, image + 12, 0, {0, 1}, bad), ippStsSizeErr);
    EXPECT_EQ(swap(image, 0, image + 12, 12, {1, 1}, bad), ippStsStepErr);
    EXPECT_EQ(swap(image, 12, image + 12, -4, {1, 1}, bad), ippStsStepErr);
    EXPECT_EQ(swap(image, 12, image + 12, 12, {1, 1}, bad), ippStsChannelOrderErr);
    EXPECT_EQ(swap(image, 12, image + 12, 12, {1, 1}, negative), ippStsChannelOrderErr);
    EXPECT_EQ(swap(image, 12, image + 12, 12, {1, 1}, good), ippStsNoErr);
  }
  for (auto swap :
       {fallback::ippiSwapChannels_8u_C3IR, fallback::reference::ippiSwapChannels_8u_C3IR}) {
    std::fill(std::begin(image), std::end(image), 7);
    EXPECT_EQ(swap(nullptr, 3, {1, 1}, good), ippStsNullPtrErr);
    EXPECT_EQ(swap(image, 0, {0, 1}, bad), ippStsSizeErr);
    EXPECT_EQ(swap(image, 0, {1, 1}, bad), ippStsStepErr);
    EXPECT_EQ(swap(image, 3, {8, 1}, bad), ippStsChannelOrderErr);
    EXPECT_EQ(std::count(std::begin(image), std::end(image), 7), 24);  // nothing written
  }
}

// Every order table with indices 0..2, repetitions included.
std::vector<std::array<int, 3>> AllOrders() {
  std::vector<std::array<int, 3>> orders;
  for (int a = 0; a < 3; ++a)
    for (int b = 0; b < 3; ++b)
      for (int c = 0; c < 3; ++c) orders.push_back({a, b, c});
  return orders;
}

TEST(SwapChannels, SimdMatchesReference) {
  using Swap = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize, const int*);
  using SwapInPlace = IppStatus (*)(Ipp8u*, int, IppiSize, const int*);
  for (const std::array<int, 3>& order : AllOrders()) {
    SCOPED_TRACE(testing::Message() << order[0] << order[1] << order[2]);
    const auto bind = [&order](Swap kernel) {
      return [kernel, &order](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize size) {
        return kernel(s, ss, d, ds, size, order.data());
      };
    };
    const auto bindInPlace = [&order](SwapInPlace kernel) {
      return [kernel, &order](Ipp8u* image, int step, IppiSize size) {
        return kernel(image, step, size, order.data());
      };
    };
    ExpectSameAsReference(3, 3, bind(fallback::ippiSwapChannels_8u_C3R),
                          bind(fallback::reference::ippiSwapChannels_8u_C3R));
    ExpectSameAsReference(4, 4, bind(fallback::ippiSwapChannels_8u_AC4R),
                          bind(fallback::reference::ippiSwapChannels_8u_AC4R));
    ExpectSameAsReferenceInPlace(3, bindInPlace(fallback::ippiSwapChannels_8u_C3IR),
                                 bindInPlace(fallback::reference::ippiSwapChannels_8u_C3IR));
  }
}

}  // namespace
}  // namespace qx::test
