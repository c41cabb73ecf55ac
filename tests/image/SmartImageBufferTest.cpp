// Storage classes: geometry and its limits, per-pixel accessors against the
// layouts, copies and clones, stamps, and the media subtype mapping.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "PixelModel.h"
#include "image/QXMediaSubtypes.h"
#include "image/QXSmartImageBuffers.h"

namespace qx::test {
namespace {

constexpr TQXVideoFormat kStorageFormats[] = {vfRGB24,  vfYUY2,   vfUYVY,     vfRGBA32,
                                              vfRGB565, vfRGB555, vfGrayScale};

// A storage of `format` whose first bytes are `bytes`; every other byte is `fill`.
TRefPtr<TQXSmartImageBuffer> StorageWith(TQXVideoFormat format, int width, int height,
                                         const std::vector<std::uint8_t>& bytes, int fill = 0) {
  auto storage = QXCreateSmartImageBuffer(format, width, height);
  std::memset(storage->GetData(), fill, storage->GetCharSize());
  if (!bytes.empty()) std::memcpy(storage->GetData(), bytes.data(), bytes.size());
  return storage;
}

std::uint16_t WordAt(const TQXSmartImageBuffer& storage, std::uint32_t x) {
  return static_cast<std::uint16_t>(storage.GetData()[2 * x] | storage.GetData()[2 * x + 1] << 8);
}

TEST(SmartImageGeometry, SizesBeyondTheKernelsRangeGiveAnEmptyFrame) {
  constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();
  const struct {
    TQXVideoFormat format;
    std::uint32_t width, height;
  } unholdable[] = {
      {vfRGB24, kMax, 1},            // the padded width itself overflows 32 bits
      {vfRGBA32, 0x20000000, 1},     // a 2 GiB row: beyond a signed 32-bit step
      {vfGrayScale, 0x30000000, 1},  // its 3-byte rows would be beyond it
      {vfGrayScale, 70000, 70000},   // 4.9 GB: beyond a 32-bit byte size
      {vfYUY2, 2, 0x80000000},       // height beyond a signed 32-bit size
      {vfRGB24, 715827884, 0},       // 3 x ExtWidth > 2^31 - 1
  };
  for (const auto& c : unholdable) {
    auto storage = QXCreateSmartImageBuffer(c.format, c.width, c.height);
    EXPECT_EQ(storage->GetWidth(), 0u);
    EXPECT_EQ(storage->GetHeight(), 0u);
    EXPECT_EQ(storage->GetData(), nullptr);
    // Converting an empty frame gives an empty frame.
    EXPECT_EQ(QXConvertSmartImageBuffer(vfRGBA32, *storage)->GetCharSize(), 0u);
  }
  // The largest RGB24 width whose row fits.
  EXPECT_EQ(QXCreateSmartImageBuffer(vfRGB24, 715827880, 0)->GetWidth(), 715827880u);
}

// Width 7 pads RGB24 rows, and its last 4:2:2 pixel has a U but no V and
// borrows the V of the pair before it, never a byte of the next row; in
// width 1 the pixel's U stands in for V.
TEST(SmartImagePixels, GettersReadTheLayouts) {
  for (TQXVideoFormat format : kStorageFormats) {
    for (const int width : {7, 1}) {
      const auto storage = StorageWith(format, width, 3, RandomFrame(format, width, 3, 40));
      const std::vector<TRGB> expected = Decode(format, storage->GetData(), width, 3);
      for (std::uint32_t i = 0; i < expected.size(); ++i) {
        const std::uint32_t x = i % width, y = i / width;
        const TRGB c = expected[i];
        ASSERT_EQ(storage->GetPixel(x, y), ToColor(c)) << int(format) << " at " << x << "," << y;
        const TRGB channels{storage->GetRed(x, y), storage->GetGreen(x, y), storage->GetBlue(x, y)};
        EXPECT_EQ(ToColor(channels), ToColor(c));
        const std::uint8_t alpha =
            format == vfRGBA32 ? storage->GetData()[y * storage->GetStep() + 4 * x + 3] : 255;
        EXPECT_EQ(storage->GetAlpha(x, y), alpha);
        // RGB24 gray is the conversion's fixed point; gray frames return their byte.
        const int gray = format == vfRGB24 ? FixedPointGray(c) : RoundedGray(c);
        EXPECT_EQ(storage->GetGrayScale(x, y), gray) << int(format);
      }
    }
  }
  // Hand-checked: Y 235 with neutral chroma is (235, 235, 235); Y 0, V 255
  // gives red 127 x 74711 >> 16 = 144.
  auto yuy2 = StorageWith(vfYUY2, 2, 2, {235, 128, 235, 128, 0, 128, 0, 255});
  EXPECT_EQ(yuy2->GetPixel(1, 0), QXColorRGB(235, 235, 235));
  EXPECT_EQ(yuy2->GetPixel(0, 1), QXColorRGB(144, 0, 0));
}

TEST(SmartImagePixels, SettersStoreWhatTheFormatHolds) {
  // 16 bits keep each channel's top bits; channel setters replace only their
  // field; RGB555 clears bit 15 and never reads it.
  auto rgb565 = QXCreateSmartImageBuffer(vfRGB565, 2, 1);
  rgb565->SetPixel(1, 0, QXColorRGB(0x9C, 0x5A, 0x21));  // 10011 010110 00100
  EXPECT_EQ(WordAt(*rgb565, 1), 0b10011'010110'00100);
  rgb565->SetGreen(1, 0, 0x04);
  EXPECT_EQ(WordAt(*rgb565, 1), 0b10011'000001'00100);
  auto rgb555 = StorageWith(vfRGB555, 2, 1, {}, 0xFF);
  EXPECT_EQ(rgb555->GetPixel(1, 0), QXColorRGB(248, 248, 248));
  rgb555->SetPixel(0, 0, QXColorRGB(0x9C, 0x5A, 0x21));
  EXPECT_EQ(WordAt(*rgb555, 0), 0b0'10011'01011'00100);

  auto rgba = StorageWith(vfRGBA32, 2, 1, {}, 0x11);
  rgba->SetPixel(1, 0, QXColorRGB(1, 2, 3));
  const std::uint8_t bgra[4] = {3, 2, 1, 0x11};  // alpha kept
  EXPECT_EQ(0, std::memcmp(rgba->GetData() + 4, bgra, 4));
  // Gray of a colour takes exact halves to the even value.
  rgba->SetPixel(0, 0, QXColorRGB(0, 36, 12));  // 21.132 + 1.368 = 22.5
  EXPECT_EQ(rgba->GetGrayScale(0, 0), 22);
}

TEST(SmartImageCopies, ClonesKeepGeometryAndMediaStampsConversionsNone) {
  for (TQXVideoFormat format : kStorageFormats) {
    SCOPED_TRACE(testing::PrintToString(format));
    auto source = StorageWith(format, 5, 3, RandomFrame(format, 5, 3, 3));
    source->SetTimeStamp({true, 400000, 733333});
    source->SetSequenceStamp({true, 12});
    source->SetTimeCodeAvailable(true);

    const auto kept = source->Clone(true);
    auto* copy = dynamic_cast<TQXSmartImageBuffer*>(kept.Get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetFormat(), format);
    ASSERT_EQ(copy->GetCharSize(), source->GetCharSize());
    EXPECT_NE(copy->GetData(), source->GetData());
    EXPECT_EQ(0, std::memcmp(copy->GetData(), source->GetData(), copy->GetCharSize()));
    EXPECT_EQ(copy->GetTimeStamp(), source->GetTimeStamp());
    EXPECT_EQ(copy->GetSequenceStamp(), source->GetSequenceStamp());
    // The time code belongs to the one storage it was put on.
    EXPECT_FALSE(copy->GetTimeCodeAvailable());

    const auto converted =
        QXConvertSmartImageBuffer(format == vfRGB24 ? vfGrayScale : vfRGB24, *source);
    EXPECT_FALSE(converted->GetTimeStamp().Available);
    // An image cannot be resized by bytes.
    EXPECT_EQ(source->CreateResized(10), nullptr);
  }
}

TEST(MediaSubtypes, FormatsMapToTheirSubtypesAndBack) {
  const std::pair<TQXVideoFormat, const char*> pairs[] = {
      {vfYUY2, "{32595559-0000-0010-8000-00AA00389B71}"},
      {vfUYVY, "{59565955-0000-0010-8000-00AA00389B71}"},
      {vfRGBA32, "{E436EB7E-524F-11CE-9F53-0020AF0BA770}"},
      {vfRGB565, "{E436EB7B-524F-11CE-9F53-0020AF0BA770}"},
      {vfRGB555, "{E436EB7C-524F-11CE-9F53-0020AF0BA770}"},
      {vfGrayScale, "{E436EB7A-524F-11CE-9F53-0020AF0BA770}"},
      {vfRGB24, "{E436EB7D-524F-11CE-9F53-0020AF0BA770}"},
  };
  for (const auto& [format, subtype] : pairs) {
    EXPECT_EQ(QXGetGUIDFromFormat(format), TGUID::Parse(subtype));
    EXPECT_EQ(QXGetFormatFromGUID(TGUID::Parse(subtype)), format);
  }
  EXPECT_EQ(QXGetGUIDFromFormat(vfRGB), QXGetGUIDFromFormat(vfRGB24));
  // Subtypes of no storage format are taken as RGB24.
  EXPECT_EQ(QXGetFormatFromGUID(TGUID::Parse("{30323449-0000-0010-8000-00AA00389B71}")), vfRGB24);
}

}  // namespace
}  // namespace qx::test
