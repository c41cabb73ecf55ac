// Operations of every pixel with one value against a per-channel model, in
// each operand form, on each kind of frame; zero divisors and colour bits
// beyond blue.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "PixelModel.h"

namespace qx::test {
namespace {

enum class TOperandForm { Color, ColorAlpha, Packed };

using TCall = std::function<void(TQXImageBuffer&, TOperandForm, std::uint32_t, std::uint8_t)>;

// One call per operand form from a lambda that forwards its operands to the
// operation's overloads.
template <class Forward>
TCall EveryForm(Forward forward) {
  return [forward](TQXImageBuffer& f, TOperandForm form, std::uint32_t color, std::uint8_t alpha) {
    switch (form) {
      case TOperandForm::Color:
        return forward(f, color);
      case TOperandForm::ColorAlpha:
        return forward(f, color, alpha);
      case TOperandForm::Packed:
        return forward(f, QXPackedColor(color, alpha));
    }
  };
}

struct TValueOperation {
  const char* Name;
  TCall Call;
  std::function<int(int pixel, int operand)> Formula;
  // The range operand bytes are drawn from (shift counts stay near 8).
  int SmallestOperand;
  int LargestOperand;
};

template <class Forward>
TValueOperation Operation(const char* name, Forward forward, std::function<int(int, int)> formula,
                          int smallestOperand = 0, int largestOperand = 255) {
  return {name, EveryForm(forward), std::move(formula), smallestOperand, largestOperand};
}

#define QX_VALUE_OPERATION(name, ...) \
  Operation(                          \
      #name, [](TQXImageBuffer& f, auto... v) { f.name(v...); }, __VA_ARGS__)

const TValueOperation kValueOperations[] = {
    QX_VALUE_OPERATION(AddValue, [](int p, int c) { return AtMost255(HalfEven(p + c)); }),
    QX_VALUE_OPERATION(SubtractValue, [](int p, int c) { return p > c ? HalfEven(p - c) : 0; }),
    QX_VALUE_OPERATION(MultiplyValue, [](int p, int c) { return AtMost255(HalfEven(p * c)); }),
    QX_VALUE_OPERATION(MultiplyScaleValue, [](int p, int c) { return p * c / 255; }),
    // Divisors stay non-zero here; zero has cases of its own.
    QX_VALUE_OPERATION(
        DivideValue,
        [](int p, int c) { return AtMost255(static_cast<int>(std::nearbyint(p / (2.0 * c)))); }, 1),
    QX_VALUE_OPERATION(LAndValue, [](int p, int c) { return p & c; }),
    QX_VALUE_OPERATION(LOrValue, [](int p, int c) { return p | c; }),
    QX_VALUE_OPERATION(LXorValue, [](int p, int c) { return p ^ c; }),
    QX_VALUE_OPERATION(
        LShiftValue, [](int p, int c) { return c > 7 ? 0 : (p * (1 << c)) % 256; }, 0, 9),
    QX_VALUE_OPERATION(
        RShiftValue, [](int p, int c) { return c > 7 ? 0 : p / (1 << c); }, 0, 9),
};

#undef QX_VALUE_OPERATION

// Value operations work on RGB24, RGB and RGBA32; everything else becomes RGB24.
TQXVideoFormat ValueFormatOf(TQXVideoFormat format) {
  return format == vfRGB || format == vfRGBA32 ? format : vfRGB24;
}

// Every operand form on RGBA32, where alpha is kept or combined, and on the
// formats without alpha (operated on as they are or converted first); other
// holders of the storage untouched.
TEST(ValueOperations, EveryOperationAndOperandFormAgainstTheModel) {
  using enum TOperandForm;
  const std::pair<TQXVideoFormat, TOperandForm> cases[] = {
      {vfRGBA32, Color},     {vfRGBA32, ColorAlpha}, {vfRGBA32, Packed},
      {vfRGB24, ColorAlpha}, {vfRGB, Packed},        {vfUYVY, Color}};
  std::mt19937 random(7);
  for (const auto& [format, form] : cases) {
    const TQXVideoFormat ends = ValueFormatOf(format);
    for (const TValueOperation& operation : kValueOperations) {
      SCOPED_TRACE(testing::Message() << operation.Name << " form " << static_cast<int>(form)
                                      << " on " << testing::PrintToString(format));
      std::uniform_int_distribution<int> draw(operation.SmallestOperand, operation.LargestOperand);
      const std::uint32_t color = QXColorRGB(draw(random), draw(random), draw(random));
      const auto alpha = static_cast<std::uint8_t>(draw(random));
      auto image = RandomImage(format, 5, 3, random());
      const THeld held(*image);
      const auto input = Snapshot(*image, ends);
      operation.Call(*image, form, color, alpha);
      ASSERT_EQ(image->GetFormat(), ends);

      // A colour alone keeps alpha, but subtracting one has no alpha-keeping
      // entry: alpha loses 0, then is halved.
      const bool subtracts = std::string(operation.Name) == "SubtractValue";
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

}  // namespace
}  // namespace qx::test
