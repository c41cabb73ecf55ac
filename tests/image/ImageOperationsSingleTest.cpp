// Inversion and squaring (in place and from a source) and the fills, on
// every format: the format the frame ends in, every pixel against a plain
// model, alpha kept or set, and other holders of the storage untouched.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ImageOperationsModel.h"

namespace qx::test {
namespace {

// Inversion and squaring leave every format but 4:2:2 as it is.
TQXVideoFormat ChannelFormatOf(TQXVideoFormat format) {
  return format == vfYUY2 || format == vfUYVY ? vfRGB24 : format;
}

bool Is16Bit(TQXVideoFormat format) { return format == vfRGB565 || format == vfRGB555; }

int Inverted(int v) { return 255 - v; }
int Squared(int v) { return AtMost255(HalfEven(v * v)); }

// The word of colour bytes (blue, green, red) in `format`, each keeping its top bits.
int WordOf(TQXVideoFormat format, int blue, int green, int red) {
  return format == vfRGB565 ? red / 8 * 2048 + green / 4 * 32 + blue / 8
                            : red / 8 * 1024 + green / 8 * 32 + blue / 8;
}

// `formula` applied to each field of a 16-bit word, the field read as a byte
// with zero low bits and the result keeping its top bits.
int FieldwiseWord(TQXVideoFormat format, int word, const std::function<int(int)>& formula) {
  const bool is565 = format == vfRGB565;
  const int red = (is565 ? word / 2048 : word / 1024) % 32 * 8;
  const int green = is565 ? word / 32 % 64 * 4 : word / 32 % 32 * 8;
  const int blue = word % 32 * 8;
  return WordOf(format, formula(blue), formula(green), formula(red));
}

// The pixel bytes of a frame in `format` (width x height) once the region
// shared with a source of the given pixel bytes (read in `sourceFormat`) is
// replaced by `formula` of the source; a 16-bit frame packs the result.
std::vector<std::uint8_t> FromSource(std::vector<std::uint8_t> mine, int width, int height,
                                     TQXVideoFormat format, const std::vector<std::uint8_t>& source,
                                     int sourceWidth, int sourceHeight, TQXVideoFormat sourceFormat,
                                     const std::function<int(int)>& formula) {
  const int bpp = BytesPerPixelOf(format), sourceBpp = BytesPerPixelOf(sourceFormat);
  for (int y = 0; y < std::min(height, sourceHeight); ++y) {
    for (int x = 0; x < std::min(width, sourceWidth); ++x) {
      std::uint8_t* pixel = &mine[(y * width + x) * bpp];
      const std::uint8_t* from = &source[(y * sourceWidth + x) * sourceBpp];
      if (Is16Bit(format)) {
        const int word = WordOf(format, formula(from[0]), formula(from[1]), formula(from[2]));
        pixel[0] = static_cast<std::uint8_t>(word % 256);
        pixel[1] = static_cast<std::uint8_t>(word / 256);
        continue;
      }
      for (int c = 0; c < std::min(bpp, 3); ++c)
        pixel[c] = static_cast<std::uint8_t>(formula(from[c]));
    }
  }
  return mine;
}

struct TChannelOperation {
  const char* Name;
  std::function<void(TQXImageBuffer&)> InPlace;
  std::function<void(TQXImageBuffer&, const IQXImageBuffer&)> FromSource;
  std::function<int(int)> Formula;
};

const TChannelOperation kChannelOperations[] = {
    {"LNot", [](TQXImageBuffer& f) { f.LNot(); },
     [](TQXImageBuffer& f, const IQXImageBuffer& s) { f.LNot(s); }, Inverted},
    {"Sqr", [](TQXImageBuffer& f) { f.Sqr(); },
     [](TQXImageBuffer& f, const IQXImageBuffer& s) { f.Sqr(s); }, Squared},
};

class ChannelOperationTest : public testing::TestWithParam<TQXVideoFormat> {};

TEST_P(ChannelOperationTest, InPlace) {
  const TQXVideoFormat format = GetParam();
  const TQXVideoFormat ends = ChannelFormatOf(format);
  for (const TChannelOperation& operation : kChannelOperations) {
    SCOPED_TRACE(operation.Name);
    auto frame = RandomImage(format, 5, 3, 3);
    auto holder = MakeRef<TQXImageBuffer>(*frame);
    const std::vector<std::uint8_t> held = PixelBytes(*holder);
    std::vector<std::uint8_t> expected = BytesIn(*frame, ends);
    const int bpp = BytesPerPixelOf(ends);
    for (std::size_t i = 0; i < expected.size(); i += bpp) {
      if (Is16Bit(ends)) {
        // Random words may have bit 15 set in RGB555; the result never has.
        const int word = FieldwiseWord(ends, WordAt(expected, i / 2), operation.Formula);
        expected[i] = static_cast<std::uint8_t>(word % 256);
        expected[i + 1] = static_cast<std::uint8_t>(word / 256);
        continue;
      }
      for (int c = 0; c < std::min(bpp, 3); ++c) {
        expected[i + c] = static_cast<std::uint8_t>(operation.Formula(expected[i + c]));
      }
    }
    operation.InPlace(*frame);
    ASSERT_EQ(frame->GetFormat(), ends);
    EXPECT_EQ(PixelBytes(*frame), expected);
    EXPECT_EQ(PixelBytes(*holder), held);
  }
}

TEST_P(ChannelOperationTest, FromASourceOfEveryFormat) {
  const TQXVideoFormat format = GetParam();
  const TQXVideoFormat ends = ChannelFormatOf(format);
  std::uint32_t seed = 1000 * format;
  for (const TChannelOperation& operation : kChannelOperations) {
    for (TQXVideoFormat sourceFormat : kAllFormats) {
      SCOPED_TRACE(testing::Message()
                   << operation.Name << " of " << testing::PrintToString(sourceFormat));
      auto frame = RandomImage(format, 7, 3, ++seed);
      auto source = RandomImage(sourceFormat, 5, 4, ++seed);
      auto sourceHolder = MakeRef<TQXImageBuffer>(*source);
      const std::vector<std::uint8_t> sourceHeld = PixelBytes(*source);
      // A 16-bit frame reads the source as RGB24; any other in its own format.
      const TQXVideoFormat readAs = Is16Bit(ends) ? vfRGB24 : ends;
      const std::vector<std::uint8_t> expected =
          FromSource(BytesIn(*frame, ends), 7, 3, ends, BytesIn(*source, readAs), 5, 4, readAs,
                     operation.Formula);
      operation.FromSource(*frame, *source);
      ASSERT_EQ(frame->GetFormat(), ends);
      EXPECT_EQ(PixelBytes(*frame), expected);
      EXPECT_EQ(source->GetFormat(), sourceFormat);
      EXPECT_EQ(PixelBytes(*source), sourceHeld);
      EXPECT_EQ(PixelBytes(*sourceHolder), sourceHeld);
    }
  }
}

TEST_P(ChannelOperationTest, FromItselfOrATwin) {
  const TQXVideoFormat format = GetParam();
  for (const TChannelOperation& operation : kChannelOperations) {
    SCOPED_TRACE(operation.Name);
    auto reference = RandomImage(format, 6, 2, 5);
    operation.InPlace(*reference);
    auto self = RandomImage(format, 6, 2, 5);
    operation.FromSource(*self, *self);
    EXPECT_EQ(PixelBytes(*self), PixelBytes(*reference));
    auto frame = RandomImage(format, 6, 2, 5);
    auto twin = MakeRef<TQXImageBuffer>(*frame);
    const std::vector<std::uint8_t> twinHeld = PixelBytes(*twin);
    operation.FromSource(*frame, *twin);
    EXPECT_EQ(PixelBytes(*frame), PixelBytes(*reference));
    EXPECT_EQ(PixelBytes(*twin), twinHeld);
  }
}

// --- Fills ------------------------------------------------------------------

enum class TEnds { Gray, KeepsAlpha, SetsAlpha, Word, RGB24 };

struct TFill {
  const char* Name;
  std::function<void(TQXImageBuffer&)> Apply;
  // How the fill treats a frame of each format.
  std::function<TEnds(TQXVideoFormat)> EndsOf;
};

// The colour the fills below use, and the byte and alpha.
constexpr int kRed = 200, kGreen = 120, kBlue = 33, kByte = 77, kAlphaByte = 66;
constexpr std::uint32_t kColor = QXColorRGB(kRed, kGreen, kBlue);

TEnds ColorFill(TQXVideoFormat f) {
  if (f == vfGrayScale) return TEnds::Gray;
  if (f == vfRGBA32) return TEnds::KeepsAlpha;
  return Is16Bit(f) ? TEnds::Word : TEnds::RGB24;
}
TEnds ColorAlphaFill(TQXVideoFormat f) { return f == vfRGBA32 ? TEnds::SetsAlpha : ColorFill(f); }
TEnds ByteFill(TQXVideoFormat f) {
  if (f == vfGrayScale) return TEnds::Gray;
  return f == vfRGBA32 ? TEnds::KeepsAlpha : TEnds::RGB24;
}
TEnds ByteAlphaFill(TQXVideoFormat f) { return f == vfRGBA32 ? TEnds::SetsAlpha : ByteFill(f); }

class FillTest : public testing::TestWithParam<TQXVideoFormat> {};

TEST_P(FillTest, EveryFillAgainstTheModel) {
  const TQXVideoFormat format = GetParam();
  const TFill fills[] = {
      {"SetValue(color)", [](TQXImageBuffer& f) { f.SetValue(kColor); }, ColorFill},
      {"SetValue(color, alpha)", [](TQXImageBuffer& f) { f.SetValue(kColor, kAlphaByte); },
       ColorAlphaFill},
      {"SetValue(packed)", [](TQXImageBuffer& f) { f.SetValue(QXPackedColor(kColor, kAlphaByte)); },
       [](TQXVideoFormat) { return TEnds::SetsAlpha; }},
      {"SetValue(byte)", [](TQXImageBuffer& f) { f.SetValue(std::uint8_t{kByte}); }, ByteFill},
      {"SetValue(byte, alpha)",
       [](TQXImageBuffer& f) { f.SetValue(std::uint8_t{kByte}, kAlphaByte); }, ByteAlphaFill},
      {"SetGrayScale", [](TQXImageBuffer& f) { f.SetGrayScale(kByte); },
       [](TQXVideoFormat) { return TEnds::Gray; }},
      {"SetAlpha", [](TQXImageBuffer& f) { f.SetAlpha(kAlphaByte); },
       [](TQXVideoFormat) { return TEnds::KeepsAlpha; }},
      {"Zero", [](TQXImageBuffer& f) { f.Zero(); }, ByteFill},
      {"Zero(alpha)", [](TQXImageBuffer& f) { f.Zero(kAlphaByte); }, ByteAlphaFill},
  };
  for (const TFill& fill : fills) {
    SCOPED_TRACE(fill.Name);
    const std::string name = fill.Name;
    const bool isColor =
        name.find("color") != std::string::npos || name.find("packed") != std::string::npos;
    const bool isZero = name.rfind("Zero", 0) == 0;
    const int byte = isZero ? 0 : kByte;
    auto frame = RandomImage(format, 5, 3, 9);
    // A second holder makes the fill unshare: kept bytes must survive it.
    auto holder = MakeRef<TQXImageBuffer>(*frame);
    const std::vector<std::uint8_t> held = PixelBytes(*holder);
    const std::vector<std::uint8_t> asRGBA = BytesIn(*frame, vfRGBA32);
    const std::size_t pixels = 15;
    std::vector<std::uint8_t> expected;
    TQXVideoFormat ends = vfRGB24;
    switch (fill.EndsOf(format)) {
      case TEnds::Gray:
        ends = vfGrayScale;
        expected.assign(
            pixels, static_cast<std::uint8_t>(isColor ? RoundedGray({kRed, kGreen, kBlue}) : byte));
        break;
      case TEnds::Word: {
        ends = format;
        const int word = WordOf(format, kBlue, kGreen, kRed);
        for (std::size_t i = 0; i < pixels; ++i) {
          expected.push_back(static_cast<std::uint8_t>(word % 256));
          expected.push_back(static_cast<std::uint8_t>(word / 256));
        }
        break;
      }
      case TEnds::RGB24:
        ends = vfRGB24;
        for (std::size_t i = 0; i < pixels; ++i) {
          for (int c : {kBlue, kGreen, kRed})
            expected.push_back(static_cast<std::uint8_t>(isColor ? c : byte));
        }
        break;
      case TEnds::KeepsAlpha:
      case TEnds::SetsAlpha:
        ends = vfRGBA32;
        expected = asRGBA;
        for (std::size_t i = 0; i < pixels; ++i) {
          std::uint8_t* pixel = &expected[4 * i];
          if (name != "SetAlpha") {
            pixel[0] = static_cast<std::uint8_t>(isColor ? kBlue : byte);
            pixel[1] = static_cast<std::uint8_t>(isColor ? kGreen : byte);
            pixel[2] = static_cast<std::uint8_t>(isColor ? kRed : byte);
          }
          if (fill.EndsOf(format) == TEnds::SetsAlpha || name == "SetAlpha") pixel[3] = kAlphaByte;
        }
        break;
    }
    fill.Apply(*frame);
    ASSERT_EQ(frame->GetFormat(), ends);
    EXPECT_EQ(PixelBytes(*frame), expected);
    EXPECT_EQ(holder->GetFormat(), format);
    EXPECT_EQ(PixelBytes(*holder), held);
  }
}

INSTANTIATE_TEST_SUITE_P(AllFormats, ChannelOperationTest, testing::ValuesIn(kAllFormats),
                         testing::PrintToStringParamName());
INSTANTIATE_TEST_SUITE_P(AllFormats, FillTest, testing::ValuesIn(kAllFormats),
                         testing::PrintToStringParamName());

TEST(FillCases, GrayOfAColourRoundsHalvesToEven) {
  auto gray = MakeRef<TQXImageBuffer>(2, 2, vfGrayScale);
  // 0.587 x 36 + 0.114 x 12 = 22.5 exactly: the even 22.
  gray->SetValue(QXColorRGB(0, 36, 12));
  EXPECT_EQ(gray->GetGrayScale(1, 1), 22);
  for (int c = 0; c < 256 * 256; c += 97) {
    const TRGB colour{c % 256, c / 256, (c * 7) % 256};
    gray->SetValue(ToColor(colour));
    ASSERT_EQ(gray->GetGrayScale(0, 1), RoundedGray(colour)) << c;
  }
}

TEST(FillCases, ZeroOnYUY2GivesABlackRGB24Frame) {
  auto frame = RandomImage(vfYUY2, 6, 2, 13);
  frame->Zero();
  EXPECT_EQ(frame->GetFormat(), vfRGB24);
  EXPECT_EQ(PixelBytes(*frame), std::vector<std::uint8_t>(36, 0));
}

TEST(FillCases, AlphaSetOnASharedFrameKeepsItsColours) {
  auto frame = RandomImage(vfRGBA32, 4, 3, 17);
  auto shared = MakeRef<TQXImageBuffer>(*frame);
  frame->SetAlpha(128);
  for (std::uint32_t y = 0; y < 3; ++y) {
    for (std::uint32_t x = 0; x < 4; ++x) EXPECT_EQ(frame->GetPixel(x, y), shared->GetPixel(x, y));
  }
  EXPECT_EQ(PixelBytes(*frame->GetAlphaChannel()), std::vector<std::uint8_t>(12, 128));
}

}  // namespace
}  // namespace qx::test
