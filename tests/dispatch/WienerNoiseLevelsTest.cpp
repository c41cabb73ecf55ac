#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "dispatch/QXBasicDispatcher.h"
#include "dispatch/QXWienerNoiseLevels.h"
#include "host/Exceptions.h"
#include "host/Properties.h"

namespace qx {
namespace {

// Every setter keeps a level in 0 .. just below 1, where a Wiener entry accepts it.
TEST(WienerNoiseLevels, SettersKeepLevelsWhereAWienerEntryAcceptsThem) {
  const float belowOne = std::bit_cast<float>(std::uint32_t{0x3F7FFFEF});
  const std::pair<float, float> cases[] = {{0.25f, 0.25f},
                                           {1.0f, belowOne},
                                           {std::numeric_limits<float>::infinity(), belowOne},
                                           {-0.5f, 0.0f},
                                           {std::numeric_limits<float>::quiet_NaN(), 0.0f}};
  for (auto [given, kept] : cases) {
    TQXWienerNoiseLevels levels;
    levels.SetBlue(given);
    levels.SetGreen(given);
    levels.SetRed(given);
    levels.SetAlpha(given);
    for (float level : {levels.GetBlue(), levels.GetGreen(), levels.GetRed(), levels.GetAlpha()})
      EXPECT_EQ(level, kept) << given;
  }
}

TEST(WienerNoiseLevels, TheNoiseArrayIsBlueGreenRedAlpha) {
  TQXWienerNoiseLevels levels;
  levels.SetBlue(0.1f);
  levels.SetGreen(0.2f);
  levels.SetRed(0.3f);
  levels.SetAlpha(0.4f);
  const Ipp32f* array = levels.GetNoiseArray();
  EXPECT_EQ(std::vector<float>(array, array + 4), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));
}

TEST(WienerNoiseLevels, AWienerEntryWritesItsEstimatesIntoTheLevels) {
  // A noisy 3-channel image and zero levels: the entry estimates each channel's
  // noise and stores it back; a flat channel has no noise to estimate.
  constexpr int kSide = 12;
  std::vector<Ipp8u> source(kSide * kSide * 3), destination(source.size());
  for (std::size_t i = 0; i < source.size(); ++i) {
    source[i] = i % 3 == 0 ? 100 : static_cast<Ipp8u>((i * 37) % 251);
  }
  TQXWienerNoiseLevels levels;
  int bufferSize = 0;
  ASSERT_EQ(ippiFilterWienerGetBufferSize({kSide - 2, kSide - 2}, {3, 3}, 3, &bufferSize), 0);
  std::vector<Ipp8u> scratch(static_cast<std::size_t>(bufferSize));
  const IppStatus status = ippiFilterWiener_8u_C3R(
      source.data() + kSide * 3 + 3, kSide * 3, destination.data(), kSide * 3,
      {kSide - 2, kSide - 2}, {3, 3}, {1, 1}, levels.GetNoiseArray(), scratch.data());
  ASSERT_EQ(status, ippStsNoErr);
  EXPECT_EQ(levels.GetBlue(), 0.0f);
  EXPECT_GT(levels.GetGreen(), 0.0f);
  EXPECT_GT(levels.GetRed(), 0.0f);
}

TEST(WienerNoiseLevels, AssignCopiesTheColourLevelsAndKeepsAlpha) {
  TQXWienerNoiseLevels source, target;
  source.SetRed(0.5f);
  source.SetGreen(0.25f);
  source.SetBlue(0.125f);
  source.SetAlpha(0.75f);
  target.SetAlpha(0.0625f);
  target.Assign(source);
  EXPECT_EQ(target.GetRed(), 0.5f);
  EXPECT_EQ(target.GetGreen(), 0.25f);
  EXPECT_EQ(target.GetBlue(), 0.125f);
  EXPECT_EQ(target.GetAlpha(), 0.0625f);

  class TUnrelated : public TPersistent {};
  TUnrelated unrelated;
  EXPECT_THROW(target.Assign(unrelated), EAssignError);
}

TEST(WienerNoiseLevels, PublishedPropertiesGoThroughTheSetters) {
  TQXWienerNoiseLevels levels;
  SetProperty(levels, "Green", 2.0f);
  EXPECT_EQ(GetProperty<float>(levels, "Green"), TQXWienerNoiseLevels::kMaxLevel);
  EXPECT_EQ(levels.ClassInfo().GetProperties().size(), 4u);
}

}  // namespace
}  // namespace qx
