// Inversion and squaring (in place and from a source) and the fills, on
// every format: the format the frame ends in, every pixel against a plain
// model, alpha kept or set, and other holders of the storage untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
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

// The bytes of one pixel of colour `c` in `format` by the model (alpha aside).
std::vector<std::uint8_t> EncodedPixel(TQXVideoFormat format, TRGB c) {
  std::vector<std::uint8_t> bytes = Encode(format, {c}, 1, 1);
  bytes.resize(std::min(BytesPerPixelOf(format), 3));
  return bytes;
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
        const TRGB c{formula(from[2]), formula(from[1]), formula(from[0])};
        std::ranges::copy(EncodedPixel(format, c), pixel);
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

// In place while another holder shares the storage, from another holder of
// its storage, and from sources of its own and another format (converted to
// be read): each against the model, the holders kept.
TEST(ChannelOperations, InPlaceAndFromASource) {
  std::uint32_t seed = 1000;
  for (const TQXVideoFormat format : kAllFormats) {
    for (const TChannelOperation& operation : kChannelOperations) {
      SCOPED_TRACE(operation.Name + (" on " + testing::PrintToString(format)));
      const TQXVideoFormat ends = ChannelFormatOf(format), readAs = SourceFormatFor(ends);
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
      for (const auto& result : {frame, mine}) {
        ASSERT_EQ(result->GetFormat(), ends);
        EXPECT_EQ(PixelBytes(*result), expected);
      }
      held.ExpectKept();
      sharerHeld.ExpectKeptBy(*sharer);

      for (TQXVideoFormat sourceFormat : {format, vfUYVY}) {
        SCOPED_TRACE(testing::PrintToString(sourceFormat));
        auto target = RandomImage(format, 7, 3, ++seed);
        auto source = RandomImage(sourceFormat, 5, 4, ++seed);
        const THeld sourceHeld(*source);
        const std::vector<std::uint8_t> fromSource =
            FromSource(BytesIn(*target, ends), 7, 3, ends, BytesIn(*source, readAs), 5, 4, readAs,
                       operation.Formula);
        operation.FromSource(*target, *source);
        ASSERT_EQ(target->GetFormat(), ends);
        EXPECT_EQ(PixelBytes(*target), fromSource);
        sourceHeld.ExpectKeptBy(*source);
      }
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
constexpr TRGB kColour{200, 120, 33}, kByteColour{kByte, kByte, kByte};
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
};

TEST(Fills, EveryFillOnEveryFormatAgainstTheModel) {
  for (const TQXVideoFormat format : kAllFormats) {
    for (const TFill& fill : kFills) {
      SCOPED_TRACE(fill.Name + (" on " + testing::PrintToString(format)));
      auto frame = RandomImage(format, 5, 3, 9);
      // A second holder makes the fill unshare: kept bytes must survive it.
      const THeld held(*frame);
      const TQXVideoFormat ends = fill.FormatOf(format);
      std::vector<std::uint8_t> expected = BytesIn(*frame, ends);
      const int bpp = BytesPerPixelOf(ends);
      const std::vector<std::uint8_t> colour =
          !fill.Colour          ? std::vector<std::uint8_t>{}
          : ends == vfGrayScale ? std::vector<std::uint8_t>{std::uint8_t(RoundedGray(*fill.Colour))}
                                : EncodedPixel(ends, *fill.Colour);
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
}

TEST(Fills, GrayOfAColourRoundsHalvesToEven) {
  auto gray = MakeRef<TQXImageBuffer>(2, 2, vfGrayScale);
  gray->SetValue(QXColorRGB(0, 36, 12));  // 0.587 x 36 + 0.114 x 12 = 22.5
  EXPECT_EQ(gray->GetGrayScale(1, 1), 22);
  gray->SetValue(QXColorRGB(0, 12, 4));  // 7.044 + 0.456 = 7.5
  EXPECT_EQ(gray->GetGrayScale(1, 1), 8);
}

}  // namespace
}  // namespace qx::test
