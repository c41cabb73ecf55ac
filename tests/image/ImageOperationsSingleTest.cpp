// Inversion and squaring (in place and from a source) and the fills, on
// every format: the format the frame ends in, every pixel against a plain
// model, alpha kept or set, and other holders of the storage untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
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

// The pixel bytes of a frame in `format` (width x height) once the region
// shared with a source of the given pixel bytes (read in `sourceFormat`) is
// replaced by `formula` of the source. A 16-bit frame reads its source as
// RGB24 and packs the result: each field gets the formula in its own
// precision (and RGB555 words lose bit 15).
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

TQXVideoFormat SourceFormatFor(TQXVideoFormat format) { return Is16Bit(format) ? vfRGB24 : format; }

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

// In place while another holder shares the storage, from itself, and from
// another holder of its storage: one result, and the holders keep their pixels.
TEST_P(ChannelOperationTest, InPlaceFromItselfAndFromASharer) {
  const TQXVideoFormat format = GetParam();
  const TQXVideoFormat ends = ChannelFormatOf(format), readAs = SourceFormatFor(ends);
  for (const TChannelOperation& operation : kChannelOperations) {
    SCOPED_TRACE(operation.Name);
    auto frame = RandomImage(format, 5, 3, 3);
    const std::vector<std::uint8_t> expected =
        FromSource(BytesIn(*frame, ends), 5, 3, ends, BytesIn(*frame, readAs), 5, 3, readAs,
                   operation.Formula);
    const THeld held(*frame);
    operation.InPlace(*frame);

    auto self = RandomImage(format, 5, 3, 3);
    operation.FromSource(*self, *self);

    auto mine = RandomImage(format, 5, 3, 3);
    auto sharer = MakeRef<TQXImageBuffer>(*mine);
    const THeld sharerHeld(*sharer);
    operation.FromSource(*mine, *sharer);

    for (const auto& result : {frame, self, mine}) {
      ASSERT_EQ(result->GetFormat(), ends);
      EXPECT_EQ(PixelBytes(*result), expected);
    }
    held.ExpectKept();
    sharerHeld.ExpectKeptBy(*sharer);
  }
}

TEST_P(ChannelOperationTest, FromASource) {
  const TQXVideoFormat format = GetParam();
  const TQXVideoFormat ends = ChannelFormatOf(format), readAs = SourceFormatFor(ends);
  std::uint32_t seed = 1000 * format;
  for (const TChannelOperation& operation : kChannelOperations) {
    // The frame's own format, and sources that must be converted to be read.
    for (TQXVideoFormat sourceFormat : {format, vfUYVY, vfRGBA32, vfRGB555}) {
      SCOPED_TRACE(testing::Message()
                   << operation.Name << " of " << testing::PrintToString(sourceFormat));
      auto frame = RandomImage(format, 7, 3, ++seed);
      auto source = RandomImage(sourceFormat, 5, 4, ++seed);
      const THeld sourceHeld(*source);
      const std::vector<std::uint8_t> expected =
          FromSource(BytesIn(*frame, ends), 7, 3, ends, BytesIn(*source, readAs), 5, 4, readAs,
                     operation.Formula);
      operation.FromSource(*frame, *source);
      ASSERT_EQ(frame->GetFormat(), ends);
      EXPECT_EQ(PixelBytes(*frame), expected);
      sourceHeld.ExpectKept();
      sourceHeld.ExpectKeptBy(*source);
    }
  }
}

// --- Fills ------------------------------------------------------------------

// A byte fill keeps gray and RGBA32 frames; any other becomes RGB24.
TQXVideoFormat ByteFillFormatOf(TQXVideoFormat f) {
  return f == vfGrayScale || f == vfRGBA32 ? f : vfRGB24;
}
// A colour fill also keeps 16-bit frames.
TQXVideoFormat ColorFillFormatOf(TQXVideoFormat f) { return Is16Bit(f) ? f : ByteFillFormatOf(f); }
TQXVideoFormat AlwaysRGBA32(TQXVideoFormat) { return vfRGBA32; }
TQXVideoFormat AlwaysGray(TQXVideoFormat) { return vfGrayScale; }

struct TFill {
  const char* Name;
  std::function<void(TQXImageBuffer&)> Apply;
  std::function<TQXVideoFormat(TQXVideoFormat)> FormatOf;
  std::optional<TRGB> Colour;  // none: the colours are kept
  bool SetsAlpha;              // of an RGBA32 frame; otherwise its alpha is kept
};

constexpr std::uint8_t kByte = 77, kAlpha = 66;
constexpr TRGB kColour{200, 120, 33}, kByteColour{kByte, kByte, kByte}, kBlack{};
const std::uint32_t kColor = ToColor(kColour);

const TFill kFills[] = {
    {"SetValue(color)", [](TQXImageBuffer& f) { f.SetValue(kColor); }, ColorFillFormatOf, kColour,
     false},
    {"SetValue(color, alpha)", [](TQXImageBuffer& f) { f.SetValue(kColor, kAlpha); },
     ColorFillFormatOf, kColour, true},
    {"SetValue(packed)", [](TQXImageBuffer& f) { f.SetValue(QXPackedColor(kColor, kAlpha)); },
     AlwaysRGBA32, kColour, true},
    {"SetValue(byte)", [](TQXImageBuffer& f) { f.SetValue(kByte); }, ByteFillFormatOf, kByteColour,
     false},
    {"SetValue(byte, alpha)", [](TQXImageBuffer& f) { f.SetValue(kByte, kAlpha); },
     ByteFillFormatOf, kByteColour, true},
    {"SetGrayScale", [](TQXImageBuffer& f) { f.SetGrayScale(kByte); }, AlwaysGray, kByteColour,
     false},
    {"SetAlpha", [](TQXImageBuffer& f) { f.SetAlpha(kAlpha); }, AlwaysRGBA32, std::nullopt, true},
    {"Zero", [](TQXImageBuffer& f) { f.Zero(); }, ByteFillFormatOf, kBlack, false},
    {"Zero(alpha)", [](TQXImageBuffer& f) { f.Zero(kAlpha); }, ByteFillFormatOf, kBlack, true},
};

// The bytes a fill of colour `c` gives a pixel of `format` (alpha aside):
// blue, green, red; the rounded gray; or the little-endian 16-bit word.
std::vector<std::uint8_t> ColourBytes(TQXVideoFormat format, TRGB c) {
  if (format == vfGrayScale) return {static_cast<std::uint8_t>(RoundedGray(c))};
  if (Is16Bit(format)) {
    const int word = WordOf(format, c.b, c.g, c.r);
    return {static_cast<std::uint8_t>(word % 256), static_cast<std::uint8_t>(word / 256)};
  }
  return {static_cast<std::uint8_t>(c.b), static_cast<std::uint8_t>(c.g),
          static_cast<std::uint8_t>(c.r)};
}

class FillTest : public testing::TestWithParam<TQXVideoFormat> {};

TEST_P(FillTest, EveryFillAgainstTheModel) {
  const TQXVideoFormat format = GetParam();
  for (const TFill& fill : kFills) {
    SCOPED_TRACE(fill.Name);
    auto frame = RandomImage(format, 5, 3, 9);
    // A second holder makes the fill unshare: kept bytes must survive it.
    const THeld held(*frame);
    const TQXVideoFormat ends = fill.FormatOf(format);
    std::vector<std::uint8_t> expected = BytesIn(*frame, ends);
    const int bpp = BytesPerPixelOf(ends);
    const std::vector<std::uint8_t> colour =
        fill.Colour ? ColourBytes(ends, *fill.Colour) : std::vector<std::uint8_t>{};
    for (std::size_t i = 0; i < expected.size(); i += bpp) {
      std::copy(colour.begin(), colour.end(), &expected[i]);
      if (bpp == 4 && fill.SetsAlpha) expected[i + 3] = kAlpha;
    }
    fill.Apply(*frame);
    ASSERT_EQ(frame->GetFormat(), ends);
    EXPECT_EQ(PixelBytes(*frame), expected);
    held.ExpectKept();
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

}  // namespace
}  // namespace qx::test
