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
              kImageStream.D4[1] == 0xA8 && kImageStream.D4[7] == 0x46);

TEST(GuidTest, FormatsUpperCaseWithBracesAndAcceptsOtherSpellings) {
  EXPECT_EQ(kImageStream.ToString(), "{877BD684-2669-4F1E-8BA8-E76EE35E5946}");
  EXPECT_EQ(TGUID::Parse("877bd684-2669-4f1e-8ba8-e76ee35e5946"), kImageStream);
  EXPECT_EQ(TGUID{}.ToString(), "{00000000-0000-0000-0000-000000000000}");
  EXPECT_TRUE(TGUID{}.IsNull());
  EXPECT_FALSE(kImageStream.IsNull());
  const TGUID leadingZeros = TGUID::Parse("{00000001-0002-0003-0405-060708090A0B}");
  EXPECT_EQ(leadingZeros.ToString(), "{00000001-0002-0003-0405-060708090A0B}");
}

TEST(GuidTest, RejectsMalformedText) {
  for (const char* bad : {"", "{877BD684-2669-4F1E-8BA8-E76EE35E5946",  // missing brace
                          "877BD684-2669-4F1E-8BA8-E76EE35E594",        // short
                          "{877BD684-2669-4F1E-8BA8-E76EE35E59466}",    // long
                          "877BD684+2669-4F1E-8BA8-E76EE35E5946",       // wrong separator
                          "877BD68G-2669-4F1E-8BA8-E76EE35E5946",       // not hexadecimal
                          "877BD684-2669-4F1E-8BA8E-76EE35E5946",       // dash misplaced
                          "(877BD684-2669-4F1E-8BA8-E76EE35E5946)"}) {
    EXPECT_FALSE(TGUID::TryParse(bad).has_value()) << bad;
    EXPECT_THROW(TGUID::Parse(bad), EConvertError) << bad;
  }
}

TEST(GuidTest, EqualityOrderAndHashGoByValue) {
  TGUID changed = kImageStream;
  changed.D4[7] ^= 1;
  EXPECT_NE(changed, kImageStream);
  EXPECT_TRUE(changed < kImageStream || kImageStream < changed);
  std::unordered_set<TGUID> set = {kImageStream, changed, TGUID::Parse(kImageStream.ToString())};
  EXPECT_EQ(set.size(), 2u);
  EXPECT_EQ(set.count(kImageStream), 1u);
}

}  // namespace
}  // namespace qx
