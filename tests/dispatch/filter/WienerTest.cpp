// Wiener kernels against a per-pixel evaluation of the filter, whose window is
// gathered pixel by pixel from the source, on every instruction set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "KernelTestSupport.h"
#include "dispatch/IppEntryForms.h"
#include "dispatch/filter/FilterFallbacks.h"

namespace qx {
namespace {

using kerneltest::Canvas;

struct Layout {
  const char* name;
  int bytes;     // per pixel
  int channels;  // filtered, with a noise level each
  TIppiFilterWiener kernel;
};
const Layout kLayouts[] = {{"C1", 1, 1, &fallback::ippiFilterWiener_8u_C1R},
                           {"C3", 3, 3, &fallback::ippiFilterWiener_8u_C3R},
                           {"AC4", 4, 3, &fallback::ippiFilterWiener_8u_AC4R}};
constexpr std::uint8_t kGuard = 0xA5;

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
          Canvas<std::uint8_t> dst(width * layout.bytes, size.height, 9, random() % 5, kGuard);
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
                                          : kGuard)
                  << "at byte " << x << " of row " << y;
            }
          }
          ASSERT_TRUE(dst.AllEqual(kGuard, /*outsideOnly=*/true));
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
  Canvas<std::uint8_t> src(48, 4, 8, 0, 9), dst(48, 4, 4, 0, kGuard);
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
  EXPECT_TRUE(dst.AllEqual(kGuard));
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
