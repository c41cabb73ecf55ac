// TBitmap in memory: sizes, formats, pixels and the top-row-first DIB copy.
#include <gtest/gtest.h>

#include <vector>

#include "host/Bitmap.h"

namespace qx {
namespace {

TEST(Bitmap, NewBitmapsAreZeroedWithPaddedScanLinesAndTheirDepthsDefaultPalette) {
  EXPECT_TRUE(TBitmap(0, 4).Empty());
  TBitmap bitmap(5, 2, pf24bit);
  EXPECT_EQ(bitmap.GetScanLineSize(), 16);  // 15 bytes padded to 16
  EXPECT_EQ(bitmap.GetPixelColor(4, 1), 0u);
  EXPECT_TRUE(bitmap.GetPalette().empty());
  EXPECT_THROW(bitmap.SetPalette({}), EInvalidGraphic);
  EXPECT_EQ(TBitmap(1, 1, pf4bit).GetPalette().size(), 16u);
  const TBitmap gray(1, 1, pf8bit);
  ASSERT_EQ(gray.GetPalette().size(), 256u);
  EXPECT_EQ(gray.GetPalette()[77], (TRGBQuad{77, 77, 77, 0}));
  TBitmap indexed(1, 1, pf4bit);
  EXPECT_THROW(indexed.SetPalette(std::vector<TRGBQuad>(17)), EInvalidGraphic);
}

TEST(Bitmap, ResizingKeepsTheTopLeftAreaAndZeroesTheRest) {
  TBitmap bitmap(3, 3, pf4bit);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) bitmap.SetPixelColor(x, y, 0xFFFFFF);
  }
  bitmap.SetSize(2, 4);  // keeps 2 of the 3 pixels of a byte pair, adds a row
  bitmap.SetWidth(4);
  EXPECT_EQ(bitmap.GetPixelColor(1, 2), 0xFFFFFFu);
  EXPECT_EQ(bitmap.GetPixelColor(2, 0), 0u);  // was cut off, now new
  EXPECT_EQ(bitmap.GetPixelColor(0, 3), 0u);
}

TEST(Bitmap, SixteenBitPixelsDropLowBitsAndKeepBitFifteenClear) {
  TBitmap b555(1, 1, pf15bit);
  b555.SetPixelColor(0, 0, 0xFFFFFF);
  EXPECT_EQ(b555.ScanLine(0)[0] | b555.ScanLine(0)[1] << 8, 0x7FFF);
  EXPECT_EQ(b555.GetPixelColor(0, 0), 0xF8F8F8u);
  TBitmap b565(1, 1, pf16bit);
  b565.SetPixelColor(0, 0, 0x07FC0F);  // red 0x0F, green 0xFC, blue 0x07
  EXPECT_EQ(b565.ScanLine(0)[0] | b565.ScanLine(0)[1] << 8, (0x0F >> 3) << 11 | (0xFC >> 2) << 5);
}

TEST(Bitmap, ChangingTheFormatConvertsThePixels) {
  TBitmap bitmap(2, 1, pf24bit);
  bitmap.SetPixelColor(0, 0, 0x303030);
  bitmap.SetPixelColor(1, 0, 0x0000FF);
  bitmap.SetPixelFormat(pf4bit);
  EXPECT_EQ(bitmap.GetPixelColor(0, 0), 0u) << "dark gray maps to black";
  EXPECT_EQ(bitmap.GetPixelColor(1, 0), 0x0000FFu) << "red is one of the sixteen colours";
  bitmap.SetPixelFormat(pf8bit);
  EXPECT_EQ(bitmap.GetPixelColor(1, 0), 0x555555u) << "the gray level nearest to pure red";
}

TEST(Bitmap, GetDIBGivesTopRowFirstRowsOfTheRequestedDepth) {
  TBitmap bitmap(3, 2, pf8bit);
  bitmap.SetPixelColor(2, 0, 0xFFFFFF);
  bitmap.SetPixelColor(0, 1, 0x808080);
  std::vector<std::uint8_t> rgb(2 * 12, 0xEE);
  ASSERT_TRUE(bitmap.GetDIB(rgb.data(), 12, 24));
  EXPECT_EQ(rgb[6], 255);
  EXPECT_EQ(rgb[9], 0xEE) << "bytes past the row stay untouched";
  EXPECT_EQ(rgb[12], 128);
  std::vector<std::uint8_t> rgba(2 * 12);
  ASSERT_TRUE(bitmap.GetDIB(rgba.data(), 12, 32));
  EXPECT_EQ(rgba[3], 255) << "alpha of a format without alpha";
  EXPECT_FALSE(bitmap.GetDIB(rgb.data(), 8, 24)) << "step shorter than a row";
  EXPECT_FALSE(bitmap.GetDIB(rgb.data(), 12, 16));
}

}  // namespace
}  // namespace qx
