// TGUID parsing, formatting, comparison and hashing.
#include <gtest/gtest.h>

#include <unordered_set>

#include "host/Guid.h"

namespace qx {
namespace {

// Parsing is checked by the compiler: the fields of the image stream's identifier.
constexpr TGUID kImageStream = TGUID::Parse("{877BD684-2669-4F1E-8BA8-E76EE35E5946}");
static_assert(kImageStream.D1 == 0x877BD684 && kImageStream.D2 == 0x2669 &&
              kImageStream.D3 == 0x4F1E && kImageStream.D4[0] == 0x8B &&
              kImageStream.D4[7] == 0x46);

TEST(GuidTest, FormatsUpperCaseWithBracesAcceptsOtherSpellingsAndRejectsMalformedText) {
  EXPECT_EQ(TGUID::Parse("00000001-0002-0003-0405-060708090a0b").ToString(),
            "{00000001-0002-0003-0405-060708090A0B}");
  for (const char* bad : {"", "{877BD684-2669-4F1E-8BA8-E76EE35E5946",  // missing brace
                          "877BD684-2669-4F1E-8BA8-E76EE35E594",        // short
                          "877BD68G-2669-4F1E-8BA8-E76EE35E5946",       // not hexadecimal
                          "877BD684-2669-4F1E-8BA8E-76EE35E5946"}) {    // dash misplaced
    EXPECT_FALSE(TGUID::TryParse(bad).has_value()) << bad;
    EXPECT_THROW(TGUID::Parse(bad), EConvertError) << bad;
  }
}

TEST(GuidTest, EqualityOrderAndHashGoByValue) {
  TGUID changed = kImageStream;
  changed.D4[7] ^= 1;
  EXPECT_TRUE(changed < kImageStream || kImageStream < changed);
  std::unordered_set<TGUID> set = {kImageStream, changed, TGUID::Parse(kImageStream.ToString())};
  EXPECT_EQ(set.size(), 2u);
}

}  // namespace
}  // namespace qx
