// Operations of every pixel with one value: each operation, operand form and
// format against a per-channel model; the format the frame ends in; alpha
// kept or combined; other holders of the storage untouched.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ImageOperationsModel.h"

namespace qx::test {
namespace {

using TFormula = std::function<int(int pixel, int operand)>;

struct TValueOperation {
  std::string Name;
  std::function<void(TQXImageBuffer&, std::uint32_t)> WithColor;
  std::function<void(TQXImageBuffer&, std::uint32_t, std::uint8_t)> WithColorAlpha;
  std::function<void(TQXImageBuffer&, TQXPackedColor)> WithPacked;
  TFormula Formula;
  // The largest operand byte drawn (shift counts stay near 8).
  int LargestOperand = 255;
  int SmallestOperand = 0;
};

#define QX_VALUE_OPERATION(name, formula, ...)                                                      \
  TValueOperation {                                                                                 \
#name,                                                                                          \
        [](TQXImageBuffer & f,                                                                      \
           std::uint32_t                                                                            \
               c) { f.name(c); },                                                                   \
                               [](TQXImageBuffer & f, std::uint32_t c,                              \
                                  std::uint8_t                                                      \
                                      a) { f.name(c, a); },                                         \
                                                         [](TQXImageBuffer & f,                     \
                                                            TQXPackedColor                          \
                                                                v) { f.name(v); },                  \
                                                                                formula __VA_OPT__( \
                                                                                    , )             \
                                                                                    __VA_ARGS__     \
  }

const std::vector<TValueOperation>& ValueOperations() {
  static const std::vector<TValueOperation> operations{
      QX_VALUE_OPERATION(AddValue, [](int p, int c) { return AtMost255(HalfEven(p + c)); }),
      QX_VALUE_OPERATION(SubtractValue, [](int p, int c) { return p > c ? HalfEven(p - c) : 0; }),
      QX_VALUE_OPERATION(MultiplyValue, [](int p, int c) { return AtMost255(HalfEven(p * c)); }),
      QX_VALUE_OPERATION(MultiplyScaleValue, [](int p, int c) { return p * c / 255; }),
      // Divisors stay non-zero here; zero has a case of its own.
      QX_VALUE_OPERATION(
          DivideValue,
          [](int p, int c) { return AtMost255(static_cast<int>(std::nearbyint(p / (2.0 * c)))); },
          255, 1),
      QX_VALUE_OPERATION(LAndValue, [](int p, int c) { return p & c; }),
      QX_VALUE_OPERATION(LOrValue, [](int p, int c) { return p | c; }),
      QX_VALUE_OPERATION(LXorValue, [](int p, int c) { return p ^ c; }),
      QX_VALUE_OPERATION(
          LShiftValue, [](int p, int c) { return c > 7 ? 0 : (p * (1 << c)) % 256; }, 9),
      QX_VALUE_OPERATION(
          RShiftValue, [](int p, int c) { return c > 7 ? 0 : p / (1 << c); }, 9),
  };
  return operations;
}

#undef QX_VALUE_OPERATION

enum class TOperandForm { Color, ColorAlpha, Packed };

// Value operations work on RGB24, RGB and RGBA32; everything else becomes RGB24.
TQXVideoFormat ValueFormatOf(TQXVideoFormat format) {
  return format == vfRGB || format == vfRGBA32 ? format : vfRGB24;
}

class ValueOperationTest : public testing::TestWithParam<TQXVideoFormat> {};

TEST_P(ValueOperationTest, EveryOperationAndOperandFormAgainstTheModel) {
  const TQXVideoFormat format = GetParam();
  const TQXVideoFormat ends = ValueFormatOf(format);
  std::mt19937 random(7 + format);
  for (const TValueOperation& operation : ValueOperations()) {
    for (TOperandForm form :
         {TOperandForm::Color, TOperandForm::ColorAlpha, TOperandForm::Packed}) {
      SCOPED_TRACE(operation.Name + " form " + std::to_string(static_cast<int>(form)));
      std::uniform_int_distribution<int> draw(operation.SmallestOperand, operation.LargestOperand);
      const int red = draw(random), green = draw(random), blue = draw(random), alpha = draw(random);
      // A colour reference: red low, blue in the third byte.
      const std::uint32_t color = static_cast<std::uint32_t>(red | green << 8 | blue << 16);

      auto image = RandomImage(format, 5, 3, random());
      auto holder = MakeRef<TQXImageBuffer>(*image);
      const std::vector<std::uint8_t> held = PixelBytes(*holder);
      const std::vector<std::uint8_t> input = BytesIn(*image, ends);

      switch (form) {
        case TOperandForm::Color:
          operation.WithColor(*image, color);
          break;
        case TOperandForm::ColorAlpha:
          operation.WithColorAlpha(*image, color, static_cast<std::uint8_t>(alpha));
          break;
        case TOperandForm::Packed:
          operation.WithPacked(*image,
                               TQXPackedColor(color | static_cast<std::uint32_t>(alpha) << 24));
          break;
      }

      ASSERT_EQ(image->GetFormat(), ends);
      const int channels = ends == vfRGBA32 ? 4 : 3;
      const int operandOf[4] = {blue, green, red, alpha};
      std::vector<std::uint8_t> expected = input;
      for (std::size_t i = 0; i < expected.size(); ++i) {
        const int channel = static_cast<int>(i % channels);
        if (channel < 3 || form != TOperandForm::Color) {
          expected[i] = static_cast<std::uint8_t>(operation.Formula(input[i], operandOf[channel]));
        } else if (operation.Name == "SubtractValue") {
          // Subtracting a colour has no alpha-keeping entry: alpha loses 0, then is halved.
          expected[i] = static_cast<std::uint8_t>(HalfEven(input[i]));
        }
      }
      EXPECT_EQ(PixelBytes(*image), expected);
      EXPECT_EQ(holder->GetFormat(), format);
      EXPECT_EQ(PixelBytes(*holder), held);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllFormats, ValueOperationTest, testing::ValuesIn(kAllFormats),
                         testing::PrintToStringParamName());

TEST(ValueOperationCases, PureRedReachesTheRedByteOnly) {
  // On black pixels halving keeps blue and green at 0; red is (0 + 255) / 2,
  // an exact half that goes to the even 128.
  auto rgb = MakeRef<TQXImageBuffer>(3, 2, vfRGB24);
  rgb->SetValue(std::uint8_t{0});
  rgb->AddValue(QXColorRGB(255, 0, 0));
  for (std::uint32_t x = 0; x < 3; ++x) EXPECT_EQ(rgb->GetPixel(x, 1), QXColorRGB(128, 0, 0));

  auto yuy2 = RandomImage(vfYUY2, 4, 2, 3);
  yuy2->AddValue(QXColorRGB(255, 0, 0));
  EXPECT_EQ(yuy2->GetFormat(), vfRGB24);
}

TEST(ValueOperationCases, ScaledArithmeticHalvesEveryResult) {
  auto frame = MakeRef<TQXImageBuffer>(2, 2, vfRGBA32);
  frame->SetValue(QXPackedColor(QXColorRGB(100, 100, 100), 100));
  frame->AddValue(QXColorRGB(100, 100, 100));
  EXPECT_EQ(frame->GetPixel(1, 1), QXColorRGB(100, 100, 100));
  EXPECT_EQ(frame->GetAlpha(1, 1), 100);
  frame->MultiplyValue(QXColorRGB(2, 2, 2));
  EXPECT_EQ(frame->GetPixel(0, 1), QXColorRGB(100, 100, 100));
}

TEST(ValueOperationCases, ShiftCountsComeFromTheChannelBytes) {
  auto frame = MakeRef<TQXImageBuffer>(2, 1, vfRGB24);
  frame->SetPixel(0, 0, QXColorRGB(0x81, 0x30, 0x0F));
  frame->SetPixel(1, 0, QXColorRGB(0x7F, 0x55, 0xF0));
  frame->LShiftValue(QXColorRGB(1, 0, 0));
  EXPECT_EQ(frame->GetPixel(0, 0), QXColorRGB(0x02, 0x30, 0x0F));  // the carry is dropped
  EXPECT_EQ(frame->GetPixel(1, 0), QXColorRGB(0xFE, 0x55, 0xF0));
  frame->RShiftValue(QXColorRGB(0, 8, 4));
  EXPECT_EQ(frame->GetPixel(0, 0), QXColorRGB(0x02, 0x00, 0x00));
  EXPECT_EQ(frame->GetPixel(1, 0), QXColorRGB(0xFE, 0x00, 0x0F));
}

TEST(ValueOperationCases, DivisionByZeroChannels) {
  // RGB24: a zero divisor gives 255 over a non-zero byte and 0 over zero;
  // the other channels are divided (and halved).
  auto rgb = MakeRef<TQXImageBuffer>(2, 1, vfRGB24);
  rgb->SetPixel(0, 0, QXColorRGB(0, 40, 200));
  rgb->SetPixel(1, 0, QXColorRGB(9, 0, 0));
  rgb->DivideValue(QXColorRGB(0, 5, 10));
  EXPECT_EQ(rgb->GetPixel(0, 0), QXColorRGB(0, 4, 10));
  EXPECT_EQ(rgb->GetPixel(1, 0), QXColorRGB(255, 0, 0));

  // RGBA32 with a colour: the alpha-keeping division refuses a zero channel
  // and leaves the frame as it was; a packed divisor divides all four bytes.
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

TEST(ValueOperationCases, EmptyFramesStayEmpty) {
  for (TQXVideoFormat format : kAllFormats) {
    auto empty = MakeRef<TQXImageBuffer>(0, 0, format);
    empty->AddValue(QXColorRGB(1, 2, 3));
    empty->LShiftValue(TQXPackedColor(0x01010101));
    EXPECT_EQ(empty->GetByteSize(), 0u);
    EXPECT_EQ(empty->GetFormat(), ValueFormatOf(format));
  }
}

}  // namespace
}  // namespace qx::test
