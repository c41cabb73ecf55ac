// Operations between two frames and alpha compositing against per-pixel
// models over the common region, on pairs of formats that show each way two
// frames meet: the format this frame ends in, and every other holder of
// either storage untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "PixelModel.h"

namespace qx::test {
namespace {

struct TFrameOperation {
  std::string Name;
  std::function<void(TQXImageBuffer&, const IQXImageBuffer&)> InPlace;
  std::function<void(TQXImageBuffer&, const IQXImageBuffer&, const IQXImageBuffer&)> FromTwo;
  // The byte of this frame after the operation, from its byte and the other's.
  std::function<int(int mine, int other)> Formula;
};

// Both entries of an operation from a lambda that forwards its frames.
template <class Forward>
TFrameOperation Operation(std::string name, Forward forward, std::function<int(int, int)> formula) {
  return {std::move(name), forward, forward, std::move(formula)};
}

#define QX_FRAME_OPERATION(name, formula) \
  Operation(                              \
      #name, [](TQXImageBuffer& f, const auto&... frames) { f.name(frames...); }, formula)

const TFrameOperation kFrameOperations[] = {
    QX_FRAME_OPERATION(Add, [](int t, int b) { return AtMost255(HalfEven(t + b)); }),
    QX_FRAME_OPERATION(Subtract, [](int t, int b) { return t > b ? HalfEven(t - b) : 0; }),
    QX_FRAME_OPERATION(Multiply, [](int t, int b) { return AtMost255(HalfEven(t * b)); }),
    QX_FRAME_OPERATION(MultiplyScale, [](int t, int b) { return t * b / 255; }),
    QX_FRAME_OPERATION(Divide,
                       [](int t, int b) {
                         if (b == 0) return t > 0 ? 255 : 0;
                         return AtMost255(static_cast<int>(std::nearbyint(t / (2.0 * b))));
                       }),
    QX_FRAME_OPERATION(AbsDiff, [](int t, int b) { return std::abs(t - b); }),
    QX_FRAME_OPERATION(LAnd, [](int t, int b) { return t & b; }),
    QX_FRAME_OPERATION(LOr, [](int t, int b) { return t | b; }),
    QX_FRAME_OPERATION(LXor, [](int t, int b) { return t ^ b; }),
};

#undef QX_FRAME_OPERATION

// Where two frames meet: one format both are read in.
TQXVideoFormat CombinedFormat(TQXVideoFormat mine, TQXVideoFormat other) {
  if (mine != other) return mine == vfRGBA32 ? vfRGBA32 : vfRGB24;
  const bool packed = mine == vfYUY2 || mine == vfUYVY || mine == vfRGB565 || mine == vfRGB555;
  return packed ? vfRGB24 : mine;
}

// Pairs of formats showing each way two frames meet: the same format kept
// (RGB24, the vfRGB tag, RGBA32, gray) or brought to RGB24 (4:2:2, 16 bits);
// different formats in RGBA32 when this frame is RGBA32, in RGB24 otherwise.
struct TFormatPair {
  TQXVideoFormat Mine, Other;
};
const TFormatPair kFormatPairs[] = {
    {vfRGB24, vfRGB24}, {vfRGB, vfRGB},       {vfRGBA32, vfRGBA32}, {vfGrayScale, vfGrayScale},
    {vfYUY2, vfYUY2},   {vfRGB565, vfRGB565}, {vfRGBA32, vfUYVY},   {vfGrayScale, vfRGBA32},
    {vfRGB, vfRGB24},   {vfRGB555, vfRGB565},
};

// In place, from two frames into a third, and, for a frame of one format,
// with itself and with a twin sharing its storage as the operand: each gives
// the model's result, and every other holder keeps its pixels.
TEST(FrameOperations, EveryOperationOnEachPairOfFormats) {
  std::uint32_t seed = 100;
  for (const TFrameOperation& operation : kFrameOperations) {
    for (const TFormatPair& pair : kFormatPairs) {
      // Each frame is larger in one direction: the common region is 5 x 4.
      for (const bool mineWider : {true, false}) {
        SCOPED_TRACE(operation.Name + " on " + testing::PrintToString(pair.Mine) + " with " +
                     testing::PrintToString(pair.Other) + (mineWider ? ", this wider" : ""));
        const int width = mineWider ? 7 : 5, height = mineWider ? 4 : 6;
        const int otherWidth = mineWider ? 5 : 6, otherHeight = mineWider ? 5 : 4;
        auto mine = RandomImage(pair.Mine, width, height, ++seed);
        auto other = RandomImage(pair.Other, otherWidth, otherHeight, ++seed);
        const THeld mineHeld(*mine), otherHeld(*other);
        const TQXVideoFormat format = CombinedFormat(pair.Mine, pair.Other);
        const auto mineIn = Snapshot(*mine, format), otherIn = Snapshot(*other, format);

        auto third = RandomImage(vfYUY2, 2, 2, seed);
        operation.FromTwo(*third, *mine, *other);
        mineHeld.ExpectKeptBy(*mine);
        operation.InPlace(*mine, *other);
        for (const auto& result : {mine, third}) {
          ASSERT_EQ(result->GetFormat(), format);
          ExpectCombined(*result, *mineIn, *otherIn, operation.Formula);
        }
        mineHeld.ExpectKept();
        otherHeld.ExpectKept();
        otherHeld.ExpectKeptBy(*other);
        if (pair.Mine != pair.Other || !mineWider) continue;

        auto twin = MakeRef<TQXImageBuffer>(*other);
        operation.InPlace(*twin, *other);
        operation.InPlace(*other, *other);
        for (const auto& result : {twin, other}) {
          ExpectCombined(*result, *otherIn, *otherIn, operation.Formula);
        }
        otherHeld.ExpectKept();
      }
    }
  }
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
