// Sobel kernels against a direct 2-D convolution of an explicitly bordered
// copy of the source with the published masks, on every instruction set.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <tuple>
#include <vector>

#include "KernelTestSupport.h"
#include "dispatch/IppEntryForms.h"
#include "dispatch/filter/FilterFallbacks.h"

namespace qx {
namespace {

using kerneltest::Canvas;
using Mask = std::vector<std::vector<int>>;

struct Direction {
  const char* name;
  TIppiFilterSobelBorder kernel;
  TIppiFilterSobelGetBufferSize bufferSize;
  bool vertical;
};
const Direction kDirections[] = {{"Horiz", &fallback::ippiFilterSobelHorizBorder_8u16s_C1R,
                                  &fallback::ippiFilterSobelHorizGetBufferSize_8u16s_C1R, false},
                                 {"Vert", &fallback::ippiFilterSobelVertBorder_8u16s_C1R,
                                  &fallback::ippiFilterSobelVertGetBufferSize_8u16s_C1R, true}};
constexpr Ipp16s kGuard = -12345;

// The published masks, row by row from the top: the derivative down the
// columns times the smoothing along the rows (Horiz, rows 1 2 1 / 0 0 0 /
// -1 -2 -1), or the smoothing down the columns times minus the derivative
// along the rows (Vert, rows -1 0 1 / -2 0 2 / -1 0 1).
Mask PublishedMask(bool vertical, IppiMaskSize size) {
  const bool small = size == ippMskSize3x3;
  const std::vector<int> smooth = small ? std::vector{1, 2, 1} : std::vector{1, 4, 6, 4, 1};
  const std::vector<int> derivative = small ? std::vector{1, 0, -1} : std::vector{1, 2, 0, -2, -1};
  Mask mask(smooth.size(), std::vector<int>(smooth.size()));
  for (std::size_t i = 0; i < smooth.size(); ++i)
    for (std::size_t j = 0; j < smooth.size(); ++j)
      mask[i][j] = vertical ? -smooth[i] * derivative[j] : derivative[i] * smooth[j];
  return mask;
}

// The source index that stands for index i of a row or column of n pixels,
// found by stepping back into the image the way each border type says.
int Resolve(int i, int n, IppiBorderType border) {
  while (i < 0 || i >= n) {
    if (border == ippBorderRepl || n == 1) {
      i = i < 0 ? 0 : n - 1;
    } else if (border == ippBorderWrap) {
      i += i < 0 ? n : -n;
    } else if (border == ippBorderMirror) {  // dcb|abcd|cba
      i = i < 0 ? -i : 2 * (n - 1) - i;
    } else {  // ippBorderMirrorR: cba|abcd|dcb
      i = i < 0 ? -1 - i : 2 * n - 1 - i;
    }
  }
  return i;
}

// Convolution of the source, bordered as `border` says, with `mask` (its
// centre on the pixel).
std::vector<int> Expected(const Canvas<std::uint8_t>& src, IppiSize size, const Mask& mask,
                          IppiBorderType border, int value) {
  const auto sample = [&](int x, int y) {
    const bool inside = x >= 0 && x < size.width && y >= 0 && y < size.height;
    if (border == ippBorderConst && !inside) return value;
    return int{src.At(Resolve(x, size.width, border), Resolve(y, size.height, border))};
  };
  const int r = static_cast<int>(mask.size()) / 2;
  std::vector<int> out;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      int sum = 0;
      for (int i = 0; i <= 2 * r; ++i)
        for (int j = 0; j <= 2 * r; ++j) sum += mask[i][j] * sample(x + r - j, y + r - i);
      out.push_back(sum);
    }
  }
  return out;
}

// Random bytes around the source region would change the result if they were
// read; every fifth source is exactly its region (step = width), so that the
// address sanitizer reports any read past its last row. The scratch is exactly
// the reported size, misaligned.
TEST(Sobel, MatchesConvolutionForEveryBorderMaskAndWidth) {
  kerneltest::ForEachTarget([] {
    std::mt19937 random(5);
    for (const Direction& direction : kDirections) {
      for (IppiMaskSize mask : {ippMskSize3x3, ippMskSize5x5}) {
        for (int b = ippBorderConst; b <= ippBorderMirrorR; ++b) {
          const auto border = static_cast<IppiBorderType>(b);
          for (int width : kerneltest::DifferentialWidths()) {
            const IppiSize size{width, 1 + (width * 7 + b) % 6};
            const bool exact = width % 5 == 1;
            Canvas<std::uint8_t> src(width, size.height, exact ? 0 : 4,
                                     exact ? 0 : static_cast<int>(random() % 4));
            src.FillRandom(random, 0, 255);
            Canvas<Ipp16s> dst(width, size.height, 3, static_cast<int>(random() % 3), kGuard);
            const auto value = static_cast<Ipp8u>(random());
            int bytes = 0;
            ASSERT_EQ(direction.bufferSize(size, mask, &bytes), ippStsNoErr);
            // Exactly the reported size, misaligned: the address sanitizer reports any use beyond.
            const int offset = static_cast<int>(random() % 32);
            std::vector<std::uint8_t> scratch(bytes + offset);
            ASSERT_EQ(direction.kernel(src.Region(), src.StepBytes(), dst.Region(), dst.StepBytes(),
                                       size, mask, border, value, scratch.data() + offset),
                      ippStsNoErr);
            const std::vector<int> expected =
                Expected(src, size, PublishedMask(direction.vertical, mask), border, value);
            std::vector<int> actual;
            for (int y = 0; y < size.height; ++y)
              for (int x = 0; x < width; ++x) actual.push_back(dst.At(x, y));
            ASSERT_EQ(actual, expected) << direction.name << " mask " << mask << " border " << b
                                        << " " << width << "x" << size.height;
            ASSERT_TRUE(dst.AllEqual(kGuard, /*outsideOnly=*/true));
          }
        }
      }
    }
  });
}

// Rows brighten downwards by 10 and columns darken to the right by 3: the
// masks' signs (a convolution, not a correlation) make both derivatives
// positive, (20 below - above) * (1 + 2 + 1) and (2 * 6 + 12 left - right) * 16.
TEST(Sobel, SignsFollowThePublishedMasks) {
  Canvas<std::uint8_t> src(8, 8, 0, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) src.At(x, y) = static_cast<std::uint8_t>(100 + 10 * y - 3 * x);
  std::vector<Ipp8u> buffer(4096);
  std::vector<Ipp16s> out(64);
  for (auto [direction, mask, expected] : {std::tuple{kDirections[0], ippMskSize3x3, 80},
                                           std::tuple{kDirections[1], ippMskSize5x5, 384}}) {
    ASSERT_EQ(direction.kernel(src.Region(), 8, out.data(), 16, {8, 8}, mask, ippBorderRepl, 0,
                               buffer.data()),
              ippStsNoErr);
    EXPECT_EQ(out[3 * 8 + 4], expected) << direction.name;
  }
}

// Each call also carries a fault of every later check, so that its status
// shows which check comes first; none writes anything.
TEST(Sobel, ChecksAreMadeInOrderAndWriteNothing) {
  const std::vector<Ipp8u> src(30, 7);
  std::vector<Ipp8u> buffer(4096);
  Canvas<Ipp16s> dst(10, 3, 2, 0, kGuard);
  Ipp16s* out = dst.Region();
  const auto mask = static_cast<IppiMaskSize>(35);
  const auto border = static_cast<IppiBorderType>(5);
  for (const Direction& d : kDirections) {
    SCOPED_TRACE(d.name);
    EXPECT_EQ(d.kernel(nullptr, 9, out, 17, {0, 3}, mask, border, 0, buffer.data()),
              ippStsNullPtrErr);
    EXPECT_EQ(d.kernel(src.data(), 9, out, 17, {10, 0}, mask, border, 0, nullptr),
              ippStsNullPtrErr);
    EXPECT_EQ(d.kernel(src.data(), 9, out, 17, {-3, 3}, mask, border, 0, buffer.data()),
              ippStsSizeErr);
    EXPECT_EQ(d.kernel(src.data(), 9, out, 20, {10, 3}, mask, border, 0, buffer.data()),
              ippStsStepErr);  // steps of at least a row
    EXPECT_EQ(d.kernel(src.data(), 10, out, 19, {10, 3}, mask, border, 0, buffer.data()),
              ippStsStepErr);
    EXPECT_EQ(d.kernel(src.data(), 10, out, 21, {10, 3}, mask, border, 0, buffer.data()),
              ippStsNotEvenStepErr);
    EXPECT_EQ(d.kernel(src.data(), 10, out, 20, {10, 3}, mask, border, 0, buffer.data()),
              ippStsBadArgErr);
    EXPECT_EQ(d.kernel(src.data(), 10, out, 20, {10, 3}, mask, ippBorderMirror, 0, buffer.data()),
              ippStsMaskSizeErr);
    int bytes = -1;
    EXPECT_EQ(d.bufferSize({0, 0}, ippMskSize3x3, nullptr), ippStsNullPtrErr);
    EXPECT_EQ(d.bufferSize({5, 0}, mask, &bytes), ippStsSizeErr);
    EXPECT_EQ(d.bufferSize({5, 5}, mask, &bytes), ippStsMaskSizeErr);
    EXPECT_EQ(bytes, -1);
  }
  EXPECT_TRUE(dst.AllEqual(kGuard));
}

}  // namespace
}  // namespace qx
