// TQXBasicBitmap: construction, pixels, format and size changes, and the
// exchange of rows with blocks of memory.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "host/Bitmap.h"
#include "packages/zenthic/ZTBasicBitmap.h"

namespace qx::test {
namespace {

// A colour reference that differs from pixel to pixel and channel to channel.
std::uint32_t PatternColor(int x, int y) {
  const auto red = static_cast<std::uint32_t>(17 * x + 3 * y) & 0xFF;
  const auto green = static_cast<std::uint32_t>(5 * x + 41 * y + 9) & 0xFF;
  const auto blue = static_cast<std::uint32_t>(251 - 13 * x - 7 * y) & 0xFF;
  return red | green << 8 | blue << 16;
}

std::vector<std::uint8_t> Bytes(const std::uint8_t* first, std::size_t count) {
  return {first, first + count};
}

TQXBasicBitmap PatternBitmap(int width, int height, TPixelFormat format) {
  TQXBasicBitmap bitmap(width, height, format);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bitmap.SetPixel(x, y, PatternColor(x, y));
      bitmap.SetAlpha(x, y, static_cast<std::uint8_t>(x * 31 + y));
    }
  }
  return bitmap;
}

TEST(QXBasicBitmap, ConstructionGivesSizeFormatAndContents) {
  const TQXBasicBitmap black(5, 2);
  EXPECT_EQ(black.GetPixelFormat(), pf24bit);
  EXPECT_EQ(Bytes(black.ScanLine(1), black.GetRowSize()), std::vector<std::uint8_t>(15, 0));

  EXPECT_TRUE(TQXBasicBitmap(-3, 4).Empty());  // negative sizes count as 0
  // Sizes whose bytes cannot be addressed are refused before anything is allocated.
  EXPECT_THROW(TQXBasicBitmap(INT_MAX, INT_MAX, pf32bit), EInvalidGraphic);
  EXPECT_THROW(TQXBasicBitmap(INT_MAX / 2, 1, pf32bit), EInvalidGraphic);

  // Filled: 32-bit, every pixel blue, green, red, alpha in memory.
  const TQXBasicBitmap filled(3, 2, 0x123456, 0x78);  // red 0x56, blue 0x12
  EXPECT_EQ(filled.GetRowSize(), 12u);                // 32 bits
  EXPECT_EQ(Bytes(filled.ScanLine(1) + 8, 4), (std::vector<std::uint8_t>{0x12, 0x34, 0x56, 0x78}));
}

TEST(QXBasicBitmap, PixelsAreStoredBlueGreenRedAndCheckedAgainstTheEdges) {
  TQXBasicBitmap bitmap(3, 2, pf32bit);
  bitmap.SetAlpha(2, 1, 9);
  bitmap.SetPixel(2, 1, 0xAABBCC);  // red 0xCC, blue 0xAA; alpha stays
  EXPECT_EQ(Bytes(bitmap.ScanLine(1) + 8, 4), (std::vector<std::uint8_t>{0xAA, 0xBB, 0xCC, 9}));
  EXPECT_EQ(bitmap.GetPixel(2, 1), 0xAABBCCu);

  const TQXBasicBitmap before = bitmap;
  bitmap.SetPixel(3, 0, 0xFFFFFF);
  bitmap.SetAlpha(0, 2, 1);
  EXPECT_EQ(bitmap, before);
  EXPECT_EQ(bitmap.GetPixel(0, -1), 0u);

  TQXBasicBitmap rgb(1, 1);
  rgb.SetAlpha(0, 0, 7);  // no alpha to set in 24 bits
  EXPECT_EQ(rgb.GetAlpha(0, 0), 255);
  EXPECT_EQ(rgb, TQXBasicBitmap(1, 1));
}

// The host bitmap's conversions between depths are its own suite's.
TEST(QXBasicBitmap, FromAHostBitmapKeepsColourAndAlpha) {
  TBitmap withAlpha(5, 2, pf32bit);
  withAlpha.SetPixelColor(4, 1, 0x010203);
  withAlpha.ScanLine(1)[4 * 4 + 3] = 0x44;
  const TQXBasicBitmap alpha(withAlpha);
  EXPECT_EQ(alpha.GetPixelFormat(), pf32bit);
  EXPECT_EQ(alpha.GetPixel(4, 1), 0x010203u);
  EXPECT_EQ(alpha.GetAlpha(4, 1), 0x44);
}

TEST(QXBasicBitmap, CopiesOwnTheirPixelsAndChangesKeepColoursAndTheTopLeft) {
  const TQXBasicBitmap original = PatternBitmap(5, 3, pf24bit);
  TQXBasicBitmap bitmap = original;
  bitmap.SetPixelFormat(pf32bit);
  EXPECT_EQ(original.GetPixelFormat(), pf24bit);
  EXPECT_EQ(bitmap.GetRowSize(), 20u);
  EXPECT_EQ(bitmap.GetPixel(4, 2), PatternColor(4, 2));
  EXPECT_EQ(bitmap.GetAlpha(4, 2), 255);

  bitmap.SetAlpha(1, 1, 3);
  bitmap.SetPixelFormat(pf4bit);  // held as 24 bits: alpha goes
  EXPECT_EQ(bitmap.GetPixelFormat(), pf24bit);
  EXPECT_EQ(bitmap, original);

  bitmap.SetSize(3, 4);
  EXPECT_EQ(bitmap.GetPixel(2, 2), PatternColor(2, 2));
  EXPECT_EQ(bitmap.GetPixel(0, 3), 0u);
}

TEST(QXBasicBitmap, RowsGoToAndComeFromBlocksWithAnyStep) {
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    const TQXBasicBitmap source = PatternBitmap(7, 3, format);
    const std::size_t pixelBytes = format == pf32bit ? 4 : 3, step = 7 * pixelBytes + 5;
    std::vector<std::uint8_t> block(2 * step + 7 * pixelBytes, 0xCD);
    ASSERT_TRUE(source.ToBuffer(block.data(), step));
    // Pixel (6, 2): blue 0x9F, green 0x79, red 0x6C, alpha 188.
    std::vector<std::uint8_t> last{0x9F, 0x79, 0x6C, 188};
    last.resize(pixelBytes);
    EXPECT_EQ(Bytes(&block[2 * step + 6 * pixelBytes], pixelBytes), last);
    // The bytes between rows are not the bitmap's.
    for (std::size_t gap = 7 * pixelBytes; gap < step; ++gap) {
      EXPECT_EQ(block[gap], 0xCD);
      EXPECT_EQ(block[step + gap], 0xCD);
    }

    TQXBasicBitmap target(7, 3, format);
    ASSERT_TRUE(target.FromBuffer(block.data(), step));
    EXPECT_EQ(target, source);
  }
}

TEST(QXBasicBitmap, BlockExchangeRefusesNullBlocksAndShortSteps) {
  TQXBasicBitmap bitmap = PatternBitmap(5, 2, pf24bit);
  const TQXBasicBitmap before = bitmap;
  std::vector<std::uint8_t> block(40, 0xCD);
  EXPECT_FALSE(bitmap.ToBuffer(block.data(), 14));
  EXPECT_FALSE(bitmap.ToBuffer(nullptr, 15));
  EXPECT_EQ(block, std::vector<std::uint8_t>(40, 0xCD));
  EXPECT_FALSE(bitmap.FromBuffer(block.data(), 14));
  EXPECT_EQ(bitmap, before);

  // Rows of no bytes: nothing to move, and no step is too short.
  std::uint8_t untouched = 0xCD;
  EXPECT_TRUE(TQXBasicBitmap(0, 3).ToBuffer(&untouched, 0));
  EXPECT_EQ(untouched, 0xCD);
}

}  // namespace
}  // namespace qx::test
