// Weighted gray and channel swaps: hand-checked pixels, argument checks and
// their order, and the SIMD kernels against the scalar references.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

#include "KernelTestSupport.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorReference.h"

namespace qx::kerneltest {
namespace {

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
    ASSERT_EQ(fallback::ippiColorToGray_8u_C3C1R(pixels, 8, out, 2, {1, 1}, weights), ippStsNoErr);
    ASSERT_EQ(fallback::ippiColorToGray_8u_AC4C1R(pixels, 8, out + 1, 2, {1, 1}, weights),
              ippStsNoErr);
    EXPECT_EQ(out[0], gray) << int{b0} << " " << int{b1};
    EXPECT_EQ(out[1], gray) << int{b0} << " " << int{b1};
  }
}

TEST(ColorToGray, ArgumentChecksAndSimdMatchesReference) {
  Ipp8u image[16] = {};
  EXPECT_EQ(fallback::ippiColorToGray_8u_C3C1R(nullptr, 4, image, 1, {1, 1}, nullptr),
            ippStsNullPtrErr);
  EXPECT_EQ(fallback::ippiColorToGray_8u_AC4C1R(image, 4, nullptr, 1, {0, 1}, nullptr),
            ippStsNullPtrErr);
  EXPECT_EQ(fallback::ippiColorToGray_8u_C3C1R(image, 4, image + 8, 1, {1, 0}, nullptr),
            ippStsSizeErr);
  EXPECT_EQ(fallback::ippiColorToGray_8u_AC4C1R(image, 0, image + 8, 0, {2, 2}, nullptr),
            ippStsNoErr);  // steps unchecked
  const Ipp32f extreme[3] = {7.9f, -3.2f, 0.01f};
  for (const Ipp32f* weights : {static_cast<const Ipp32f*>(nullptr), extreme}) {
    ExpectSameAsReference(kOneSource, {3, 1},
                          OneSource(fallback::ippiColorToGray_8u_C3C1R, weights),
                          OneSource(fallback::reference::ippiColorToGray_8u_C3C1R, weights));
    ExpectSameAsReference(kOneSource, {4, 1},
                          OneSource(fallback::ippiColorToGray_8u_AC4C1R, weights),
                          OneSource(fallback::reference::ippiColorToGray_8u_AC4C1R, weights));
  }
}

// In place, every byte of a pixel is read before any is written; AC4 keeps
// the destination's alpha.
TEST(SwapChannels, HandCheckedPixels) {
  Bytes image = {1, 2, 3, 4, 5, 6};
  const int rotate[3] = {1, 2, 0};
  ASSERT_EQ(fallback::ippiSwapChannels_8u_C3IR(image.data(), 6, {2, 1}, rotate), ippStsNoErr);
  EXPECT_EQ(image, (Bytes{2, 3, 1, 5, 6, 4}));
  const Ipp8u src[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  Bytes dst = {0, 0, 0, 99, 0, 0, 0, 98};
  const int order[3] = {2, 0, 0};
  ASSERT_EQ(fallback::ippiSwapChannels_8u_AC4R(src, 8, dst.data(), 8, {2, 1}, order), ippStsNoErr);
  EXPECT_EQ(dst, (Bytes{3, 1, 1, 99, 7, 5, 5, 98}));
}

TEST(SwapChannels, ArgumentChecksInOrder) {
  Ipp8u image[24] = {};
  const int bad[3] = {0, 3, 1}, negative[3] = {-1, 0, 1};
  const auto swap = fallback::ippiSwapChannels_8u_AC4R;
  EXPECT_EQ(swap(image, 12, image + 12, 12, {1, 1}, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(swap(nullptr, 0, image, 0, {0, 0}, bad), ippStsNullPtrErr);
  EXPECT_EQ(swap(image, 0, image + 12, 0, {0, 1}, bad), ippStsSizeErr);
  EXPECT_EQ(swap(image, 12, image + 12, -4, {1, 1}, bad), ippStsStepErr);
  EXPECT_EQ(swap(image, 12, image + 12, 12, {1, 1}, negative), ippStsChannelOrderErr);
  std::fill(std::begin(image), std::end(image), 7);
  EXPECT_EQ(fallback::ippiSwapChannels_8u_C3IR(image, 3, {8, 1}, bad), ippStsChannelOrderErr);
  EXPECT_EQ(std::count(std::begin(image), std::end(image), 7), 24);  // nothing written
}

// Every order table with indices 0..2, repetitions included.
TEST(SwapChannels, SimdMatchesReference) {
  for (int code = 0; code < 27; ++code) {
    const int order[3] = {code / 9, code / 3 % 3, code % 3};
    SCOPED_TRACE(testing::Message() << order[0] << order[1] << order[2]);
    ExpectSameAsReference(kOneSource, {3, 3}, OneSource(fallback::ippiSwapChannels_8u_C3R, order),
                          OneSource(fallback::reference::ippiSwapChannels_8u_C3R, order));
    ExpectSameAsReference(kOneSource, {4, 4}, OneSource(fallback::ippiSwapChannels_8u_AC4R, order),
                          OneSource(fallback::reference::ippiSwapChannels_8u_AC4R, order));
    ExpectSameAsReference(kInPlace, {3, 3}, InPlace(fallback::ippiSwapChannels_8u_C3IR, order),
                          InPlace(fallback::reference::ippiSwapChannels_8u_C3IR, order));
  }
}

}  // namespace
}  // namespace qx::kerneltest
