#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "dispatch/QXWienerNoiseLevels.h"
#include "host/Exceptions.h"
#include "host/Properties.h"

namespace qx {
namespace {

std::vector<float> Levels(TQXWienerNoiseLevels& levels) {
  return {levels.GetNoiseArray(), levels.GetNoiseArray() + 4};
}

// Every setter, and so every published property, keeps a level in 0 .. just
// below 1, where a Wiener entry accepts it.
TEST(WienerNoiseLevels, SettersKeepLevelsWhereAWienerEntryAcceptsThem) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  TQXWienerNoiseLevels levels;
  for (auto [given, kept] :
       {std::pair{0.25f, 0.25f}, std::pair{1.0f, 0.99999899f}, std::pair{infinity, 0.99999899f},
        std::pair{-0.5f, 0.0f}, std::pair{nan, 0.0f}}) {
    levels.SetBlue(given);
    levels.SetGreen(given);
    levels.SetRed(given);
    levels.SetAlpha(given);
    EXPECT_EQ(Levels(levels), std::vector<float>(4, kept)) << given;
  }
  SetProperty(levels, "Green", 2.0f);
  EXPECT_EQ(levels.GetGreen(), 0.99999899f);
}

// The noise array is blue, green, red, alpha; Assign takes the colours only.
TEST(WienerNoiseLevels, AssignCopiesTheColourLevelsAndKeepsAlpha) {
  TQXWienerNoiseLevels source, target;
  source.SetRed(0.5f);
  source.SetGreen(0.25f);
  source.SetBlue(0.125f);
  source.SetAlpha(0.75f);
  target.SetAlpha(0.0625f);
  target.Assign(source);
  EXPECT_EQ(Levels(target), (std::vector<float>{0.125f, 0.25f, 0.5f, 0.0625f}));
  class TUnrelated : public TPersistent {};
  TUnrelated unrelated;
  EXPECT_THROW(target.Assign(unrelated), EAssignError);
}

}  // namespace
}  // namespace qx
