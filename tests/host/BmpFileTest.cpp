// Reading BMP files of every kind, writing them back, and refusing damaged ones.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "BmpBuilder.h"
#include "host/Bitmap.h"

namespace qx {
namespace {

using test::BmpBuilder;
using test::BmpLayout;

// Colour references: red in the low byte.
constexpr std::uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

TBitmap Load(const std::string& bytes) {
  std::istringstream in(bytes);
  TBitmap bitmap;
  bitmap.LoadFromStream(in);
  return bitmap;
}

BmpLayout TwoByTwo24(std::int32_t height) {
  BmpLayout layout;
  layout.width = 2;
  layout.height = height;
  // File rows: B, G, R bytes. First file row is the bottom row unless top-down.
  layout.rows = {{0, 0, 255, 0, 255, 0}, {255, 0, 0, 255, 255, 255}};
  return layout;
}

TEST(BmpRead, BottomUpAndTopDownRowsLandTopRowFirst) {
  const TBitmap bottomUp = Load(BmpBuilder::Build(TwoByTwo24(2)));
  ASSERT_EQ(bottomUp.GetPixelFormat(), pf24bit);
  EXPECT_EQ(bottomUp.GetPixelColor(0, 1), kRed);  // the file's first row is the bottom one
  EXPECT_EQ(bottomUp.GetPixelColor(1, 1), kGreen);
  EXPECT_EQ(bottomUp.GetPixelColor(0, 0), kBlue);
  EXPECT_EQ(bottomUp.GetPixelColor(1, 0), kWhite);

  const TBitmap topDown = Load(BmpBuilder::Build(TwoByTwo24(-2)));
  EXPECT_EQ(topDown.GetPixelColor(0, 0), kRed);
  EXPECT_EQ(topDown.GetPixelColor(1, 1), kWhite);
  EXPECT_EQ(topDown.GetScanLineSize(), 8);
}

TEST(BmpRead, PalettisedDepthsUseTheirPaletteAndPackMostSignificantFirst) {
  BmpLayout eight;
  eight.bits = 8;
  eight.width = 3;
  eight.palette = {0x102030, 0xA0B0C0};
  eight.colorsUsed = 2;
  eight.rows = {{1, 0, 7}};  // index 7 lies beyond the palette
  const TBitmap b8 = Load(BmpBuilder::Build(eight));
  EXPECT_EQ(b8.GetPixelFormat(), pf8bit);
  EXPECT_EQ(b8.GetPalette().size(), 2u);
  EXPECT_EQ(b8.GetPixelColor(0, 0), 0xC0B0A0u);
  EXPECT_EQ(b8.GetPixelColor(1, 0), 0x302010u);
  EXPECT_EQ(b8.GetPixelColor(2, 0), 0u);

  BmpLayout four;
  four.bits = 4;
  four.width = 3;
  four.palette = std::vector<std::uint32_t>(16, 0);
  four.palette[0x2] = 0xFF0000;
  four.palette[0xC] = 0x0000FF;
  four.rows = {{0xC2, 0x20}};
  const TBitmap b4 = Load(BmpBuilder::Build(four));
  EXPECT_EQ(b4.GetPixelColor(0, 0), kBlue);
  EXPECT_EQ(b4.GetPixelColor(1, 0), kRed);
  EXPECT_EQ(b4.GetPixelColor(2, 0), kRed);

  BmpLayout one;
  one.bits = 1;
  one.width = 10;
  one.palette = {0x000000, 0xFFFFFF};
  one.rows = {{0b10100000, 0b01000000}};
  const TBitmap b1 = Load(BmpBuilder::Build(one));
  const std::uint32_t expected[10] = {kWhite, 0, kWhite, 0, 0, 0, 0, 0, 0, kWhite};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(b1.GetPixelColor(x, 0), expected[x]) << x;
}

TEST(BmpRead, CoreHeaderFilesHaveThreeBytePaletteEntries) {
  BmpLayout layout;
  layout.headerSize = 12;
  layout.bits = 8;
  layout.width = 2;
  layout.palette = std::vector<std::uint32_t>(256, 0);
  layout.palette[5] = 0x123456;
  layout.rows = {{5, 0}};
  const TBitmap bitmap = Load(BmpBuilder::Build(layout));
  EXPECT_EQ(bitmap.GetPixelColor(0, 0), 0x563412u);
}

TEST(BmpRead, SixteenBitFilesWithAndWithoutMasks) {
  BmpLayout plain;  // no masks: 5-5-5
  plain.bits = 16;
  plain.width = 2;
  plain.rows = {{0x00, 0x7C, 0x1F, 0x80}};  // 0x7C00 red; 0x801F blue with bit 15 set
  const TBitmap b555 = Load(BmpBuilder::Build(plain));
  EXPECT_EQ(b555.GetPixelFormat(), pf15bit);
  EXPECT_EQ(b555.GetPixelColor(0, 0), 0x0000F8u);
  EXPECT_EQ(b555.GetPixelColor(1, 0), 0xF80000u);

  BmpLayout masked = plain;
  masked.compression = 3;
  masked.masks = {0xF800, 0x07E0, 0x001F};
  masked.rows = {{0xE0, 0x07, 0x00, 0xF8}};  // 0x07E0 green, 0xF800 red
  const TBitmap b565 = Load(BmpBuilder::Build(masked));
  EXPECT_EQ(b565.GetPixelFormat(), pf16bit);
  EXPECT_EQ(b565.GetPixelColor(0, 0), 0x00FC00u);
  EXPECT_EQ(b565.GetPixelColor(1, 0), 0x0000F8u);

  BmpLayout odd = masked;  // 4-4-4 masks are decoded into 24 bits
  odd.masks = {0x0F00, 0x00F0, 0x000F};
  odd.rows = {{0x5A, 0x03, 0x00, 0x00}};
  const TBitmap b444 = Load(BmpBuilder::Build(odd));
  EXPECT_EQ(b444.GetPixelFormat(), pf24bit);
  EXPECT_EQ(b444.GetPixelColor(0, 0), 0xA05030u);
}

TEST(BmpRead, ThirtyTwoBitFilesKeepOrDecodeTheirAlpha) {
  BmpLayout plain;
  plain.bits = 32;
  plain.rows = {{10, 20, 30, 40}};
  const TBitmap bgra = Load(BmpBuilder::Build(plain));
  EXPECT_EQ(bgra.GetPixelFormat(), pf32bit);
  EXPECT_EQ(bgra.ScanLine(0)[3], 40);

  BmpLayout rgba = plain;  // a V5 header whose masks put red in the low byte
  rgba.headerSize = 124;
  rgba.compression = 3;
  rgba.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  const TBitmap decoded = Load(BmpBuilder::Build(rgba));
  ASSERT_EQ(decoded.GetPixelFormat(), pf32bit);
  const std::uint8_t* pixel = decoded.ScanLine(0);
  EXPECT_EQ(pixel[0], 30);  // blue came from the third byte
  EXPECT_EQ(pixel[2], 10);
  EXPECT_EQ(pixel[3], 40);
}

class BmpRoundTrip : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(BmpRoundTrip, WritingAndReadingBackKeepsEveryScanLine) {
  TBitmap original(7, 3, GetParam());
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 7; ++x) original.SetPixelColor(x, y, 0x1F3F7Fu * (x + 3 * y + 1));
  }
  std::stringstream file;
  original.SaveToStream(file);
  const TBitmap copy = Load(file.str());
  ASSERT_EQ(copy.GetPixelFormat(), GetParam());
  ASSERT_EQ(copy.GetWidth(), 7);
  ASSERT_EQ(copy.GetHeight(), 3);
  EXPECT_EQ(copy.GetPalette(), original.GetPalette());
  const int rowBytes = (7 * TBitmap::BitsPerPixel(GetParam()) + 7) / 8;
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(std::memcmp(copy.ScanLine(y), original.ScanLine(y), rowBytes), 0) << "row " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, BmpRoundTrip,
                         ::testing::Values(pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit,
                                           pf32bit));

TEST(BmpRead, DamagedFilesAreRefusedAndLeaveTheBitmapAsItWas) {
  const std::string good = BmpBuilder::Build(TwoByTwo24(2));
  auto with = [](BmpLayout layout, auto change) {
    change(layout);
    return BmpBuilder::Build(layout);
  };
  std::string badMagic = good;
  badMagic[1] = 'X';
  const std::vector<std::pair<const char*, std::string>> damaged = {
      {"empty", ""},
      {"signature", badMagic},
      {"header only", good.substr(0, 20)},
      {"pixels cut short", good.substr(0, good.size() - 1)},
      {"header size", with(TwoByTwo24(2), [](BmpLayout& s) { s.headerSize = 20; })},
      {"zero width", with(TwoByTwo24(2), [](BmpLayout& s) { s.width = 0; })},
      {"two planes", with(TwoByTwo24(2), [](BmpLayout& s) { s.planes = 2; })},
      {"seven bits", with(TwoByTwo24(2), [](BmpLayout& s) { s.bits = 7; })},
      {"run-length", with(TwoByTwo24(2), [](BmpLayout& s) { s.compression = 1; })},
      {"masks on 24 bits", with(TwoByTwo24(2), [](BmpLayout& s) { s.compression = 3; })},
      {"huge width", with(TwoByTwo24(2), [](BmpLayout& s) { s.width = 0x7FFFFFF0; })},
      {"huge height", with(TwoByTwo24(2), [](BmpLayout& s) { s.height = -0x7FFFFFF0; })},
      {"palette too large", with(TwoByTwo24(2),
                                 [](BmpLayout& s) {
                                   s.bits = 8;
                                   s.colorsUsed = 257;
                                 })},
      {"palette cut short", with(TwoByTwo24(2),
                                 [](BmpLayout& s) {
                                   s.bits = 8;
                                   s.colorsUsed = 200;
                                   s.rows = {};
                                 })},
      {"scattered mask", with(TwoByTwo24(2),
                              [](BmpLayout& s) {
                                s.bits = 16;
                                s.compression = 3;
                                s.masks = {0xF0F0, 0x0F00, 0x000F};
                              })},
  };
  for (const auto& [what, bytes] : damaged) {
    TBitmap bitmap(3, 1, pf8bit);
    std::istringstream in(bytes);
    EXPECT_THROW(bitmap.LoadFromStream(in), EInvalidGraphic) << what;
    EXPECT_EQ(bitmap.GetWidth(), 3) << what;
    EXPECT_EQ(bitmap.GetPixelFormat(), pf8bit) << what;
  }
}

TEST(BmpFile, FilesRoundTripAndErrorsNameTheFile) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("quexa-bmp-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "picture.bmp").string();
  TBitmap original = Load(BmpBuilder::Build(TwoByTwo24(2)));
  original.SaveToFile(path);
  TBitmap copy;
  copy.LoadFromFile(path);
  EXPECT_EQ(copy.GetPixelColor(1, 0), kWhite);

  EXPECT_THROW(copy.LoadFromFile((dir / "missing.bmp").string()), EFileStreamError);
  std::ofstream(dir / "broken.bmp") << "BMnot really";
  try {
    copy.LoadFromFile((dir / "broken.bmp").string());
    ADD_FAILURE() << "a broken file was read";
  } catch (const EInvalidGraphic& error) {
    EXPECT_NE(std::string(error.what()).find("broken.bmp"), std::string::npos);
  }
  EXPECT_THROW(TBitmap().SaveToFile(path), EInvalidGraphic);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qx
