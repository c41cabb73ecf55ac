// Frames exchanged with the host's TBitmap and the memory bitmap TQXBitmap:
// formats chosen on the way in and out, pixels and alpha kept, odd widths
// against padded frame rows, and copy-on-write kept intact.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/Bitmap.h"
#include "image/QXBitmap.h"
#include "image/QXImageBuffer.h"

namespace qx::test {
namespace {

std::uint32_t PatternColor(int x, int y) {
  return QXColorRGB(static_cast<std::uint8_t>(37 * x + 11 * y),
                    static_cast<std::uint8_t>(200 - 23 * x + 5 * y),
                    static_cast<std::uint8_t>(7 * x * y + 64));
}
std::uint8_t PatternAlpha(int x, int y) { return static_cast<std::uint8_t>(255 - 19 * x - 3 * y); }

TBitmap PatternTBitmap(int width, int height, TPixelFormat format) {
  TBitmap bitmap(width, height, format);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bitmap.SetPixelColor(x, y, PatternColor(x, y));
      if (format == pf32bit) bitmap.ScanLine(y)[4 * x + 3] = PatternAlpha(x, y);
    }
  }
  return bitmap;
}

TQXBitmap PatternQXBitmap(int width, int height, TPixelFormat format) {
  TQXBitmap bitmap;
  bitmap.SetPixelFormat(format);
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bitmap.SetPixel(x, y, PatternColor(x, y));
      bitmap.SetAlpha(x, y, PatternAlpha(x, y));
    }
  }
  return bitmap;
}

std::vector<std::uint8_t> ScanLineBytes(const TBitmap& bitmap, int y, int count) {
  return {bitmap.ScanLine(y), bitmap.ScanLine(y) + count};
}

std::uint32_t ColorAt(const TBitmap& bitmap, int x, int y) { return bitmap.GetPixelColor(x, y); }
std::uint32_t ColorAt(const TQXBasicBitmap& bitmap, int x, int y) { return bitmap.GetPixel(x, y); }

// Every pixel of `frame` has the colour (and, for 32-bit bitmaps, the alpha)
// of the same pixel of `bitmap`.
template <typename Bitmap>
void ExpectSamePixels(const TQXImageBuffer& frame, const Bitmap& bitmap, bool withAlpha) {
  ASSERT_EQ(frame.GetWidth(), static_cast<std::uint32_t>(bitmap.GetWidth()));
  ASSERT_EQ(frame.GetHeight(), static_cast<std::uint32_t>(bitmap.GetHeight()));
  for (int y = 0; y < bitmap.GetHeight(); ++y) {
    for (int x = 0; x < bitmap.GetWidth(); ++x) {
      EXPECT_EQ(frame.GetPixel(x, y), ColorAt(bitmap, x, y)) << x << ", " << y;
      if (withAlpha) {
        EXPECT_EQ(frame.GetAlpha(x, y), PatternAlpha(x, y)) << x << ", " << y;
      }
    }
  }
}

TEST(TBitmapInterchange, TwentyFourBitRowsGoInPaddedAndComeBackUnchanged) {
  const TBitmap source = PatternTBitmap(5, 2, pf24bit);
  auto frame = MakeRef<TQXImageBuffer>(3, 3, vfYUY2);
  frame->FromBitmap(source);
  EXPECT_EQ(frame->GetFormat(), vfRGB24);
  EXPECT_EQ(frame->GetStep(), 24u);
  ExpectSamePixels(*frame, source, false);

  TBitmap back;
  frame->ToBitmap(back);
  EXPECT_EQ(back.GetPixelFormat(), pf24bit);
  ASSERT_EQ(back.GetWidth(), 5);
  ASSERT_EQ(back.GetHeight(), 2);
  for (int y = 0; y < 2; ++y) EXPECT_EQ(ScanLineBytes(back, y, 15), ScanLineBytes(source, y, 15));
}

TEST(TBitmapInterchange, ThirtyTwoBitBitmapsKeepTheirAlpha) {
  const TBitmap source = PatternTBitmap(7, 3, pf32bit);
  auto frame = MakeRef<TQXImageBuffer>(source);
  EXPECT_EQ(frame->GetFormat(), vfRGBA32);
  ExpectSamePixels(*frame, source, true);

  // A bitmap of another size and depth is reshaped.
  TBitmap back(2, 9, pf8bit);
  frame->ToBitmap(back);
  EXPECT_EQ(back.GetPixelFormat(), pf32bit);
  ASSERT_EQ(back.GetWidth(), 7);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(ScanLineBytes(back, y, 28), ScanLineBytes(source, y, 28));
}

TEST(TBitmapInterchange, OtherDepthsArriveAsRGB24WithTheirColours) {
  TBitmap indexed(3, 2, pf8bit);
  indexed.SetPalette({{10, 20, 30, 0}, {40, 50, 60, 0}});
  indexed.ScanLine(1)[2] = 1;
  auto frame = MakeRef<TQXImageBuffer>(indexed);
  EXPECT_EQ(frame->GetFormat(), vfRGB24);
  EXPECT_EQ(frame->GetPixel(2, 1), QXColorRGB(60, 50, 40));
  EXPECT_EQ(frame->GetPixel(0, 0), QXColorRGB(30, 20, 10));

  for (TPixelFormat format : {pf1bit, pf4bit, pf15bit, pf16bit}) {
    const TBitmap source = PatternTBitmap(7, 3, format);
    auto fromDepth = MakeRef<TQXImageBuffer>(1, 1, vfRGBA32);
    fromDepth->FromBitmap(source);
    EXPECT_EQ(fromDepth->GetFormat(), vfRGB24) << int(format);
    ExpectSamePixels(*fromDepth, source, false);
  }
}

TEST(BitmapInterchange, EmptyBitmaps) {
  // An empty host bitmap leaves the frame as it is ...
  auto frame = MakeRef<TQXImageBuffer>(6, 4, vfYUY2);
  const TQXSmartImageBuffer* storage = &frame->GetBuffer();
  frame->FromBitmap(TBitmap());
  frame->FromBitmap(TBitmap(0, 5, pf32bit));
  EXPECT_EQ(&frame->GetBuffer(), storage);
  EXPECT_EQ(frame->GetFormat(), vfYUY2);
  EXPECT_EQ(frame->GetWidth(), 6u);

  // ... an empty memory bitmap gives an empty frame.
  frame->FromBitmap(TQXBitmap());
  EXPECT_EQ(frame->GetWidth(), 0u);
  EXPECT_EQ(frame->GetByteSize(), 0u);

  // An empty frame gives an empty 24-bit bitmap.
  auto empty = MakeRef<TQXImageBuffer>(TBitmap());
  EXPECT_EQ(empty->GetFormat(), vfRGB24);
  EXPECT_EQ(empty->GetWidth(), 0u);
  TBitmap back(3, 3, pf32bit);
  empty->ToBitmap(back);
  EXPECT_TRUE(back.Empty());
  EXPECT_EQ(back.GetPixelFormat(), pf24bit);
}

TEST(TBitmapInterchange, FromBitmapLeavesFramesSharingTheOldStorageAlone) {
  const TBitmap first = PatternTBitmap(5, 3, pf24bit);
  auto frame = MakeRef<TQXImageBuffer>(first);
  auto sharer = MakeRef<TQXImageBuffer>(*frame);
  TBitmap second(5, 3, pf24bit);  // same size and depth: black
  frame->FromBitmap(second);
  EXPECT_EQ(frame->GetPixel(4, 2), 0u);
  ExpectSamePixels(*sharer, first, false);
}

TEST(TBitmapInterchange, FramesOfOtherFormatsLeaveAsRGB24) {
  // A gray frame gives gray pixels; the frame itself becomes RGB24, a frame
  // sharing its storage stays gray.
  const std::uint8_t gray[] = {0, 9, 200, 255, 17, 34, 51, 68, 85};
  auto frame = MakeRef<TQXImageBuffer>(gray, 3, 3, vfGrayScale);
  auto sharer = MakeRef<TQXImageBuffer>(*frame);
  TBitmap bitmap;
  frame->ToBitmap(bitmap);
  EXPECT_EQ(frame->GetFormat(), vfRGB24);
  EXPECT_EQ(sharer->GetFormat(), vfGrayScale);
  EXPECT_EQ(bitmap.GetPixelFormat(), pf24bit);
  EXPECT_EQ(bitmap.GetPixelColor(2, 0), QXColorRGB(200, 200, 200));
  EXPECT_EQ(bitmap.GetPixelColor(2, 2), QXColorRGB(85, 85, 85));

  // vfRGB frames leave tagged vfRGB24, their pixels as they were.
  auto rgb = MakeRef<TQXImageBuffer>(PatternTBitmap(3, 2, pf24bit));
  rgb->SetFormat(vfRGB);
  rgb->ToBitmap(bitmap);
  EXPECT_EQ(rgb->GetFormat(), vfRGB24);
  EXPECT_EQ(bitmap.GetPixelColor(2, 1), PatternColor(2, 1));
}

TEST(QXBitmapInterchange, OddWidthsRoundTripInBothDepths) {
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    for (int width : {1, 5, 7}) {
      SCOPED_TRACE(testing::Message() << "width " << width << ", format " << int(format));
      const TQXBitmap source = PatternQXBitmap(width, 3, format);
      auto frame = MakeRef<TQXImageBuffer>(2, 2, vfUYVY);
      frame->FromBitmap(source);
      EXPECT_EQ(frame->GetFormat(), format == pf32bit ? vfRGBA32 : vfRGB24);
      EXPECT_EQ(frame->GetStep(), format == pf32bit ? 4u * width : 3u * ((width + 3) / 4 * 4));
      ExpectSamePixels(*frame, source, format == pf32bit);

      TQXBitmap back(9, 9, 0xFFFFFF, 1);
      frame->ToBitmap(back);
      EXPECT_EQ(back, source);
    }
  }
}

TEST(QXBitmapInterchange, FilledBitmapsMakeRGBA32FramesAndPlainOnesRGB24) {
  const TQXBitmap overlay(3, 2, QXColorRGB(0, 0, 255), 128);
  auto frame = MakeRef<TQXImageBuffer>(overlay);
  EXPECT_EQ(frame->GetFormat(), vfRGBA32);
  EXPECT_EQ(frame->GetPixel(2, 1), QXColorRGB(0, 0, 255));
  EXPECT_EQ(frame->GetAlpha(2, 1), 128);

  auto plain = MakeRef<TQXImageBuffer>(TQXBitmap(5, 2));
  EXPECT_EQ(plain->GetFormat(), vfRGB24);
  EXPECT_EQ(plain->GetPixel(4, 1), 0u);

  // From a 32-bit frame, a 24-bit bitmap becomes 32-bit.
  TQXBitmap target(6, 2);
  frame->ToBitmap(target);
  EXPECT_EQ(target, TQXBitmap(overlay));
}

}  // namespace
}  // namespace qx::test
