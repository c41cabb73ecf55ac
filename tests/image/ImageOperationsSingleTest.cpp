// Inversion and squaring (in place and from a source) and the fills on every
// format, against the colour model; other holders of the storage untouched.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "PixelModel.h"

namespace qx::test {
namespace {

struct TChannelOperation {
  const char* Name;
  std::function<void(TQXImageBuffer&)> InPlace;
  std::function<void(TQXImageBuffer&, const IQXImageBuffer&)> FromSource;
  int (*Formula)(int);
};

const TChannelOperation kChannelOperations[] = {
    {"LNot", [](TQXImageBuffer& f) { f.LNot(); },
     [](TQXImageBuffer& f, const IQXImageBuffer& s) { f.LNot(s); }, [](int v) { return 255 - v; }},
    {"Sqr", [](TQXImageBuffer& f) { f.Sqr(); },
     [](TQXImageBuffer& f, const IQXImageBuffer& s) { f.Sqr(s); },
     [](int v) { return AtMost255(HalfEven(v * v)); }},
};

// The frame's colours with the operation of the source's over the region
// they share: the source read as gray by a gray frame and as RGB24 by any
// other (16 bits keep each field's top bits of the result).
void ExpectOperationOf(const IQXImageBuffer& result, const TQXImageBuffer& before,
                       const TQXImageBuffer& source, int (*formula)(int)) {
  const auto read = Snapshot(source, result.GetFormat() == vfGrayScale ? vfGrayScale : vfRGB24);
  ExpectCombined(result, before, *read, [formula](int, int s) { return formula(s); });
}

// In place while another holder shares the storage, from another holder of
// its storage, and from a source of another format (converted to be read):
// every format but 4:2:2, which becomes RGB24, is kept.
TEST(ChannelOperations, InPlaceAndFromASource) {
  for (const TQXVideoFormat format : kAllFormats) {
    const TQXVideoFormat ends = format == vfYUY2 || format == vfUYVY ? vfRGB24 : format;
    for (const TChannelOperation& operation : kChannelOperations) {
      SCOPED_TRACE(operation.Name + (" on " + testing::PrintToString(format)));
      auto frame = RandomImage(format, 5, 3, 3);
      const auto before = Snapshot(*frame, ends);
      const THeld held(*frame);
      operation.InPlace(*frame);
      ASSERT_EQ(frame->GetFormat(), ends);
      ExpectOperationOf(*frame, *before, *before, operation.Formula);
      held.ExpectKept();

      auto mine = RandomImage(format, 7, 3, 4);
      for (const auto& source : {MakeRef<TQXImageBuffer>(*mine), RandomImage(vfUYVY, 5, 4, 5)}) {
        const auto mineBefore = Snapshot(*mine, ends);
        const THeld sourceHeld(*source);
        operation.FromSource(*mine, *source);
        ASSERT_EQ(mine->GetFormat(), ends);
        ExpectOperationOf(*mine, *mineBefore, *source, operation.Formula);
        sourceHeld.ExpectKeptBy(*source);
      }
    }
  }
}

// A byte fill keeps gray and RGBA32 frames; any other becomes RGB24.
TQXVideoFormat ByteFillFormatOf(TQXVideoFormat f) {
  return f == vfGrayScale || f == vfRGBA32 ? f : vfRGB24;
}
// A colour fill also keeps 16-bit frames.
TQXVideoFormat ColorFillFormatOf(TQXVideoFormat f) {
  return f == vfRGB565 || f == vfRGB555 ? f : ByteFillFormatOf(f);
}

struct TFill {
  const char* Name;
  std::function<void(TQXImageBuffer&)> Apply;
  std::function<TQXVideoFormat(TQXVideoFormat)> FormatOf;
  std::optional<TRGB> Colour;  // none: the colours are kept
  bool SetsAlpha;              // of an RGBA32 frame; otherwise its alpha is kept
};

constexpr std::uint8_t kByte = 77, kAlpha = 66;
constexpr TRGB kColour{200, 120, 40}, kByteColour{kByte, kByte, kByte};
const std::uint32_t kColor = ToColor(kColour);

const TFill kFills[] = {
    {"SetValue(color)", [](TQXImageBuffer& f) { f.SetValue(kColor); }, ColorFillFormatOf, kColour,
     false},
    {"SetValue(color, alpha)", [](TQXImageBuffer& f) { f.SetValue(kColor, kAlpha); },
     ColorFillFormatOf, kColour, true},
    {"SetValue(packed)", [](TQXImageBuffer& f) { f.SetValue(QXPackedColor(kColor, kAlpha)); },
     [](TQXVideoFormat) { return vfRGBA32; }, kColour, true},
    {"SetValue(byte)", [](TQXImageBuffer& f) { f.SetValue(kByte); }, ByteFillFormatOf, kByteColour,
     false},
    {"SetValue(byte, alpha)", [](TQXImageBuffer& f) { f.SetValue(kByte, kAlpha); },
     ByteFillFormatOf, kByteColour, true},
    {"SetGrayScale", [](TQXImageBuffer& f) { f.SetGrayScale(kByte); },
     [](TQXVideoFormat) { return vfGrayScale; }, kByteColour, false},
    {"SetAlpha", [](TQXImageBuffer& f) { f.SetAlpha(kAlpha); },
     [](TQXVideoFormat) { return vfRGBA32; }, std::nullopt, true},
};

// Colours are stored as the format holds them, gray as the colour's rounded
// gray; a second holder makes the fill unshare, and keeps its pixels.
TEST(Fills, EveryFillOnEveryFormatAgainstTheModel) {
  for (const TQXVideoFormat format : kAllFormats) {
    for (const TFill& fill : kFills) {
      SCOPED_TRACE(fill.Name + (" on " + testing::PrintToString(format)));
      auto frame = RandomImage(format, 5, 3, 9);
      const THeld held(*frame);
      const TQXVideoFormat ends = fill.FormatOf(format);
      const auto before = Snapshot(*frame, ends);
      fill.Apply(*frame);
      ASSERT_EQ(frame->GetFormat(), ends);
      ExpectPixels(*frame, [&](std::uint32_t x, std::uint32_t y) {
        TRGB colour = fill.Colour.value_or(ColourOf(before->GetPixel(x, y)));
        const int gray = RoundedGray(colour);
        colour = ends == vfGrayScale ? TRGB{gray, gray, gray} : AsIn(ends, colour);
        const bool setsAlpha = fill.SetsAlpha && ends == vfRGBA32;
        return std::pair(colour, setsAlpha ? kAlpha : before->GetAlpha(x, y));
      });
      held.ExpectKept();
    }
  }
}

TEST(Fills, GrayOfAColourRoundsHalvesToEven) {
  auto gray = MakeRef<TQXImageBuffer>(2, 2, vfGrayScale);
  gray->SetValue(QXColorRGB(0, 36, 12));  // 0.587 x 36 + 0.114 x 12 = 22.5
  EXPECT_EQ(gray->GetGrayScale(1, 1), 22);
}

}  // namespace
}  // namespace qx::test
