// Every conversion between storage formats against the independent model of
// PixelModel.h, on small frames of random bytes whose widths exercise RGB24
// padding and the odd-width 4:2:2 rules, and frames taller than one band.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PixelModel.h"
#include "image/QXSmartImageBuffers.h"

namespace qx::test {
namespace {

constexpr TQXVideoFormat kStorageFormats[] = {vfRGB24,  vfYUY2,   vfUYVY,     vfRGBA32,
                                              vfRGB565, vfRGB555, vfGrayScale};

bool Is422(TQXVideoFormat f) { return f == vfYUY2 || f == vfUYVY; }

// The pixel bytes that converting a frame of `from` with raw `bytes` to `to` must give.
std::vector<std::uint8_t> Expected(TQXVideoFormat from, TQXVideoFormat to, int width, int height,
                                   std::vector<std::uint8_t> bytes) {
  if (Is422(from) && Is422(to)) {
    // Only the bytes of each 16-bit word change places.
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
  } else {
    bytes = Encode(to, Decode(from, bytes.data(), width, height), width, height);
  }
  return Unpadded(to, bytes.data(), width, height);
}

// Converts random frames of `from` to `to` and checks them against the model.
void ExpectConversion(TQXVideoFormat from, TQXVideoFormat to, int width, int height) {
  SCOPED_TRACE(testing::Message() << testing::PrintToString(from) << " to "
                                  << testing::PrintToString(to) << ", " << width << "x" << height);
  const std::vector<std::uint8_t> bytes = RandomFrame(from, width, height, 7 * from + to + width);
  const auto source = QXCreateSmartImageBuffer(from, width, height);
  ASSERT_EQ(source->GetCharSize(), bytes.size());
  std::memcpy(source->GetData(), bytes.data(), bytes.size());
  const auto converted = QXConvertSmartImageBuffer(to, *source);

  ASSERT_EQ(converted->GetFormat(), to);
  ASSERT_EQ(converted->GetWidth(), static_cast<std::uint32_t>(width));
  ASSERT_EQ(converted->GetCharSize(), static_cast<std::size_t>(StepOf(to, width)) * height);
  EXPECT_EQ(Unpadded(to, converted->GetData(), width, height),
            Expected(from, to, width, height, bytes));
  EXPECT_EQ(0, std::memcmp(source->GetData(), bytes.data(), bytes.size()));  // only read
}

TEST(FormatConversion, EveryPairMatchesThePerPixelDefinition) {
  // 7 x 3: padded RGB24 rows and an odd 4:2:2 width; 1 x 2: a pixel per row.
  for (TQXVideoFormat from : kStorageFormats) {
    for (TQXVideoFormat to : kStorageFormats) {
      if (from == to) continue;
      ExpectConversion(from, to, 7, 3);
      ExpectConversion(from, to, 1, 2);
    }
  }
}

// A conversion taller than one band of temporaries is still one frame's result.
TEST(FormatConversion, TallFramesConvertAcrossBands) {
  ExpectConversion(vfUYVY, vfRGBA32, 333, 301);
  ExpectConversion(vfRGB565, vfYUY2, 333, 301);
  ExpectConversion(vfRGBA32, vfGrayScale, 333, 301);
}

}  // namespace
}  // namespace qx::test
