// Every conversion between storage formats against the independent model of
// PixelModel.h, on small frames of random bytes whose widths exercise RGB24
// padding and the odd-width 4:2:2 rules; and the properties conversions must
// keep beside the model (a primary stays that primary through 4:2:2).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "PixelModel.h"
#include "image/QXImageBuffer.h"
#include "image/QXSmartImageBuffers.h"

namespace qx::test {
namespace {

constexpr TQXVideoFormat kStorageFormats[] = {vfRGB24,  vfYUY2,   vfUYVY,     vfRGBA32,
                                              vfRGB565, vfRGB555, vfGrayScale};

std::string Name(TQXVideoFormat f) { return testing::PrintToString(f); }

// A storage of `format` holding `bytes` (a whole frame, padding included).
TRefPtr<TQXSmartImageBuffer> StorageWith(TQXVideoFormat format, int width, int height,
                                         const std::vector<std::uint8_t>& bytes) {
  auto storage = QXCreateSmartImageBuffer(format, width, height);
  EXPECT_EQ(storage->GetCharSize(), bytes.size());
  std::memcpy(storage->GetData(), bytes.data(), bytes.size());
  return storage;
}

// What converting a frame of `from` with raw `bytes` to `to` must give.
std::vector<std::uint8_t> Expected(TQXVideoFormat from, TQXVideoFormat to, int width, int height,
                                   const std::vector<std::uint8_t>& bytes) {
  const bool yuvFrom = from == vfYUY2 || from == vfUYVY;
  const bool yuvTo = to == vfYUY2 || to == vfUYVY;
  if (yuvFrom && yuvTo) {
    // Only the bytes of each 16-bit word change places.
    std::vector<std::uint8_t> swapped(bytes);
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    return swapped;
  }
  return Encode(to, Decode(from, bytes.data(), width, height), width, height);
}

using TPair = std::tuple<TQXVideoFormat, TQXVideoFormat, int, int>;

class FormatConversion : public ::testing::TestWithParam<TPair> {};

TEST_P(FormatConversion, MatchesThePerPixelDefinition) {
  const auto [from, to, width, height] = GetParam();
  const std::vector<std::uint8_t> bytes = RandomFrame(from, width, height, 7 * from + to);
  const auto source = StorageWith(from, width, height, bytes);
  const auto converted = QXConvertSmartImageBuffer(to, *source);

  ASSERT_EQ(converted->GetFormat(), to);
  ASSERT_EQ(converted->GetWidth(), static_cast<std::uint32_t>(width));
  ASSERT_EQ(converted->GetHeight(), static_cast<std::uint32_t>(height));
  ASSERT_EQ(converted->GetCharSize(), static_cast<std::size_t>(StepOf(to, width)) * height);
  const std::vector<std::uint8_t> expected = Expected(from, to, width, height, bytes);
  for (int y = 0; y < height; ++y) {
    EXPECT_EQ(RowBytes(to, converted->GetData(), width, y), RowBytes(to, expected.data(), width, y))
        << "row " << y;
  }
  // The source is only read.
  EXPECT_EQ(0, std::memcmp(source->GetData(), bytes.data(), bytes.size()));
}

std::vector<TPair> AllPairs() {
  std::vector<TPair> pairs;
  // 7 x 3: padded RGB24 rows and an odd 4:2:2 width; 1 x 2: a pixel per row;
  // 40 x 5: several pairs.
  const int sizes[][2] = {{7, 3}, {1, 2}, {40, 5}};
  for (TQXVideoFormat from : kStorageFormats)
    for (TQXVideoFormat to : kStorageFormats)
      for (const auto& size : sizes)
        if (from != to) pairs.emplace_back(from, to, size[0], size[1]);
  return pairs;
}

std::string PairName(const ::testing::TestParamInfo<TPair>& info) {
  const auto [from, to, width, height] = info.param;
  return std::string(Name(from)) + "To" + Name(to) + "_" + std::to_string(width) + "x" +
         std::to_string(height);
}

INSTANTIATE_TEST_SUITE_P(AllPairs, FormatConversion, ::testing::ValuesIn(AllPairs()), PairName);

// A conversion taller than one band of temporaries is still one frame's result.
TEST(FormatConversionBands, TallFramesConvertAcrossBands) {
  constexpr int width = 333, height = 301;
  for (TQXVideoFormat from : {vfUYVY, vfRGBA32, vfRGB565}) {
    const std::vector<std::uint8_t> bytes = RandomFrame(from, width, height, 99);
    const auto source = StorageWith(from, width, height, bytes);
    for (TQXVideoFormat to : {vfYUY2, vfUYVY, vfRGBA32, vfGrayScale}) {
      if (to == from) continue;
      const auto converted = QXConvertSmartImageBuffer(to, *source);
      const std::vector<std::uint8_t> expected = Expected(from, to, width, height, bytes);
      for (int y = 0; y < height; y += 37) {
        ASSERT_EQ(RowBytes(to, converted->GetData(), width, y),
                  RowBytes(to, expected.data(), width, y))
            << Name(from) << " to " << Name(to) << ", row " << y;
      }
    }
  }
}

// The vfRGB tag at the image buffer: a conversion from and to it is the
// RGB24 one, and RGB24 <-> vfRGB leaves the pixels where they are.
TEST(FormatConversionRGBTag, ConvertsLikeRGB24) {
  constexpr int width = 5, height = 2;
  const std::vector<std::uint8_t> rgb = RandomFrame(vfRGB, width, height, 5);
  for (TQXVideoFormat to : kStorageFormats) {
    auto frame = MakeRef<TQXImageBuffer>(rgb.data(), width, height, vfRGB);
    frame->SetFormat(to);
    EXPECT_EQ(frame->GetFormat(), to);
    const std::vector<std::uint8_t> expected = Expected(vfRGB24, to, width, height, rgb);
    EXPECT_EQ(RowBytes(to, frame->Read(), width, 1), RowBytes(to, expected.data(), width, 1))
        << Name(to);

    const std::vector<std::uint8_t> source = RandomFrame(to, width, height, 6);
    auto back = MakeRef<TQXImageBuffer>(source.data(), width, height, to);
    back->SetFormat(vfRGB);
    EXPECT_EQ(back->GetFormat(), vfRGB);
    const std::vector<std::uint8_t> expectedBack =
        to == vfRGB24 ? source : Expected(to, vfRGB24, width, height, source);
    EXPECT_EQ(RowBytes(vfRGB, back->Read(), width, 1),
              RowBytes(vfRGB, expectedBack.data(), width, 1))
        << Name(to);
  }
}

// Through 4:2:2 a primary stays the same primary (red does not become blue):
// its own channel dominant, the others low. Saturated chroma clamps, so pure
// red comes back as (220, 17, 0).
TEST(FormatConversionProperties, PrimariesSurviveA422RoundTrip) {
  for (TQXVideoFormat via : {vfYUY2, vfUYVY}) {
    for (int channel = 0; channel < 3; ++channel) {
      TRGB color;
      (channel == 0 ? color.r : channel == 1 ? color.g : color.b) = 255;
      auto frame = MakeRef<TQXImageBuffer>(8, 2, vfRGB24);
      frame->SetValue(ToColor(color));
      frame->SetFormat(via);
      frame->SetFormat(vfRGB24);
      const int values[3] = {frame->GetRed(2, 1), frame->GetGreen(2, 1), frame->GetBlue(2, 1)};
      for (int other = 0; other < 3; ++other) {
        if (other == channel) {
          EXPECT_GE(values[other], 200) << Name(via) << " channel " << channel;
        } else {
          EXPECT_LE(values[other], 40) << Name(via) << " channel " << channel;
        }
      }
    }
  }
}

}  // namespace
}  // namespace qx::test
