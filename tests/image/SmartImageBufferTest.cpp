// Storage classes: geometry and its limits, per-pixel accessors against the
// layouts, copies and clones, stamps, and the media subtype mapping.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "PixelModel.h"
#include "image/QXMediaSubtypes.h"
#include "image/QXSmartImageBuffers.h"

namespace qx::test {
namespace {

constexpr TQXVideoFormat kStorageFormats[] = {vfRGB24,  vfYUY2,   vfUYVY,     vfRGBA32,
                                              vfRGB565, vfRGB555, vfGrayScale};

TRefPtr<TQXSmartImageBuffer> RandomStorage(TQXVideoFormat format, int width, int height,
                                           std::uint32_t seed) {
  auto storage = QXCreateSmartImageBuffer(format, width, height);
  const std::vector<std::uint8_t> bytes = RandomFrame(format, width, height, seed);
  std::memcpy(storage->GetData(), bytes.data(), bytes.size());
  return storage;
}

std::uint16_t WordAt(const TQXSmartImageBuffer& storage, std::uint32_t x, std::uint32_t y) {
  const std::uint8_t* p = storage.GetData() + y * storage.GetStep() + 2 * x;
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

TEST(SmartImageGeometry, RowsAndSizesFollowTheLayouts) {
  struct Case {
    TQXVideoFormat format;
    std::uint32_t width, extWidth, step, bytesPerPixel;
  };
  const Case cases[] = {
      {vfRGB24, 1, 4, 12, 3}, {vfRGB24, 4, 4, 12, 3},    {vfRGB24, 321, 324, 972, 3},
      {vfRGB, 5, 8, 24, 3},   {vfYUY2, 6, 6, 12, 2},     {vfYUY2, 7, 7, 14, 2},
      {vfUYVY, 3, 3, 6, 2},   {vfRGBA32, 5, 5, 20, 4},   {vfRGB565, 3, 3, 6, 2},
      {vfRGB555, 3, 3, 6, 2}, {vfGrayScale, 5, 5, 5, 1},
  };
  for (const Case& c : cases) {
    auto storage = QXCreateSmartImageBuffer(c.format, c.width, 3);
    EXPECT_EQ(storage->GetFormat(), c.format == vfRGB ? vfRGB24 : c.format);
    EXPECT_EQ(storage->GetWidth(), c.width);
    EXPECT_EQ(storage->GetExtWidth(), c.extWidth);
    EXPECT_EQ(storage->GetHeight(), 3u);
    EXPECT_EQ(storage->GetBytesPerPixel(), c.bytesPerPixel);
    EXPECT_EQ(storage->GetStep(), c.step);
    EXPECT_EQ(storage->GetCharSize(), c.step * 3);
    EXPECT_EQ(storage->GetPixelSize(), c.width * 3 * 3);
  }
  // Values outside the enumeration are held as RGB24.
  EXPECT_EQ(QXCreateSmartImageBuffer(static_cast<TQXVideoFormat>(200), 2, 2)->GetFormat(), vfRGB24);
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
  };
  for (const auto& c : unholdable) {
    auto storage = QXCreateSmartImageBuffer(c.format, c.width, c.height);
    EXPECT_EQ(storage->GetWidth(), 0u);
    EXPECT_EQ(storage->GetHeight(), 0u);
    EXPECT_EQ(storage->GetCharSize(), 0u);
    EXPECT_EQ(storage->GetData(), nullptr);
    // Converting an empty frame gives an empty frame.
    EXPECT_EQ(QXConvertSmartImageBuffer(vfRGBA32, *storage)->GetCharSize(), 0u);
  }
  // The largest RGB24 width whose row fits: 3 x ExtWidth <= 2^31 - 1.
  EXPECT_EQ(QXCreateSmartImageBuffer(vfRGB24, 715827880, 0)->GetWidth(), 715827880u);
  EXPECT_EQ(QXCreateSmartImageBuffer(vfRGB24, 715827884, 0)->GetWidth(), 0u);
}

TEST(SmartImagePixels, GettersReadTheLayouts) {
  constexpr int width = 7, height = 3;
  for (TQXVideoFormat format : kStorageFormats) {
    const auto storage = RandomStorage(format, width, height, 40 + format);
    const std::vector<TRGB> expected = Decode(format, storage->GetData(), width, height);
    for (std::uint32_t y = 0; y < height; ++y) {
      for (std::uint32_t x = 0; x < width; ++x) {
        const TRGB c = expected[y * width + x];
        ASSERT_EQ(storage->GetPixel(x, y), ToColor(c)) << int(format) << " at " << x << "," << y;
        EXPECT_EQ(storage->GetRed(x, y), c.r);
        EXPECT_EQ(storage->GetGreen(x, y), c.g);
        EXPECT_EQ(storage->GetBlue(x, y), c.b);
        const std::uint8_t alpha =
            format == vfRGBA32 ? storage->GetData()[y * storage->GetStep() + 4 * x + 3] : 255;
        EXPECT_EQ(storage->GetAlpha(x, y), alpha);
        // RGB24 gray is the conversion's fixed point; gray frames return their byte.
        const int gray = format == vfRGB24 ? FixedPointGray(c) : RoundedGray(c);
        EXPECT_EQ(storage->GetGrayScale(x, y), gray) << int(format);
      }
    }
  }
}

// A 4:2:2 storage of `format` whose first bytes are `yuy2` in YUY2 order
// (UYVY exchanges the bytes of each pair); every other byte is 255.
TRefPtr<TQXSmartImageBuffer> Storage422(TQXVideoFormat format, int width, int height,
                                        const std::vector<std::uint8_t>& yuy2) {
  auto storage = QXCreateSmartImageBuffer(format, width, height);
  std::memset(storage->GetData(), 255, storage->GetCharSize());
  for (std::size_t i = 0; i < yuy2.size(); ++i) {
    storage->GetData()[format == vfYUY2 ? i : i ^ 1] = yuy2[i];
  }
  return storage;
}

TEST(SmartImagePixels, YUVGettersStayInsideTheirRow) {
  // Width 6: x = 5 is the second pixel of the group at x = 4. Width 7: the
  // last pixel has a U but no V and borrows the V of pixels 4 and 5; the next
  // row's bytes, which follow directly, must not be read. Width 1: the pixel's
  // U stands in for V.
  for (TQXVideoFormat format : {vfYUY2, vfUYVY}) {
    auto even = Storage422(format, 6, 1, {16, 128, 16, 128, 16, 128, 16, 128, 81, 90, 145, 240});
    EXPECT_EQ(even->GetPixel(5, 0), ToColor(YUVToRGB(145, 90, 240)));
    EXPECT_EQ(even->GetPixel(4, 0), ToColor(YUVToRGB(81, 90, 240)));
    auto odd = Storage422(format, 7, 2, {0, 0, 0, 0, 0, 0, 0, 0, 10, 60, 200, 170, 120, 30});
    EXPECT_EQ(odd->GetPixel(6, 0), ToColor(YUVToRGB(120, 30, 170)));
    EXPECT_EQ(odd->GetRed(6, 0), YUVToRGB(120, 30, 170).r);
    auto single = Storage422(format, 1, 2, {50, 200});
    EXPECT_EQ(single->GetPixel(0, 0), ToColor(YUVToRGB(50, 200, 200)));
  }
  // Hand-checked: Y 235 with neutral chroma is (235, 235, 235); Y 0, V 255
  // gives red 127 x 74711 >> 16 = 144.
  auto hand = Storage422(vfYUY2, 2, 2, {235, 128, 235, 128, 0, 128, 0, 255});
  EXPECT_EQ(hand->GetPixel(1, 0), QXColorRGB(235, 235, 235));
  EXPECT_EQ(hand->GetPixel(0, 1), QXColorRGB(144, 0, 0));
}

TEST(SmartImagePixels, SixteenBitSettersPackTheTopBits) {
  auto rgb565 = QXCreateSmartImageBuffer(vfRGB565, 2, 1);
  rgb565->SetPixel(1, 0, QXColorRGB(0x9C, 0x5A, 0x21));  // 10011 010110 00100
  EXPECT_EQ(WordAt(*rgb565, 1, 0), 0b10011'010110'00100);
  // Channel setters replace only their own field.
  rgb565->SetBlue(1, 0, 0xFF);
  EXPECT_EQ(WordAt(*rgb565, 1, 0), 0b10011'010110'11111);
  rgb565->SetGreen(1, 0, 0x04);
  EXPECT_EQ(WordAt(*rgb565, 1, 0), 0b10011'000001'11111);
  rgb565->SetRed(1, 0, 0x00);
  EXPECT_EQ(WordAt(*rgb565, 1, 0), 0b00000'000001'11111);

  auto rgb555 = QXCreateSmartImageBuffer(vfRGB555, 2, 1);
  std::memset(rgb555->GetData(), 0xFF, rgb555->GetCharSize());
  rgb555->SetPixel(0, 0, QXColorRGB(255, 255, 255));
  EXPECT_EQ(WordAt(*rgb555, 0, 0), 0x7FFF);  // bit 15 cleared
  EXPECT_EQ(rgb555->GetPixel(0, 0), QXColorRGB(248, 248, 248));
  rgb555->SetPixel(0, 0, QXColorRGB(0x9C, 0x5A, 0x21));
  EXPECT_EQ(WordAt(*rgb555, 0, 0), 0b0'10011'01011'00100);
  rgb555->SetGreen(0, 0, 0xFF);
  EXPECT_EQ(WordAt(*rgb555, 0, 0), 0b0'10011'11111'00100);
  // Bit 15 is not part of any colour.
  EXPECT_EQ(rgb555->GetPixel(1, 0), QXColorRGB(248, 248, 248));
}

TEST(SmartImagePixels, SettersStoreWhatTheFormatHolds) {
  auto rgba = QXCreateSmartImageBuffer(vfRGBA32, 2, 1);
  std::memset(rgba->GetData(), 0x11, rgba->GetCharSize());
  rgba->SetPixel(1, 0, QXColorRGB(1, 2, 3));
  const std::uint8_t bgra[4] = {3, 2, 1, 0x11};  // alpha kept
  EXPECT_EQ(0, std::memcmp(rgba->GetData() + 4, bgra, 4));
  rgba->SetGrayScale(0, 0, 77);
  EXPECT_EQ(rgba->GetPixel(0, 0), QXColorRGB(77, 77, 77));
  // Gray of a colour takes exact halves to the even value.
  rgba->SetPixel(0, 0, QXColorRGB(0, 36, 12));  // 21.132 + 1.368 = 22.5
  rgba->SetPixel(1, 0, QXColorRGB(0, 12, 4));   // 7.044 + 0.456 = 7.5
  EXPECT_EQ(rgba->GetGrayScale(0, 0), 22);
  EXPECT_EQ(rgba->GetGrayScale(1, 0), 8);

  auto rgb = QXCreateSmartImageBuffer(vfRGB24, 2, 1);
  rgb->SetRed(0, 0, 9);
  rgb->SetGreen(0, 0, 8);
  rgb->SetBlue(0, 0, 7);
  EXPECT_EQ(rgb->GetData()[0], 7);
  EXPECT_EQ(rgb->GetData()[2], 9);
  rgb->SetAlpha(0, 0, 3);  // no alpha to store
  EXPECT_EQ(rgb->GetAlpha(0, 0), 255);

  auto gray = QXCreateSmartImageBuffer(vfGrayScale, 2, 1);
  gray->SetGrayScale(1, 0, 99);
  gray->SetPixel(1, 0, QXColorRGB(1, 2, 3));  // ignored
  gray->SetRed(1, 0, 1);                      // ignored
  EXPECT_EQ(gray->GetPixel(1, 0), QXColorRGB(99, 99, 99));

  auto yuy2 = QXCreateSmartImageBuffer(vfYUY2, 2, 1);
  const std::uint8_t bytes[4] = {1, 2, 3, 4};
  std::memcpy(yuy2->GetData(), bytes, 4);
  yuy2->SetPixel(0, 0, QXColorRGB(255, 255, 255));
  yuy2->SetGrayScale(1, 0, 255);
  EXPECT_EQ(0, std::memcmp(yuy2->GetData(), bytes, 4));
}

TEST(SmartImageCopies, SameClassCopiesKeepGeometryAndMediaStamps) {
  for (TQXVideoFormat format : kStorageFormats) {
    auto source = RandomStorage(format, 5, 3, 3);
    source->SetTimeStamp({true, 400000, 733333});
    source->SetSequenceStamp({true, 12});
    source->SetTimeCodeAvailable(true);
    source->SetDateTimeAvailable(true);

    const auto kept = source->Clone(true);
    auto* copy = dynamic_cast<TQXSmartImageBuffer*>(kept.Get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetFormat(), format);
    EXPECT_NE(copy->GetData(), source->GetData());
    ASSERT_EQ(copy->GetCharSize(), source->GetCharSize());
    EXPECT_EQ(0, std::memcmp(copy->GetData(), source->GetData(), copy->GetCharSize()));
    EXPECT_EQ(copy->GetTimeStamp(), source->GetTimeStamp());
    EXPECT_EQ(copy->GetSequenceStamp(), source->GetSequenceStamp());
    // Time code and date-time belong to the one storage they were put on.
    EXPECT_FALSE(copy->GetTimeCodeAvailable());
    EXPECT_FALSE(copy->GetDateTimeAvailable());

    const auto blank = source->Clone(false);
    EXPECT_EQ(blank->GetCharSize(), source->GetCharSize());
    EXPECT_NE(blank->GetData(), source->GetData());
    EXPECT_EQ(dynamic_cast<TQXSmartImageBuffer&>(*blank).GetWidth(), 5u);

    // A conversion keeps none of the stamps.
    const auto converted =
        QXConvertSmartImageBuffer(format == vfRGB24 ? vfGrayScale : vfRGB24, *source);
    EXPECT_FALSE(converted->GetTimeStamp().Available);
    EXPECT_FALSE(converted->GetTimeCodeAvailable());
    // An image cannot be resized by bytes.
    EXPECT_EQ(source->CreateResized(10), nullptr);
  }
}

TEST(MediaSubtypes, FormatsMapToTheirSubtypesAndBack) {
  const struct {
    TQXVideoFormat format;
    const char* subtype;
  } pairs[] = {
      {vfYUY2, "{32595559-0000-0010-8000-00AA00389B71}"},
      {vfUYVY, "{59565955-0000-0010-8000-00AA00389B71}"},
      {vfRGBA32, "{E436EB7E-524F-11CE-9F53-0020AF0BA770}"},
      {vfRGB565, "{E436EB7B-524F-11CE-9F53-0020AF0BA770}"},
      {vfRGB555, "{E436EB7C-524F-11CE-9F53-0020AF0BA770}"},
      {vfGrayScale, "{E436EB7A-524F-11CE-9F53-0020AF0BA770}"},
      {vfRGB24, "{E436EB7D-524F-11CE-9F53-0020AF0BA770}"},
  };
  for (const auto& pair : pairs) {
    const TGUID subtype = TGUID::Parse(pair.subtype);
    EXPECT_EQ(QXGetGUIDFromFormat(pair.format), subtype);
    EXPECT_EQ(QXGetFormatFromGUID(subtype), pair.format);
  }
  EXPECT_EQ(QXGetGUIDFromFormat(vfRGB), TGUID::Parse("{E436EB7D-524F-11CE-9F53-0020AF0BA770}"));
  EXPECT_EQ(QXGetFormatFromGUID(TGUID::Parse("{30323449-0000-0010-8000-00AA00389B71}")), vfRGB24);
  EXPECT_EQ(QXGetFormatFromGUID(TGUID{}), vfRGB24);
}

}  // namespace
}  // namespace qx::test
