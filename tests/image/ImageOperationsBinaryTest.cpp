// Operations of a frame with another frame or with one value, and alpha
// compositing, against a per-channel model on each way the operands meet.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "PixelModel.h"

namespace qx::test {
namespace {

enum class TOperandForm { Color, ColorAlpha, Packed };

// An operation with another frame and with one value (either may be missing),
// and the byte it gives from the frame's byte and the operand's.
struct TOperation {
  std::string Name;
  std::function<void(TQXImageBuffer&, const IQXImageBuffer&)> WithFrame;
  std::function<void(TQXImageBuffer&, const IQXImageBuffer&, const IQXImageBuffer&)> FromTwo;
  std::function<void(TQXImageBuffer&, TOperandForm, std::uint32_t, std::uint8_t)> WithValue;
  std::function<int(int mine, int operand)> Formula;
  // The range value operand bytes are drawn from (shift counts stay near 8).
  int SmallestValue = 0, LargestValue = 255;
};

// The overload of an operation with a value for each operand form.
template <class Forward>
auto InForm(Forward forward) {
  return [forward](TQXImageBuffer& f, TOperandForm form, std::uint32_t color, std::uint8_t alpha) {
    if (form == TOperandForm::Color) return forward(f, color);
    if (form == TOperandForm::ColorAlpha) return forward(f, color, alpha);
    return forward(f, QXPackedColor(color, alpha));
  };
}

// Halved and rounded to even; a zero divisor gives 255 over a non-zero byte.
int Divided(int t, int b) {
  if (b == 0) return t > 0 ? 255 : 0;
  return AtMost255(static_cast<int>(std::nearbyint(t / (2.0 * b))));
}

#define QX_WITH_FRAME(name) [](TQXImageBuffer& f, const auto&... frames) { f.name(frames...); }
#define QX_WITH_VALUE(name) InForm([](TQXImageBuffer& f, auto... v) { f.name(v...); })
#define QX_OPERATION(name, ...) \
  { #name, QX_WITH_FRAME(name), QX_WITH_FRAME(name), QX_WITH_VALUE(name##Value), __VA_ARGS__ }
#define QX_FRAME_ONLY(name, formula) \
  { #name, QX_WITH_FRAME(name), QX_WITH_FRAME(name), {}, formula }
#define QX_VALUE_ONLY(name, ...) \
  { #name, {}, {}, QX_WITH_VALUE(name), __VA_ARGS__ }

const TOperation kOperations[] = {
    QX_OPERATION(Add, [](int t, int b) { return AtMost255(HalfEven(t + b)); }),
    QX_OPERATION(Subtract, [](int t, int b) { return t > b ? HalfEven(t - b) : 0; }),
    QX_OPERATION(Multiply, [](int t, int b) { return AtMost255(HalfEven(t * b)); }),
    QX_OPERATION(MultiplyScale, [](int t, int b) { return t * b / 255; }),
    // Value divisors stay non-zero: RGBA32 refuses a zero channel (a case below).
    QX_OPERATION(Divide, Divided, 1),
    QX_OPERATION(LAnd, [](int t, int b) { return t & b; }),
    QX_OPERATION(LOr, [](int t, int b) { return t | b; }),
    QX_OPERATION(LXor, [](int t, int b) { return t ^ b; }),
    QX_FRAME_ONLY(AbsDiff, [](int t, int b) { return std::abs(t - b); }),
    QX_VALUE_ONLY(
        LShiftValue, [](int p, int c) { return c > 7 ? 0 : (p * (1 << c)) % 256; }, 0, 9),
    QX_VALUE_ONLY(
        RShiftValue, [](int p, int c) { return c > 7 ? 0 : p / (1 << c); }, 0, 9),
};

#undef QX_VALUE_ONLY
#undef QX_FRAME_ONLY
#undef QX_OPERATION
#undef QX_WITH_VALUE
#undef QX_WITH_FRAME

// Where two frames meet: one format both are read in.
TQXVideoFormat CombinedFormat(TQXVideoFormat mine, TQXVideoFormat other) {
  if (mine != other) return mine == vfRGBA32 ? vfRGBA32 : vfRGB24;
  const bool packed = mine == vfYUY2 || mine == vfUYVY || mine == vfRGB565 || mine == vfRGB555;
  return packed ? vfRGB24 : mine;
}

// Pairs of formats showing each way two frames meet: the same format kept
// (RGB24, the vfRGB tag, RGBA32, gray) or brought to RGB24 (4:2:2, 16 bits);
// different formats in RGBA32 when this frame is RGBA32, in RGB24 otherwise.
const std::pair<TQXVideoFormat, TQXVideoFormat> kFormatPairs[] = {
    {vfRGB24, vfRGB24}, {vfRGB, vfRGB},       {vfRGBA32, vfRGBA32}, {vfGrayScale, vfGrayScale},
    {vfYUY2, vfYUY2},   {vfRGB565, vfRGB565}, {vfRGBA32, vfUYVY},   {vfGrayScale, vfRGBA32},
    {vfRGB, vfRGB24},   {vfRGB555, vfRGB565},
};

// In place, from two frames into a third, and, for a frame of one format,
// with itself and with a twin sharing its storage as the operand. This frame
// is wider and the other taller: the common region is 5 x 4.
TEST(FrameOperations, EveryOperationOnEachPairOfFormats) {
  std::uint32_t seed = 100;
  for (const TOperation& operation : kOperations) {
    if (!operation.WithFrame) continue;
    for (const auto& [mineFormat, otherFormat] : kFormatPairs) {
      SCOPED_TRACE(operation.Name + " on " + testing::PrintToString(mineFormat) + " with " +
                   testing::PrintToString(otherFormat));
      auto mine = RandomImage(mineFormat, 7, 4, ++seed);
      auto other = RandomImage(otherFormat, 5, 6, ++seed);
      const THeld mineHeld(*mine), otherHeld(*other);
      const TQXVideoFormat format = CombinedFormat(mineFormat, otherFormat);
      const auto mineIn = Snapshot(*mine, format), otherIn = Snapshot(*other, format);

      auto third = RandomImage(vfYUY2, 2, 2, seed);
      operation.FromTwo(*third, *mine, *other);
      mineHeld.ExpectKeptBy(*mine);
      operation.WithFrame(*mine, *other);
      for (const auto& result : {mine, third}) {
        ASSERT_EQ(result->GetFormat(), format);
        ExpectCombined(*result, *mineIn, *otherIn, operation.Formula);
      }
      mineHeld.ExpectKept();
      otherHeld.ExpectKept();
      otherHeld.ExpectKeptBy(*other);
      if (mineFormat != otherFormat) continue;

      auto twin = MakeRef<TQXImageBuffer>(*other);
      operation.WithFrame(*twin, *other);
      operation.WithFrame(*other, *other);
      for (const auto& result : {twin, other}) {
        ExpectCombined(*result, *otherIn, *otherIn, operation.Formula);
      }
      otherHeld.ExpectKept();
    }
  }
}

// Value operations work on RGB24, RGB and RGBA32; everything else becomes RGB24.
TQXVideoFormat ValueFormatOf(TQXVideoFormat format) {
  return format == vfRGB || format == vfRGBA32 ? format : vfRGB24;
}

// Every operand form on RGBA32, where alpha is kept or combined, and one on
// each path without alpha (RGB24, the vfRGB tag, converted first).
TEST(ValueOperations, EveryOperationAndOperandFormAgainstTheModel) {
  using enum TOperandForm;
  const std::pair<TQXVideoFormat, TOperandForm> cases[] = {
      {vfRGBA32, Color},     {vfRGBA32, ColorAlpha}, {vfRGBA32, Packed},
      {vfRGB24, ColorAlpha}, {vfRGB, Packed},        {vfUYVY, Color}};
  std::mt19937 random(7);
  for (const auto& [format, form] : cases) {
    const TQXVideoFormat ends = ValueFormatOf(format);
    for (const TOperation& operation : kOperations) {
      if (!operation.WithValue) continue;
      SCOPED_TRACE(testing::Message() << operation.Name << " form " << static_cast<int>(form)
                                      << " on " << testing::PrintToString(format));
      std::uniform_int_distribution<int> draw(operation.SmallestValue, operation.LargestValue);
      const std::uint32_t color = QXColorRGB(draw(random), draw(random), draw(random));
      const auto alpha = static_cast<std::uint8_t>(draw(random));
      auto image = RandomImage(format, 5, 3, random());
      const THeld held(*image);
      const auto input = Snapshot(*image, ends);
      operation.WithValue(*image, form, color, alpha);
      ASSERT_EQ(image->GetFormat(), ends);

      // A colour alone keeps alpha, but subtracting one has no alpha-keeping
      // entry: alpha loses 0, then is halved.
      const bool subtracts = operation.Name == "Subtract";
      auto operand = MakeRef<TQXImageBuffer>(5, 3, vfRGBA32);
      operand->SetValue(QXPackedColor(color, form == Color ? 0 : alpha));
      ExpectCombined(*image, *input, *operand, operation.Formula, form != Color || subtracts);
      held.ExpectKept();
    }
  }
}

TEST(ValueOperationCases, DivisionByZeroChannels) {
  // RGBA32 with a colour: the alpha-keeping division refuses a zero channel
  // and leaves the frame as it was; a divisor with alpha divides all four bytes.
  auto rgba = MakeRef<TQXImageBuffer>(2, 1, vfRGBA32);
  rgba->SetValue(QXPackedColor(QXColorRGB(0, 40, 200), 90));
  const std::vector<std::uint8_t> before = PixelBytes(*rgba);
  rgba->DivideValue(QXColorRGB(0, 5, 10));
  EXPECT_EQ(PixelBytes(*rgba), before);
  rgba->DivideValue(QXColorRGB(0, 5, 10), 3);
  EXPECT_EQ(rgba->GetPixel(1, 0), QXColorRGB(0, 4, 10));
  EXPECT_EQ(rgba->GetAlpha(1, 0), 15);
}

TEST(ValueOperationCases, ColourBitsAboveBlueNeverReachAlpha) {
  auto frame = MakeRef<TQXImageBuffer>(1, 1, vfRGBA32);
  frame->SetValue(QXPackedColor(0, 0));
  frame->LOrValue(0xFF000000u | QXColorRGB(1, 2, 3), 0x10);
  EXPECT_EQ(frame->GetPixel(0, 0), QXColorRGB(1, 2, 3));
  EXPECT_EQ(frame->GetAlpha(0, 0), 0x10);
}

// Empty frames and operands are sound: nothing changes, an empty frame stays
// empty in the format the operation works in.
TEST(FrameOperations, EmptyFramesAndOperandsChangeNothing) {
  auto frame = RandomImage(vfRGBA32, 3, 3, 41);
  const std::vector<std::uint8_t> before = PixelBytes(*frame);
  frame->Add(*MakeRef<TQXImageBuffer>(0, 0, vfRGBA32));
  frame->AlphaComp(*MakeRef<TQXImageBuffer>(0, 5, vfRGBA32), acoOver);
  frame->LNot(*MakeRef<TQXImageBuffer>(5, 0, vfRGBA32));
  EXPECT_EQ(PixelBytes(*frame), before);
  auto empty = MakeRef<TQXImageBuffer>(0, 0, vfYUY2);
  empty->AddValue(QXColorRGB(1, 2, 3));
  empty->Sqr();
  empty->LXor(*frame);
  EXPECT_EQ(empty->GetByteSize(), 0u);
  EXPECT_EQ(empty->GetFormat(), vfRGB24);
}

// Each compositing operation on one pixel, hand-checked: upper colour 200 with
// alpha 128 over lower colour 100 with alpha 64 (x / 255 rounded down at each
// step: upper 100, lower 25, upper alpha 128, lower alpha 64; over adds 12 and
// 31 of the lower one). The pixel beside it lies outside the upper frame.
TEST(AlphaCompositing, EachOperationOnTheCommonRegion) {
  const std::tuple<TQXAlphaCompOperation, int, int> cases[] = {
      {acoOver, 112, 159}, {acoIn, 25, 32},   {acoOut, 74, 95},
      {acoATop, 37, 63},   {acoXor, 86, 126}, {acoPlus, 125, 192}};
  auto upper = MakeRef<TQXImageBuffer>(1, 1, vfRGBA32);
  upper->SetValue(QXPackedColor(QXColorRGB(200, 200, 200), 128));
  for (const auto& [operation, colour, alpha] : cases) {
    SCOPED_TRACE(testing::Message() << "operation " << int(operation));
    auto lower = MakeRef<TQXImageBuffer>(2, 1, vfRGBA32);
    lower->SetValue(QXPackedColor(QXColorRGB(100, 100, 100), 64));
    lower->AlphaComp(*upper, operation);
    EXPECT_EQ(lower->GetPixel(0, 0), QXColorRGB(colour, colour, colour));
    EXPECT_EQ(lower->GetAlpha(0, 0), alpha);
    EXPECT_EQ(lower->GetPixel(1, 0), QXColorRGB(100, 100, 100));
    EXPECT_EQ(lower->GetAlpha(1, 0), 64);
  }
  // Frames of other formats meet in RGBA32, opaque: the upper one covers, and
  // is only read.
  auto gray = MakeRef<TQXImageBuffer>(2, 1, vfGrayScale);
  gray->SetValue(std::uint8_t{50});
  auto top = MakeRef<TQXImageBuffer>(1, 1, vfRGB565);
  top->SetValue(QXColorRGB(8, 16, 24));
  gray->AlphaComp(*top, acoOver);
  EXPECT_EQ(gray->GetFormat(), vfRGBA32);
  EXPECT_EQ(gray->GetPixel(0, 0), QXColorRGB(8, 16, 24));
  EXPECT_EQ(gray->GetPixel(1, 0), QXColorRGB(50, 50, 50));
  EXPECT_EQ(gray->GetAlpha(0, 0), 255);
  EXPECT_EQ(top->GetFormat(), vfRGB565);
}

}  // namespace
}  // namespace qx::test
