// The filter kernels on every instruction set: Sobel against a direct 2-D
// convolution of an explicitly bordered copy of the source with the published
// masks, Wiener against a per-pixel evaluation of its definition, whose window
// is gathered pixel by pixel from the source.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
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
constexpr Ipp16s kWordGuard = -12345;

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
            Canvas<Ipp16s> dst(width, size.height, 3, static_cast<int>(random() % 3), kWordGuard);
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
            ASSERT_TRUE(dst.AllEqual(kWordGuard, /*outsideOnly=*/true));
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
  Canvas<Ipp16s> dst(10, 3, 2, 0, kWordGuard);
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
  EXPECT_TRUE(dst.AllEqual(kWordGuard));
}

struct Layout {
  const char* name;
  int bytes;     // per pixel
  int channels;  // filtered, with a noise level each
  TIppiFilterWiener kernel;
};
const Layout kLayouts[] = {{"C1", 1, 1, &fallback::ippiFilterWiener_8u_C1R},
                           {"C3", 3, 3, &fallback::ippiFilterWiener_8u_C3R},
                           {"AC4", 4, 3, &fallback::ippiFilterWiener_8u_AC4R}};
constexpr std::uint8_t kByteGuard = 0xA5;

struct Window {
  IppiSize mask;
  IppiPoint anchor;
};

// Sum and sum of squares of channel c over the window of pixel (x, y).
std::pair<std::int64_t, std::int64_t> WindowSums(const Canvas<std::uint8_t>& src, int bytes, int c,
                                                 int x, int y, Window w) {
  std::int64_t sum = 0, square = 0;
  for (int wy = y - (w.mask.height - 1 - w.anchor.y); wy <= y + w.anchor.y; ++wy) {
    for (int wx = x - (w.mask.width - 1 - w.anchor.x); wx <= x + w.anchor.x; ++wx) {
      const int p = src.At(wx * bytes + c, wy);
      sum += p;
      square += p * p;
    }
  }
  return {sum, square};
}

// The filter's definition, for one sample.
std::uint8_t ExpectedSample(const Canvas<std::uint8_t>& src, int bytes, int c, int x, int y,
                            Window w, float noiseLevel) {
  const auto [s, q] = WindowSums(src, bytes, c, x, y, w);
  const float n = static_cast<float>(w.mask.width * w.mask.height);
  const float sum = static_cast<float>(s);
  const float mean = sum / n;
  const float noise = noiseLevel * 65025.0f * n;
  const float variance = std::max(static_cast<float>(q) - sum * sum / n, noise);
  const float factor = variance == 0.0f ? 0.0f : (variance - noise) / variance;
  const float out = mean + factor * (static_cast<float>(src.At(x * bytes + c, y)) - mean);
  return static_cast<std::uint8_t>(std::clamp(static_cast<int>(out), 0, 255));
}

// The average window variance of channel c on the 0..1 scale, in double.
double MeanWindowVariance(const Canvas<std::uint8_t>& src, int bytes, int c, IppiSize size,
                          Window w) {
  const double n = w.mask.width * w.mask.height;
  double total = 0;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      const auto [s, q] = WindowSums(src, bytes, c, x, y, w);
      total += q / n - (s / n) * (s / n);
    }
  }
  return total / (static_cast<double>(size.width) * size.height) / 65025.0;
}

// Levels below epsilon are estimated (the mean window variance) and written
// back before the image is filtered with them; the others are used as given.
// The scratch is exactly the reported size, misaligned (AC4 gets the size for
// three channels), and the AC4 destination's alpha must stay a guard byte.
TEST(Wiener, MatchesDefinitionForEveryLayoutWindowAndWidth) {
  const Window windows[] = {{{3, 3}, {1, 1}}, {{2, 2}, {0, 0}}, {{5, 3}, {4, 0}},
                            {{2, 5}, {1, 2}}, {{9, 2}, {0, 1}}, {{3, 7}, {2, 6}}};
  kerneltest::ForEachTarget([&windows] {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> level(0.0005f, 0.05f);
    for (const Layout& layout : kLayouts) {
      for (const Window& window : windows) {
        for (int width : kerneltest::DifferentialWidths()) {
          const IppiSize size{width, 1 + width % 4};
          SCOPED_TRACE(testing::Message() << layout.name << " " << width << "x" << size.height);
          Canvas<std::uint8_t> src(width * layout.bytes, size.height, 9 * layout.bytes,
                                   random() % 7);
          Canvas<std::uint8_t> dst(width * layout.bytes, size.height, 9, random() % 5, kByteGuard);
          src.FillRandom(random, 0, 255);
          int bytes = 0;
          ASSERT_EQ(
              fallback::ippiFilterWienerGetBufferSize(size, window.mask, layout.channels, &bytes),
              ippStsNoErr);
          const int offset = static_cast<int>(1 + random() % 15);
          std::vector<std::uint8_t> scratch(bytes + offset);
          float noise[3] = {level(random), level(random), level(random)};
          const int estimated = width % 3 == 0 ? width % layout.channels : -1;
          if (estimated >= 0) noise[estimated] = width % 2 == 0 ? 0.0f : 1e-8f;  // below epsilon
          const std::vector<float> given(noise, noise + 3);
          ASSERT_EQ(layout.kernel(src.Region(), src.StepBytes(), dst.Region(), dst.StepBytes(),
                                  size, window.mask, window.anchor, noise, scratch.data() + offset),
                    ippStsNoErr);
          for (int c = 0; c < layout.channels; ++c) {
            if (c == estimated) {
              EXPECT_NEAR(noise[c], MeanWindowVariance(src, layout.bytes, c, size, window),
                          1e-6 * noise[c]);
            } else {
              EXPECT_EQ(noise[c], given[c]);
            }
          }
          for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < width * layout.bytes; ++x) {
              const int c = x % layout.bytes;  // the AC4 alpha byte must keep its guard
              ASSERT_EQ(dst.At(x, y), c < layout.channels
                                          ? ExpectedSample(src, layout.bytes, c, x / layout.bytes,
                                                           y, window, noise[c])
                                          : kByteGuard)
                  << "at byte " << x << " of row " << y;
            }
          }
          ASSERT_TRUE(dst.AllEqual(kByteGuard, /*outsideOnly=*/true));
        }
      }
    }
  });
}

// A 1 x 1 region whose window, around it, is worked out by hand.
std::uint8_t FilterOnePixel(const std::vector<std::vector<int>>& around, Window window,
                            float level) {
  Canvas<std::uint8_t> src(1, 1, 2, 0, 255);
  for (int y = 0; y < static_cast<int>(around.size()); ++y)
    for (int x = 0; x < static_cast<int>(around[y].size()); ++x)
      src.At(x - 1, y - 1) = static_cast<std::uint8_t>(around[y][x]);
  Ipp8u out = 0;
  std::vector<Ipp8u> buffer(1024);
  EXPECT_EQ(fallback::ippiFilterWiener_8u_C1R(src.Region(), src.StepBytes(), &out, 1, {1, 1},
                                              window.mask, window.anchor, &level, buffer.data()),
            ippStsNoErr);
  return out;
}

TEST(Wiener, HandCheckedPixels) {
  const std::vector<std::vector<int>> spike = {{10, 10, 10}, {10, 100, 10}, {10, 10, 10}};
  const Window centred{{3, 3}, {1, 1}};
  // S = 180, Q = 10800, m = 20, v = 7200; n = 0.005 * 65025 * 9 = 2926.125:
  // 20 + (7200 - 2926.125) / 7200 * 80 = 67.49.
  EXPECT_EQ(FilterOnePixel(spike, centred, 0.005f), 67);
  // A flat window with no noise (v = n = 0): the mean, not a division by zero.
  EXPECT_EQ(FilterOnePixel(std::vector(3, std::vector<int>(3, 37)), centred, 0.0f), 37);
}

// Each call also carries a fault of every later check, so that its status
// shows which check comes first; none writes the destination or the levels
// (zero levels would be estimated and written back).
TEST(Wiener, ChecksAreMadeInOrderAndWriteNothing) {
  Canvas<std::uint8_t> src(48, 4, 8, 0, 9), dst(48, 4, 4, 0, kByteGuard);
  std::vector<Ipp8u> buffer(4096);
  float zeros[3] = {}, one[3] = {1.0f}, nan[3] = {std::numeric_limits<float>::quiet_NaN()};
  for (const Layout& layout : kLayouts) {
    SCOPED_TRACE(layout.name);
    const auto call = [&](const Ipp8u* source, int srcStep, IppiSize size, IppiSize mask,
                          IppiPoint anchor, float* levels, Ipp8u* scratch) {
      return layout.kernel(source, srcStep, dst.Region(), dst.StepBytes(), size, mask, anchor,
                           levels, scratch);
    };
    const Ipp8u* s = src.Region();
    EXPECT_EQ(call(nullptr, 0, {0, 4}, {1, 3}, {5, 1}, zeros, buffer.data()), ippStsNullPtrErr);
    EXPECT_EQ(call(s, 0, {0, 4}, {1, 3}, {5, 1}, nullptr, buffer.data()), ippStsNullPtrErr);
    EXPECT_EQ(call(s, 0, {0, 4}, {1, 3}, {5, 1}, zeros, nullptr), ippStsNullPtrErr);
    EXPECT_EQ(call(s, 0, {12, -1}, {1, 3}, {5, 1}, zeros, buffer.data()), ippStsSizeErr);
    EXPECT_EQ(call(s, 0, {12, 4}, {3, 1}, {5, 1}, zeros, buffer.data()), ippStsMaskSizeErr);
    // Window sums of squares beyond 31 bits.
    EXPECT_EQ(call(s, 0, {12, 4}, {182, 182}, {5, 1}, zeros, buffer.data()), ippStsMaskSizeErr);
    EXPECT_EQ(call(s, 0, {12, 4}, {3, 3}, {1, 3}, zeros, buffer.data()), ippStsAnchorErr);
    EXPECT_EQ(call(s, 0, {12, 4}, {3, 3}, {1, 1}, one, buffer.data()), ippStsStepErr);
    EXPECT_EQ(call(s, src.StepBytes(), {12, 4}, {3, 3}, {1, 1}, one, buffer.data()),
              ippStsNoiseRangeErr);
    EXPECT_EQ(call(s, src.StepBytes(), {12, 4}, {3, 3}, {1, 1}, nan, buffer.data()),
              ippStsNoiseRangeErr);
  }
  EXPECT_EQ(std::vector(zeros, zeros + 3), std::vector(3, 0.0f));
  EXPECT_TRUE(dst.AllEqual(kByteGuard));
}

TEST(Wiener, BufferSizeChecksInOrder) {
  int size = -1;
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({0, 5}, {1, 1}, 2, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({10, 0}, {1, 1}, 2, &size), ippStsSizeErr);
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({10, 5}, {1, 1}, 2, &size),
            ippStsNumChannelsErr);
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({10, 5}, {3, 1}, 4, &size), ippStsMaskSizeErr);
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({1 << 30, 5}, {3, 3}, 4, &size), ippStsSizeErr);
  EXPECT_EQ(size, -1);
}

}  // namespace
}  // namespace qx
