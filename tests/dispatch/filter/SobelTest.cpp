// Sobel kernels against a direct 2-D convolution of an explicitly bordered
// copy of the source with the published masks, on every instruction set.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <tuple>
#include <vector>

#include "FilterTestSupport.h"
#include "KernelTestSupport.h"
#include "dispatch/IppEntryForms.h"
#include "dispatch/filter/FilterFallbacks.h"

namespace qx {
namespace {

using filtertest::Canvas;
using filtertest::ExactScratch;

// The published masks, row by row from the top, applied as a convolution.
const std::vector<std::vector<int>> kHoriz3 = {{1, 2, 1}, {0, 0, 0}, {-1, -2, -1}};
const std::vector<std::vector<int>> kVert3 = {{-1, 0, 1}, {-2, 0, 2}, {-1, 0, 1}};
const std::vector<std::vector<int>> kHoriz5 = {{1, 4, 6, 4, 1},
                                               {2, 8, 12, 8, 2},
                                               {0, 0, 0, 0, 0},
                                               {-2, -8, -12, -8, -2},
                                               {-1, -4, -6, -4, -1}};
const std::vector<std::vector<int>> kVert5 = {{-1, -2, 0, 2, 1},
                                              {-4, -8, 0, 8, 4},
                                              {-6, -12, 0, 12, 6},
                                              {-4, -8, 0, 8, 4},
                                              {-1, -2, 0, 2, 1}};

struct Direction {
  const char* name;
  TIppiFilterSobelBorder kernel;
  TIppiFilterSobelGetBufferSize bufferSize;
  const std::vector<std::vector<int>>* masks[2];  // 3x3, 5x5
};
const Direction kHoriz{"Horiz",
                       &fallback::ippiFilterSobelHorizBorder_8u16s_C1R,
                       &fallback::ippiFilterSobelHorizGetBufferSize_8u16s_C1R,
                       {&kHoriz3, &kHoriz5}};
const Direction kVert{"Vert",
                      &fallback::ippiFilterSobelVertBorder_8u16s_C1R,
                      &fallback::ippiFilterSobelVertGetBufferSize_8u16s_C1R,
                      {&kVert3, &kVert5}};
constexpr Ipp16s kGuard = -12345;

// The source index that stands for index i of a row or column of n pixels,
// found by stepping back into the image the way each border type says.
int Resolve(int i, int n, IppiBorderType border) {
  while (i < 0 || i >= n) {
    switch (border) {
      case ippBorderRepl:
        i = i < 0 ? 0 : n - 1;
        break;
      case ippBorderWrap:
        i += i < 0 ? n : -n;
        break;
      case ippBorderMirror:  // dcb|abcd|cba
        i = n == 1 ? 0 : (i < 0 ? -i : 2 * (n - 1) - i);
        break;
      default:  // ippBorderMirrorR: cba|abcd|dcb
        i = i < 0 ? -1 - i : 2 * n - 1 - i;
        break;
    }
  }
  return i;
}

// Convolution of the bordered source with `mask` (its centre on the pixel).
std::vector<int> Expected(const Canvas<std::uint8_t>& src, IppiSize size,
                          const std::vector<std::vector<int>>& mask, IppiBorderType border,
                          int value) {
  const int r = static_cast<int>(mask.size()) / 2;
  const int bw = size.width + 2 * r, bh = size.height + 2 * r;
  std::vector<int> bordered(static_cast<std::size_t>(bw) * bh);
  for (int by = 0; by < bh; ++by) {
    for (int bx = 0; bx < bw; ++bx) {
      const int x = bx - r, y = by - r;
      const bool inside = x >= 0 && x < size.width && y >= 0 && y < size.height;
      bordered[by * bw + bx] =
          border == ippBorderConst && !inside
              ? value
              : src.At(Resolve(x, size.width, border), Resolve(y, size.height, border));
    }
  }
  std::vector<int> out(static_cast<std::size_t>(size.width) * size.height);
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      int sum = 0;
      for (int i = 0; i <= 2 * r; ++i)
        for (int j = 0; j <= 2 * r; ++j)  // rotated: mask (i, j) meets pixel (x + r - j, y + r - i)
          sum += mask[i][j] * bordered[(y + 2 * r - i) * bw + (x + 2 * r - j)];
      out[y * size.width + x] = sum;
    }
  }
  return out;
}

IppiMaskSize MaskCode(int index) { return index == 0 ? ippMskSize3x3 : ippMskSize5x5; }

// Runs one call on `src` into a guarded destination and compares everything.
void ExpectConvolution(const Direction& direction, int maskIndex, IppiBorderType border,
                       Canvas<std::uint8_t>& src, IppiSize size, std::mt19937& random) {
  const IppiMaskSize mask = MaskCode(maskIndex);
  const auto value = static_cast<Ipp8u>(random());
  Canvas<Ipp16s> dst(size.width, size.height, 3, static_cast<int>(random() % 3));
  dst.Fill(kGuard);
  int bytes = 0;
  ASSERT_EQ(direction.bufferSize(size, mask, &bytes), ippStsNoErr);
  ExactScratch scratch(bytes, static_cast<int>(random() % 32));
  ASSERT_EQ(direction.kernel(src.Region(), src.StepBytes(), dst.Region(), dst.StepBytes(), size,
                             mask, border, value, scratch.Data()),
            ippStsNoErr);
  const std::vector<int> expected = Expected(src, size, *direction.masks[maskIndex], border, value);
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width; ++x)
      ASSERT_EQ(dst.At(x, y), expected[y * size.width + x])
          << direction.name << " mask " << mask << " border " << border << " " << size.width << "x"
          << size.height << " at (" << x << ", " << y << ")";
  ASSERT_TRUE(dst.GuardsIntact(kGuard));
}

class SobelTest : public kerneltest::PerTarget {};

// Random bytes around the region would change the result if they were read.
// Every fifth source is exactly its region (step = width), so that the address
// sanitizer reports any read past its last row.
TEST_P(SobelTest, MatchesConvolutionForEveryBorderMaskAndWidth) {
  std::mt19937 random(5);
  std::vector<int> widths;
  for (int w = 1; w <= 70; ++w) widths.push_back(w);
  widths.insert(widths.end(), {129, 1001});
  for (const Direction* direction : {&kHoriz, &kVert}) {
    for (int maskIndex : {0, 1}) {
      for (int border = ippBorderConst; border <= ippBorderMirrorR; ++border) {
        for (int width : widths) {
          const IppiSize size{width, 1 + (width * 7 + border) % 6};
          const bool exact = width % 5 == 1;
          Canvas<std::uint8_t> src(width, size.height, exact ? 0 : 4,
                                   exact ? 0 : static_cast<int>(random() % 4));
          src.FillRandom(random, 0, 255);
          ExpectConvolution(*direction, maskIndex, static_cast<IppiBorderType>(border), src, size,
                            random);
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, SobelTest, ::testing::ValuesIn(kerneltest::KernelTargets()),
                         kerneltest::TargetName);

TEST(SobelHandChecked, SignsFollowThePublishedMasks) {
  // Rows brighten downwards by 10, columns darken to the right by 3.
  Canvas<std::uint8_t> src(8, 8, 0, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) src.At(x, y) = static_cast<std::uint8_t>(100 + 10 * y - 3 * x);
  std::vector<Ipp8u> buffer(4096);
  std::vector<Ipp16s> out(64);
  const auto interior = [&](const Direction& direction, IppiMaskSize mask) {
    EXPECT_EQ(direction.kernel(src.Region(), 8, out.data(), 16, {8, 8}, mask, ippBorderRepl, 0,
                               buffer.data()),
              ippStsNoErr);
    return out[3 * 8 + 4];
  };
  EXPECT_EQ(interior(kHoriz, ippMskSize3x3), 80);    // (20 below - above) * (1 + 2 + 1)
  EXPECT_EQ(interior(kVert, ippMskSize3x3), 24);     // (6 left - right) * 4
  EXPECT_EQ(interior(kHoriz, ippMskSize5x5), 1280);  // (2 * 20 + 40) * (1 + 4 + 6 + 4 + 1)
  EXPECT_EQ(interior(kVert, ippMskSize5x5), 384);    // (2 * 6 + 12) * 16
}

TEST(SobelChecks, AreMadeInOrderAndWriteNothing) {
  struct Args {
    const Ipp8u* src = nullptr;
    int srcStep = 10;
    Ipp16s* dst = nullptr;
    int dstStep = 20;
    IppiSize size{10, 3};
    int mask = ippMskSize3x3;
    int border = ippBorderRepl;
    Ipp8u* buffer = nullptr;
  };
  using Fault = void (*)(Args&);
  const std::vector<std::pair<IppStatus, std::vector<Fault>>> checks = {
      {ippStsNullPtrErr,
       {[](Args& a) { a.src = nullptr; }, [](Args& a) { a.dst = nullptr; },
        [](Args& a) { a.buffer = nullptr; }}},
      {ippStsSizeErr, {[](Args& a) { a.size.height = 0; }, [](Args& a) { a.size.width = -3; }}},
      {ippStsStepErr, {[](Args& a) { a.srcStep = 9; }}},
      {ippStsStepErr, {[](Args& a) { a.dstStep = 17; }}},  // odd as well
      {ippStsNotEvenStepErr, {[](Args& a) { a.dstStep |= 1; }}},
      {ippStsBadArgErr, {[](Args& a) { a.border = 5; }, [](Args& a) { a.border = -1; }}},
      {ippStsMaskSizeErr, {[](Args& a) { a.mask = 35; }, [](Args& a) { a.mask = 0; }}},
  };
  std::vector<Ipp8u> src(30, 7), buffer(4096);
  Canvas<Ipp16s> dst(10, 3, 2, 0);
  dst.Fill(kGuard);
  for (const Direction* direction : {&kHoriz, &kVert}) {
    for (std::size_t check = 0; check < checks.size(); ++check) {
      for (Fault fault : checks[check].second) {
        Args a{src.data()};
        a.dst = dst.Region();
        a.dstStep = dst.StepBytes();
        a.buffer = buffer.data();
        fault(a);
        for (std::size_t later = check + 1; later < checks.size(); ++later)
          checks[later].second.front()(a);
        EXPECT_EQ(direction->kernel(a.src, a.srcStep, a.dst, a.dstStep, a.size,
                                    static_cast<IppiMaskSize>(a.mask),
                                    static_cast<IppiBorderType>(a.border), 0, a.buffer),
                  checks[check].first)
            << direction->name << " check " << check;
      }
    }
    ASSERT_TRUE(dst.AllEqual(kGuard));

    int bytes = -1;
    EXPECT_EQ(direction->bufferSize({0, 0}, static_cast<IppiMaskSize>(1), nullptr),
              ippStsNullPtrErr);
    EXPECT_EQ(direction->bufferSize({5, 0}, static_cast<IppiMaskSize>(1), &bytes), ippStsSizeErr);
    EXPECT_EQ(direction->bufferSize({5, 5}, static_cast<IppiMaskSize>(53), &bytes),
              ippStsMaskSizeErr);
    EXPECT_EQ(bytes, -1);
    // The base size for a 100-pixel row (W16 = 112) is 2 * 112 * 21 + 4 * 39 + 64 (3x3) and
    // 2 * 112 * 25 + 4 * 45 + 64 (5x5), plus the passes' rows.
    ASSERT_EQ(direction->bufferSize({100, 4}, ippMskSize3x3, &bytes), ippStsNoErr);
    EXPECT_GE(bytes, 4924);
    ASSERT_EQ(direction->bufferSize({100, 4}, ippMskSize5x5, &bytes), ippStsNoErr);
    EXPECT_GE(bytes, 5844);
  }
}

}  // namespace
}  // namespace qx
