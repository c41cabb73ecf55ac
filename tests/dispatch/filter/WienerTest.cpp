// Wiener kernels against a per-pixel evaluation of the filter, whose window is
// gathered pixel by pixel from the source, on every instruction set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "FilterTestSupport.h"
#include "KernelTestSupport.h"
#include "dispatch/IppEntryForms.h"
#include "dispatch/filter/FilterFallbacks.h"

namespace qx {
namespace {

using filtertest::Canvas;
using filtertest::ExactScratch;

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
  int Left() const { return mask.width - 1 - anchor.x; }
  int Top() const { return mask.height - 1 - anchor.y; }
};

// Sum and sum of squares of channel c over the window of pixel (x, y).
void WindowSums(const Canvas<std::uint8_t>& src, int bytes, int c, int x, int y, Window w,
                std::int64_t& sum, std::int64_t& square) {
  sum = square = 0;
  for (int wy = y - w.Top(); wy <= y + w.anchor.y; ++wy) {
    for (int wx = x - w.Left(); wx <= x + w.anchor.x; ++wx) {
      const int p = src.At(wx * bytes + c, wy);
      sum += p;
      square += p * p;
    }
  }
}

// The filter's definition, for one sample.
std::uint8_t ExpectedSample(const Canvas<std::uint8_t>& src, int bytes, int c, int x, int y,
                            Window w, float noiseLevel) {
  std::int64_t s = 0, q = 0;
  WindowSums(src, bytes, c, x, y, w, s, q);
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
      std::int64_t s = 0, q = 0;
      WindowSums(src, bytes, c, x, y, w, s, q);
      total += q / n - (s / n) * (s / n);
    }
  }
  return total / (static_cast<double>(size.width) * size.height) / 65025.0;
}

int BufferSize(IppiSize size, IppiSize mask, int channels) {
  int bytes = 0;
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize(size, mask, channels, &bytes), ippStsNoErr);
  return bytes;
}

// One call on a random source with guard bytes around the destination.
struct Case {
  Case(const Layout& layout, IppiSize size, Window window, std::mt19937& random)
      : layout(layout),
        size(size),
        window(window),
        src(size.width * layout.bytes, size.height, 9 * layout.bytes, random() % 7),
        dst(size.width * layout.bytes, size.height, 9, random() % 5),
        scratch(BufferSize(size, window.mask, layout.channels), 1 + random() % 15) {
    src.FillRandom(random, 0, 255);
    dst.Fill(kGuard);
  }
  IppStatus Run(float* noise) {
    return layout.kernel(src.Region(), src.StepBytes(), dst.Region(), dst.StepBytes(), size,
                         window.mask, window.anchor, noise, scratch.Data());
  }
  // Compares every filtered sample and checks that nothing else was written.
  void ExpectFiltered(const float* noise) const {
    for (int y = 0; y < size.height; ++y) {
      for (int x = 0; x < size.width; ++x) {
        for (int c = 0; c < layout.channels; ++c) {
          ASSERT_EQ(dst.At(x * layout.bytes + c, y),
                    ExpectedSample(src, layout.bytes, c, x, y, window, noise[c]))
              << layout.name << " " << size.width << "x" << size.height << " at (" << x << ", " << y
              << ") channel " << c;
        }
        if (layout.bytes == 4) {
          ASSERT_EQ(dst.At(x * 4 + 3, y), kGuard) << "alpha written";
        }
      }
    }
    ASSERT_TRUE(dst.GuardsIntact(kGuard));
  }

  const Layout& layout;
  IppiSize size;
  Window window;
  Canvas<std::uint8_t> src;
  Canvas<std::uint8_t> dst;
  // Exactly the reported size, misaligned: the address sanitizer reports any
  // use past it (AC4 is given the size reported for three channels).
  ExactScratch scratch;
};

using WienerTest = kerneltest::PerTarget;

// Levels below epsilon are estimated (the mean window variance) and written
// back before the image is filtered with them; the others are used as given.
TEST_P(WienerTest, MatchesDefinitionForEveryLayoutWindowAndWidth) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> level(0.0005f, 0.05f);
  const Window windows[] = {{{3, 3}, {1, 1}}, {{2, 2}, {0, 0}}, {{5, 3}, {4, 0}},
                            {{2, 5}, {1, 2}}, {{9, 2}, {0, 1}}, {{3, 7}, {2, 6}}};
  std::vector<int> widths;
  for (int w = 1; w <= 70; ++w) widths.push_back(w);
  widths.insert(widths.end(), {127, 258});
  for (const Layout& layout : kLayouts) {
    for (const Window& window : windows) {
      for (int width : widths) {
        Case c(layout, {width, 1 + width % 4}, window, random);
        float noise[3] = {level(random), level(random), level(random)};
        const int estimated = width % 3 == 0 ? width % layout.channels : -1;
        if (estimated >= 0) noise[estimated] = width % 2 == 0 ? 0.0f : 1e-8f;  // below epsilon
        const std::vector<float> given(noise, noise + 3);
        ASSERT_EQ(c.Run(noise), ippStsNoErr);
        for (int ch = 0; ch < layout.channels; ++ch) {
          if (ch == estimated) {
            EXPECT_NEAR(noise[ch], MeanWindowVariance(c.src, layout.bytes, ch, c.size, window),
                        1e-6 * noise[ch]);
          } else {
            EXPECT_EQ(noise[ch], given[ch]);
          }
        }
        c.ExpectFiltered(noise);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, WienerTest, ::testing::ValuesIn(kerneltest::KernelTargets()),
                         kerneltest::TargetName);

// A 1 x 1 region whose window, around it, is worked out by hand.
std::uint8_t FilterOnePixel(const std::vector<std::vector<int>>& around, Window window,
                            float level) {
  Canvas<std::uint8_t> src(1, 1, 2, 0);
  src.Fill(255);
  for (int y = 0; y < static_cast<int>(around.size()); ++y)
    for (int x = 0; x < static_cast<int>(around[y].size()); ++x)
      src.At(x - 1, y - 1) = static_cast<std::uint8_t>(around[y][x]);
  Ipp8u out = 0;
  std::vector<Ipp8u> buffer(1024);
  float noise[1] = {level};
  EXPECT_EQ(fallback::ippiFilterWiener_8u_C1R(src.Region(), src.StepBytes(), &out, 1, {1, 1},
                                              window.mask, window.anchor, noise, buffer.data()),
            ippStsNoErr);
  return out;
}

TEST(WienerHandChecked, PullsTowardsTheMeanAsTheNoiseApproachesTheVariance) {
  const std::vector<std::vector<int>> spike = {{10, 10, 10}, {10, 100, 10}, {10, 10, 10}};
  const Window centred{{3, 3}, {1, 1}};
  // S = 180, Q = 10800, m = 20, v = 7200; n = 0.005 * 65025 * 9 = 2926.125:
  // 20 + (7200 - 2926.125) / 7200 * 80 = 67.49.
  EXPECT_EQ(FilterOnePixel(spike, centred, 0.005f), 67);
  // Noise above the variance: the mean.
  EXPECT_EQ(FilterOnePixel(spike, centred, 0.02f), 20);
  // A flat window: the mean whatever the noise, estimated (0) or given.
  const std::vector<std::vector<int>> flat(3, std::vector<int>(3, 37));
  EXPECT_EQ(FilterOnePixel(flat, centred, 0.3f), 37);
  EXPECT_EQ(FilterOnePixel(flat, centred, 0.0f), 37);
}

TEST(WienerHandChecked, AnchorPlacesTheWindow) {
  // Rows -1..1, columns -1..1 around the pixel; the 255s lie outside an
  // anchor (0, 0) window, which covers (-1..0, -1..0).
  const std::vector<std::vector<int>> around = {{0, 0, 255}, {0, 200, 255}, {255, 255, 255}};
  // S = 200, Q = 40000, m = 50, v = 30000, n = 0.05 * 65025 * 4 = 13005:
  // 50 + 16995 / 30000 * 150 = 134.98.
  EXPECT_EQ(FilterOnePixel(around, {{2, 2}, {0, 0}}, 0.05f), 134);
  // Anchor (1, 1) covers (0..1, 0..1): 200 and three 255s, m = 241.25,
  // v = 9075, n = 13005 > v: the mean.
  EXPECT_EQ(FilterOnePixel(around, {{2, 2}, {1, 1}}, 0.05f), 241);
}

// The arguments of one call, valid until a fault is applied.
struct WienerArgs {
  const Ipp8u* src;
  int srcStep;
  Ipp8u* dst;
  int dstStep;
  IppiSize size{12, 4};
  IppiSize mask{3, 3};
  IppiPoint anchor{1, 1};
  float levels[3] = {0.0f, 0.0f, 0.0f};
  bool nullNoise = false;
  Ipp8u* buffer = nullptr;
};
using WienerFault = void (*)(WienerArgs&);

// The checks in their order, each with the faults it must catch.
const std::vector<std::pair<IppStatus, std::vector<WienerFault>>> kWienerChecks = {
    {ippStsNullPtrErr,
     {[](WienerArgs& a) { a.src = nullptr; }, [](WienerArgs& a) { a.dst = nullptr; },
      [](WienerArgs& a) { a.nullNoise = true; }, [](WienerArgs& a) { a.buffer = nullptr; }}},
    {ippStsSizeErr,
     {[](WienerArgs& a) { a.size.width = 0; }, [](WienerArgs& a) { a.size.height = -1; }}},
    {ippStsMaskSizeErr,
     {[](WienerArgs& a) { a.mask.width = 1; }, [](WienerArgs& a) { a.mask.height = 1; },
      [](WienerArgs& a) {
        a.mask = {182, 182};
      }}},
    {ippStsAnchorErr,
     {[](WienerArgs& a) { a.anchor.x = 3; }, [](WienerArgs& a) { a.anchor.y = -1; }}},
    {ippStsStepErr, {[](WienerArgs& a) { a.srcStep = 0; }, [](WienerArgs& a) { a.dstStep = -12; }}},
    {ippStsNoiseRangeErr,
     {[](WienerArgs& a) { a.levels[0] = 1.0f; }, [](WienerArgs& a) { a.levels[0] = -1e-9f; },
      [](WienerArgs& a) { a.levels[0] = std::numeric_limits<float>::quiet_NaN(); }}},
};

TEST(WienerChecks, AreMadeInOrderAndWriteNothing) {
  Canvas<std::uint8_t> src(48, 4, 8, 0), dst(48, 4, 4, 0);
  src.Fill(9);
  dst.Fill(kGuard);
  std::vector<Ipp8u> buffer(4096);
  for (const Layout& layout : kLayouts) {
    for (std::size_t check = 0; check < kWienerChecks.size(); ++check) {
      for (WienerFault fault : kWienerChecks[check].second) {
        WienerArgs a{src.Region(), src.StepBytes(), dst.Region(), dst.StepBytes()};
        a.buffer = buffer.data();
        fault(a);  // combined with a fault of every later check
        for (std::size_t later = check + 1; later < kWienerChecks.size(); ++later)
          kWienerChecks[later].second.front()(a);
        const std::vector<float> before(a.levels, a.levels + 3);
        EXPECT_EQ(layout.kernel(a.src, a.srcStep, a.dst, a.dstStep, a.size, a.mask, a.anchor,
                                a.nullNoise ? nullptr : a.levels, a.buffer),
                  kWienerChecks[check].first)
            << layout.name << " check " << check;
        EXPECT_EQ(0, std::memcmp(before.data(), a.levels, sizeof a.levels));
      }
    }
    ASSERT_TRUE(dst.AllEqual(kGuard)) << layout.name;
  }
  // Only the used levels are checked: the third is not C1's.
  float levels[3] = {0.1f, 7.0f, 7.0f};
  EXPECT_EQ(fallback::ippiFilterWiener_8u_C1R(src.Region(), src.StepBytes(), dst.Region(),
                                              dst.StepBytes(), {48, 4}, {3, 3}, {1, 1}, levels,
                                              buffer.data()),
            ippStsNoErr);
  levels[0] = 0.999999f;
  EXPECT_EQ(fallback::ippiFilterWiener_8u_AC4R(src.Region(), src.StepBytes(), dst.Region(),
                                               dst.StepBytes(), {12, 4}, {3, 3}, {1, 1}, levels,
                                               buffer.data()),
            ippStsNoiseRangeErr);
}

TEST(WienerBufferSize, FollowsTheFormulaAndChecksInOrder) {
  int size = -1;
  // k = 10 + 3 + 6 = 19: 64 * 4 + 15.
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({10, 5}, {3, 3}, 1, &size), ippStsNoErr);
  EXPECT_EQ(size, 271);
  // k = 10 * 3 + 6 = 36: 64 * 9 + 15; k = 46: 64 * 11 + 15.
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({10, 5}, {7, 2}, 3, &size), ippStsNoErr);
  EXPECT_EQ(size, 591);
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({10, 1}, {2, 9}, 4, &size), ippStsNoErr);
  EXPECT_EQ(size, 719);

  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({0, 5}, {1, 1}, 2, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({10, 0}, {1, 1}, 2, &size), ippStsSizeErr);
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({10, 5}, {1, 1}, 2, &size),
            ippStsNumChannelsErr);
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({10, 5}, {3, 1}, 4, &size), ippStsMaskSizeErr);
  EXPECT_EQ(fallback::ippiFilterWienerGetBufferSize({1 << 30, 5}, {3, 3}, 4, &size), ippStsSizeErr);
  EXPECT_EQ(size, 719);  // untouched by the failures
}

}  // namespace
}  // namespace qx
