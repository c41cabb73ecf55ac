#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "dispatch/AlignedScratch.h"

namespace qx {
namespace {

// An impossible request fails without throwing.
TEST(AlignedScratch, EmptyOrImpossibleRequestsYieldNoBlock) {
  for (std::ptrdiff_t bytes : {std::ptrdiff_t{0}, std::ptrdiff_t{-1}, PTRDIFF_MAX - 16}) {
    AlignedScratch scratch(bytes);
    EXPECT_EQ(scratch.Data(), nullptr) << bytes;
    EXPECT_FALSE(scratch);
  }
}

TEST(AlignedScratch, BlocksAreAlignedAndWholeUsable) {
  // Under AddressSanitizer, filling each block end to end proves its size.
  for (std::ptrdiff_t bytes = 1; bytes <= 300; bytes += 7) {
    AlignedScratch scratch(bytes);
    ASSERT_TRUE(scratch) << bytes;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(scratch.Data()) % AlignedScratch::kAlignment, 0u);
    std::memset(scratch.Data(), 0xA5, static_cast<std::size_t>(bytes));
    EXPECT_EQ(scratch.Data()[bytes - 1], 0xA5);
  }
}

}  // namespace
}  // namespace qx
