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

using test::BmpLayout;
using test::BuildBmp;

// Colour references: red in the low byte.
constexpr std::uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

TBitmap Load(const std::string& bytes) {
  std::istringstream in(bytes);
  TBitmap bitmap;
  bitmap.LoadFromStream(in);
  return bitmap;
}

BmpLayout TwoByTwo24(std::int32_t height) {
  // File rows: B, G, R bytes. First file row is the bottom row unless top-down.
  return {
      .width = 2, .height = height, .rows = {{0, 0, 255, 0, 255, 0}, {255, 0, 0, 255, 255, 255}}};
}

TEST(BmpRead, EveryHeaderDepthAndMaskLayoutGivesItsFormatAndColours) {
  struct Case {
    const char* What;
    BmpLayout Layout;
    TPixelFormat Format;
    std::vector<std::uint32_t> Pixels;  // top row first
    int Alpha = -1;                     // of the first pixel, where the format keeps one
  };
  const std::vector<std::uint32_t> rgbaMasks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  const Case cases[] = {
      {"bottom-up", TwoByTwo24(2), pf24bit, {kBlue, kWhite, kRed, kGreen}},
      {"top-down", TwoByTwo24(-2), pf24bit, {kRed, kGreen, kBlue, kWhite}},
      {"8 bits, index 7 beyond a short palette",
       {.width = 3,
        .bits = 8,
        .palette = {0x102030, 0xA0B0C0},
        .colorsUsed = 2,
        .rows = {{1, 0, 7}}},
       pf8bit,
       {0xC0B0A0, 0x302010, 0}},
      {"core header, three-byte palette entries, 1 bit with the most significant first",
       {.headerSize = 12,
        .width = 10,
        .bits = 1,
        .palette = {0, 0x123456},
        .rows = {{0b10100000, 0b01000000}}},
       pf1bit,
       {0x563412, 0, 0x563412, 0, 0, 0, 0, 0, 0, 0x563412}},
      {"16 bits without masks: 5-5-5, bit 15 ignored",
       {.width = 2, .bits = 16, .rows = {{0x00, 0x7C, 0x1F, 0x80}}},
       pf15bit,
       {0x0000F8, 0xF80000}},
      {"16 bits with 5-6-5 masks",
       {.width = 2,
        .bits = 16,
        .compression = 3,
        .masks = {0xF800, 0x07E0, 0x001F},
        .rows = {{0xE0, 0x07, 0x00, 0xF8}}},
       pf16bit,
       {0x00FC00, 0x0000F8}},
      {"16 bits with 4-4-4 masks, decoded into 24",
       {.bits = 16, .compression = 3, .masks = {0x0F00, 0x00F0, 0x000F}, .rows = {{0x5A, 0x03}}},
       pf24bit,
       {0xA05030}},
      {"32 bits, V5 header with red in the low byte",
       {.headerSize = 124,
        .bits = 32,
        .compression = 3,
        .masks = rgbaMasks,
        .rows = {{10, 20, 30, 40}}},
       pf32bit,
       {0x1E140A},
       40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    const TBitmap bitmap = Load(BuildBmp(c.Layout));
    ASSERT_EQ(bitmap.GetPixelFormat(), c.Format);
    const int width = bitmap.GetWidth();
    ASSERT_EQ(static_cast<std::size_t>(width * bitmap.GetHeight()), c.Pixels.size());
    for (std::size_t i = 0; i < c.Pixels.size(); ++i) {
      const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
      EXPECT_EQ(bitmap.GetPixelColor(x, y), c.Pixels[i]) << x << "," << y;
    }
    if (c.Alpha >= 0) {
      EXPECT_EQ(bitmap.ScanLine(0)[3], c.Alpha);
    }
  }
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
  const std::string good = BuildBmp(TwoByTwo24(2));
  auto changed = [](auto change) {
    BmpLayout layout = TwoByTwo24(2);
    change(layout);
    return BuildBmp(layout);
  };
  const std::pair<const char*, std::string> damaged[] = {
      {"empty", ""},
      {"signature", "BX" + good.substr(2)},
      {"pixels cut short", good.substr(0, good.size() - 1)},
      {"header size", changed([](BmpLayout& s) { s.headerSize = 20; })},
      {"seven bits", changed([](BmpLayout& s) { s.bits = 7; })},
      {"run-length", changed([](BmpLayout& s) { s.compression = 1; })},
      {"huge width", changed([](BmpLayout& s) { s.width = 0x7FFFFFF0; })},
      {"palette too large", changed([](BmpLayout& s) { s.bits = 8, s.colorsUsed = 257; })},
      {"palette cut short",
       changed([](BmpLayout& s) { s.bits = 8, s.colorsUsed = 200, s.rows = {}; })},
      {"scattered mask", changed([](BmpLayout& s) {
         s.bits = 16, s.compression = 3, s.masks = {0xF0F0, 0x0F00, 0x000F};
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
  const auto path =
      std::filesystem::temp_directory_path() / ("quexa-bmp-" + std::to_string(::getpid()) + ".bmp");
  Load(BuildBmp(TwoByTwo24(2))).SaveToFile(path.string());
  TBitmap copy;
  copy.LoadFromFile(path.string());
  EXPECT_EQ(copy.GetPixelColor(1, 0), kWhite);
  std::ofstream(path) << "BMnot really";
  try {
    copy.LoadFromFile(path.string());
    ADD_FAILURE() << "a broken file was read";
  } catch (const EInvalidGraphic& error) {
    EXPECT_NE(std::string(error.what()).find(path.filename().string()), std::string::npos);
  }
  EXPECT_THROW(TBitmap().SaveToFile(path.string()), EInvalidGraphic);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace qx
