// Frames exchanged with the host's TBitmap and the memory bitmap: formats in
// and out, pixels and alpha kept, odd widths against padded rows.
#include <gtest/gtest.h>

#include <cstdint>

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

// Pixel access of either kind of bitmap (alpha of 32-bit ones only).
void Paint(TBitmap& bitmap, int x, int y) {
  bitmap.SetPixelColor(x, y, PatternColor(x, y));
  if (bitmap.GetPixelFormat() == pf32bit) bitmap.ScanLine(y)[4 * x + 3] = PatternAlpha(x, y);
}
void Paint(TQXBasicBitmap& bitmap, int x, int y) {
  bitmap.SetPixel(x, y, PatternColor(x, y));
  bitmap.SetAlpha(x, y, PatternAlpha(x, y));
}
std::uint32_t ColorAt(const TBitmap& bitmap, int x, int y) { return bitmap.GetPixelColor(x, y); }
std::uint32_t ColorAt(const TQXBasicBitmap& bitmap, int x, int y) { return bitmap.GetPixel(x, y); }
int AlphaAt(const TBitmap& bitmap, int x, int y) { return bitmap.ScanLine(y)[4 * x + 3]; }
int AlphaAt(const TQXBasicBitmap& bitmap, int x, int y) { return bitmap.GetAlpha(x, y); }

template <typename Bitmap>
Bitmap Pattern(int width, int height, TPixelFormat format) {
  Bitmap bitmap(width, height, format);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) Paint(bitmap, x, y);
  }
  return bitmap;
}

// Every pixel of `frame` has the colour (and, for 32-bit bitmaps, the alpha)
// of the same pixel of `bitmap`.
template <typename Bitmap>
void ExpectSamePixels(const TQXImageBuffer& frame, const Bitmap& bitmap) {
  ASSERT_EQ(frame.GetWidth(), static_cast<std::uint32_t>(bitmap.GetWidth()));
  ASSERT_EQ(frame.GetHeight(), static_cast<std::uint32_t>(bitmap.GetHeight()));
  for (int y = 0; y < bitmap.GetHeight(); ++y) {
    for (int x = 0; x < bitmap.GetWidth(); ++x) {
      EXPECT_EQ(frame.GetPixel(x, y), ColorAt(bitmap, x, y)) << x << ", " << y;
      if (bitmap.GetPixelFormat() == pf32bit) {
        EXPECT_EQ(frame.GetAlpha(x, y), AlphaAt(bitmap, x, y)) << x << ", " << y;
      }
    }
  }
}

// In from a bitmap of `depth` (24-bit rows land padded in the frame), out to
// a bitmap of another size and depth, which is reshaped; a frame that shared
// the old storage keeps it.
template <typename Bitmap>
void ExpectRoundTrip(TPixelFormat depth, int width) {
  const Bitmap source = Pattern<Bitmap>(width, 3, depth);
  auto frame = MakeRef<TQXImageBuffer>(2, 2, vfUYVY);
  auto sharer = MakeRef<TQXImageBuffer>(*frame);
  frame->FromBitmap(source);
  EXPECT_EQ(frame->GetFormat(), depth == pf32bit ? vfRGBA32 : vfRGB24);
  ExpectSamePixels(*frame, source);
  EXPECT_EQ(sharer->GetFormat(), vfUYVY);
  EXPECT_EQ(sharer->GetWidth(), 2u);

  Bitmap back(2, 9, depth == pf32bit ? pf24bit : pf32bit);
  frame->ToBitmap(back);
  EXPECT_EQ(back.GetPixelFormat(), depth);
  ExpectSamePixels(*frame, back);
}

TEST(BitmapInterchange, BothKindsRoundTripInBothDepthsAndOddWidths) {
  for (TPixelFormat depth : {pf24bit, pf32bit}) {
    for (int width : {1, 7}) {
      SCOPED_TRACE(testing::Message() << "width " << width << ", depth " << int(depth));
      ExpectRoundTrip<TBitmap>(depth, width);
      ExpectRoundTrip<TQXBasicBitmap>(depth, width);
    }
  }
}

// An empty host bitmap leaves the frame as it is, an empty memory bitmap
// gives an empty frame, and an empty frame an empty 24-bit bitmap.
TEST(BitmapInterchange, EmptyBitmaps) {
  auto frame = MakeRef<TQXImageBuffer>(6, 4, vfYUY2);
  const TQXSmartImageBuffer* storage = &frame->GetBuffer();
  frame->FromBitmap(TBitmap(0, 5, pf32bit));
  EXPECT_EQ(&frame->GetBuffer(), storage);
  EXPECT_EQ(frame->GetFormat(), vfYUY2);
  frame->FromBitmap(TQXBitmap());
  EXPECT_EQ(frame->GetByteSize(), 0u);
  TBitmap back(3, 3, pf32bit);
  frame->ToBitmap(back);
  EXPECT_TRUE(back.Empty());
  EXPECT_EQ(back.GetPixelFormat(), pf24bit);
}

TEST(BitmapInterchange, FramesOfOtherFormatsLeaveAsRGB24) {
  // A gray frame gives gray pixels; the frame itself becomes RGB24, a frame
  // sharing its storage stays gray.
  const std::uint8_t gray[] = {0, 9, 200, 255, 17, 34, 51, 68, 85};
  auto frame = MakeRef<TQXImageBuffer>(gray, 3, 3, vfGrayScale);
  auto sharer = MakeRef<TQXImageBuffer>(*frame);
  TQXBitmap bitmap;
  frame->ToBitmap(bitmap);
  EXPECT_EQ(frame->GetFormat(), vfRGB24);
  EXPECT_EQ(sharer->GetFormat(), vfGrayScale);
  EXPECT_EQ(bitmap.GetPixelFormat(), pf24bit);
  EXPECT_EQ(bitmap.GetPixel(2, 2), QXColorRGB(85, 85, 85));
}

}  // namespace
}  // namespace qx::test
