// The image buffer: construction, copy-on-write sharing, format and size
// changes, per-pixel and whole-channel operations, stamps and identity.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PixelModel.h"
#include "packages/zenthic/ZTGenericBuffer.h"

namespace qx::test {
namespace {

bool SameStorage(const TQXImageBuffer& a, const TQXImageBuffer& b) {
  return &a.GetBuffer() == &b.GetBuffer();
}

TEST(ImageBufferConstruction, TagsStoragesTakenAndIdentity) {
  // The vfRGB tag is held in RGB24 storage and kept by copies and Assign; a
  // value outside the enumeration cannot name a format and is taken as RGB24.
  auto source = RandomImage(vfRGB, 4, 4, 2);
  EXPECT_EQ(source->GetBuffer().GetFormat(), vfRGB24);
  EXPECT_EQ(RefCast<TQXImageBuffer>(source->MakeCopy())->GetFormat(), vfRGB);
  auto odd = MakeRef<TQXImageBuffer>(4, 4, static_cast<TQXVideoFormat>(42));
  EXPECT_EQ(odd->GetFormat(), vfRGB24);
  TQXSmartImageBuffer* old = &odd->GetBuffer();
  old->AddReff(false);  // keep the old storage to watch its count
  odd->Assign(*source);
  EXPECT_TRUE(SameStorage(*odd, *source));
  EXPECT_EQ(odd->GetFormat(), vfRGB);
  EXPECT_EQ(old->GetRefCount(), 1);
  old->RemoveReff(false);

  // A media buffer holding pixel storage gives a frame of the storage's format.
  auto media = MakeRef<TKRMediaBuffer>(static_cast<const IZTDataBuffer&>(*source));
  auto fromMedia = MakeRef<TQXImageBuffer>(static_cast<const IZTDataBuffer&>(*media));
  EXPECT_TRUE(SameStorage(*fromMedia, *source));
  EXPECT_EQ(fromMedia->GetFormat(), vfRGB24);

  // Buffers without pixel storage are neither taken nor assigned.
  auto bytes = MakeRef<TZTGenericBuffer>(16);
  auto frame = MakeRef<TQXImageBuffer>(static_cast<const IZTDataBuffer&>(*bytes));
  EXPECT_EQ(frame->GetByteSize(), 0u);
  source->Assign(*bytes);
  EXPECT_TRUE(SameStorage(*fromMedia, *source));
  EXPECT_EQ(source->GetFormat(), vfRGB);
  EXPECT_EQ(QXGetImageBuffer(bytes), nullptr);

  // The image buffer behind any interface, found by its interface identity.
  EXPECT_EQ(IID_IQXImageBuffer, TGUID::Parse("{FB9C18EE-78DE-4162-A79D-D9FA27B84235}"));
  TRefPtr<IZTDataBuffer> data = odd;
  EXPECT_EQ(QXGetImageBuffer(data).Get(), odd.Get());
  EXPECT_EQ(&data->GetInstance(), static_cast<TZTGenericBuffer*>(odd.Get()));
  EXPECT_EQ(QXGetImageBuffer(nullptr), nullptr);
}

TEST(ImageBufferSize, ChangesMakeAFreshStorageWithTheMediaStamps) {
  auto frame = RandomImage(vfRGBA32, 8, 4, 12);
  frame->SetTimeStamp({true, 333, 666});
  frame->GetTimeCode().SetAvailable(true);
  auto other = MakeRef<TQXImageBuffer>(*frame);
  const std::uint8_t* pixels = frame->Read();
  frame->SetImageSizeFormat(8, 4, vfRGBA32);
  EXPECT_EQ(frame->Read(), pixels);

  frame->SetImageSize(3, 5);
  EXPECT_EQ(frame->GetTimeStamp(), (TKRMediaTimeStamp{true, 333, 666}));
  EXPECT_FALSE(frame->GetTimeCode().GetAvailable());
  frame->SetImageSizeFormat(3, 5, vfRGB);
  EXPECT_EQ(frame->GetFormat(), vfRGB);
  EXPECT_EQ(frame->GetByteSize(), 60u);
  EXPECT_EQ(frame->GetTimeStamp(), (TKRMediaTimeStamp{true, 333, 666}));
  // The other holder keeps the old frame; Modify unshares keeping the contents.
  EXPECT_EQ(other->Read(), pixels);
  auto third = MakeRef<TQXImageBuffer>(*other);
  EXPECT_EQ(0, std::memcmp(third->Modify(), pixels, other->GetByteSize()));
  EXPECT_NE(third->Read(), pixels);
  EXPECT_TRUE(other->GetTimeCode().GetAvailable());

  // A frame's byte size follows its geometry.
  EXPECT_FALSE(frame->Resize(10));
  EXPECT_TRUE(frame->Resize(60));
}

TEST(ImageBufferPixels, SettersConvertAsTheirFormatNeeds) {
  // SetGrayScale stores (v, v, v) in colour formats with a byte per channel
  // and turns others gray; a channel setter on 16 bits converts to RGB24.
  auto rgb = RandomImage(vfRGB24, 4, 2, 13);
  rgb->SetGrayScale(2, 1, 90);
  EXPECT_EQ(rgb->GetFormat(), vfRGB24);
  EXPECT_EQ(rgb->GetPixel(2, 1), QXColorRGB(90, 90, 90));
  auto yuy2 = RandomImage(vfYUY2, 4, 2, 14);
  yuy2->SetGrayScale(2, 1, 90);
  EXPECT_EQ(yuy2->GetFormat(), vfGrayScale);
  EXPECT_EQ(yuy2->GetGrayScale(2, 1), 90);
  auto rgb565 = RandomImage(vfRGB565, 4, 2, 15);
  const std::uint32_t kept = rgb565->GetPixel(0, 0);
  rgb565->SetRed(1, 0, 200);
  EXPECT_EQ(rgb565->GetFormat(), vfRGB24);
  EXPECT_EQ(rgb565->GetRed(1, 0), 200);
  EXPECT_EQ(rgb565->GetPixel(0, 0), kept);

  // SetPixel on vfRGB turns the tag into vfRGB24 and keeps the layout.
  const std::vector<std::uint8_t> bytes = RandomFrame(vfRGB, 5, 2, 10);
  auto tagged = MakeRef<TQXImageBuffer>(bytes.data(), 5, 2, vfRGB);
  tagged->SetPixel(0, 0, QXColorRGB(1, 2, 3));
  EXPECT_EQ(tagged->GetFormat(), vfRGB24);
  EXPECT_EQ(0, std::memcmp(tagged->Read() + 3, bytes.data() + 3, bytes.size() - 3));
  EXPECT_EQ(tagged->Read()[0], 3);

  // Alpha turns a frame RGBA32, the other pixels opaque.
  auto gray = RandomImage(vfGrayScale, 4, 2, 17);
  gray->SetPixelAlpha(0, 0, QXColorRGB(10, 20, 30), 40);
  EXPECT_EQ(gray->GetFormat(), vfRGBA32);
  EXPECT_EQ(gray->GetPixel(0, 0), QXColorRGB(10, 20, 30));
  EXPECT_EQ(gray->GetAlpha(0, 0), 40);
  EXPECT_EQ(gray->GetAlpha(0, 1), 255);

  // The Int setters neither convert nor unshare.
  auto other = MakeRef<TQXImageBuffer>(*yuy2);
  yuy2->SetGrayScaleInt(0, 0, 5);
  yuy2->SetPixelInt(1, 0, QXColorRGB(1, 2, 3));  // gray storage ignores colours
  EXPECT_EQ(yuy2->GetFormat(), vfGrayScale);
  EXPECT_EQ(other->GetGrayScale(0, 0), 5);
}

TEST(ImageBufferChannels, SettingAChannelTouchesOnlyIt) {
  auto rgba = RandomImage(vfRGBA32, 5, 3, 19);
  auto before = MakeRef<TQXImageBuffer>(*rgba);
  rgba->SetGreenChannel(77);
  for (std::uint32_t i = 0; i < 15; ++i) {
    EXPECT_EQ(rgba->GetPixel(i % 5, i / 5), (before->GetPixel(i % 5, i / 5) & 0xFF00FF) | 77 << 8);
    EXPECT_EQ(rgba->GetAlpha(i % 5, i / 5), before->GetAlpha(i % 5, i / 5));
  }
  auto yuy2 = RandomImage(vfYUY2, 5, 3, 20);
  auto rgb = MakeRef<TQXImageBuffer>(*yuy2);
  rgb->SetFormat(vfRGB24);
  yuy2->SetRedChannel(1);
  EXPECT_EQ(yuy2->GetFormat(), vfRGB24);
  EXPECT_EQ(yuy2->GetPixel(4, 2), (rgb->GetPixel(4, 2) & 0xFFFF00) | 1);
}

TEST(ImageBufferChannels, GettingAChannelLeavesTheFrameAsItIs) {
  for (TQXVideoFormat format : {vfYUY2, vfRGBA32}) {
    auto frame = RandomImage(format, 7, 3, 22);
    const std::vector<TRGB> colours = Decode(format, frame->Read(), 7, 3);
    const std::uint8_t* pixels = frame->Read();
    const auto red = frame->GetRedChannel(), blue = frame->GetBlueChannel();
    const auto alpha = frame->GetAlphaChannel();
    EXPECT_EQ(frame->GetFormat(), format);
    EXPECT_EQ(frame->Read(), pixels);
    for (const auto& channel : {red, blue, alpha}) EXPECT_EQ(channel->GetFormat(), vfGrayScale);
    for (std::uint32_t i = 0; i < 21; ++i) {
      const std::uint32_t x = i % 7, y = i / 7;
      EXPECT_EQ(red->GetGrayScale(x, y), colours[i].r);
      EXPECT_EQ(blue->GetGrayScale(x, y), colours[i].b);
      const int a = format == vfRGBA32 ? pixels[y * frame->GetStep() + 4 * x + 3] : 255;
      EXPECT_EQ(alpha->GetGrayScale(x, y), a);
    }
  }
  // An empty frame gives empty channels.
  auto empty = MakeRef<TQXImageBuffer>();
  EXPECT_EQ(empty->GetRedChannel()->GetByteSize(), 0u);
  EXPECT_EQ(empty->GetAlphaChannel()->GetByteSize(), 0u);
  empty->SetBlueChannel(1);
  EXPECT_EQ(empty->GetByteSize(), 0u);
}

}  // namespace
}  // namespace qx::test
