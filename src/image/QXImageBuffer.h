// TQXImageBuffer: the implementation of IQXImageBuffer (image/IQXImageBuffer.h
// says how frames behave) -- a format tag plus one pixel storage, shared
// copy-on-write through the media buffer base.
//
//   auto frame = MakeRef<TQXImageBuffer>(640, 480, vfYUY2);
//   std::memcpy(frame->Write(), samples, frame->GetByteSize());
//   TRefPtr<IQXImageBuffer> passedOn = frame;           // no pixel copied
//   auto copy = MakeRef<TQXImageBuffer>(*frame);        // shares the storage
//   copy->SetPixel(0, 0, QXColorRGB(255, 0, 0));        // converts and unshares `copy` only
//
// The format tag equals the storage class's format, except that vfRGB is
// kept as given while its storage is RGB24; a value outside the enumeration
// is taken as vfRGB24. Converting between vfRGB24 and vfRGB only changes the
// tag: the layouts are the same, so the storage stays shared.
//
// The base's byte-level operations apply to the pixel block as they do to
// any data buffer, except that `Resize` refuses every new byte size (a
// frame's size follows from its geometry: use SetImageSize).
#pragma once

#include <cstdint>

#include "host/RefCounted.h"
#include "image/IQXImageBuffer.h"
#include "image/QXSmartImageBuffer.h"
#include "image/QXTimeCode.h"
#include "image/QXVideoFormat.h"
#include "packages/sonquo/KRMediaBuffer.h"

namespace qx {

class TQXImageBuffer : public TKRMediaBuffer, public virtual IQXImageBuffer {
 public:
  // An empty RGB24 frame (0 x 0).
  TQXImageBuffer();
  // A new storage of `format` at width x height, pixels undefined.
  TQXImageBuffer(std::uint32_t width, std::uint32_t height, TQXVideoFormat format);
  // As above, then GetByteSize() bytes copied from `data`, which holds a
  // frame in the storage layout (padded RGB24 rows included).
  TQXImageBuffer(const void* data, std::uint32_t width, std::uint32_t height,
                 TQXVideoFormat format);
  // A frame sharing `source`'s storage and format; no pixel is copied.
  TQXImageBuffer(const TQXImageBuffer& source);
  // A frame sharing the storage of the image buffer behind `source` (any
  // data buffer interface holding pixel storage), with its format. A source
  // holding no pixel storage gives an empty RGB24 frame.
  explicit TQXImageBuffer(const IZTDataBuffer& source);

  // --- From bitmaps ----------------------------------------------------------
  // A frame of the bitmap's size and pixels (FromBitmap): RGBA32 from a
  // 32-bit bitmap, RGB24 from any other depth.
  explicit TQXImageBuffer(const TBitmap& bitmap);
  explicit TQXImageBuffer(const TQXBasicBitmap& bitmap);

  ~TQXImageBuffer() override = default;

  // --- IZTDataBuffer ---------------------------------------------------------
  // Takes `source`'s storage and format when it holds pixel storage; leaves
  // this frame unchanged otherwise.
  void Assign(const IZTDataBuffer& source) override;
  // A new frame sharing this one's storage.
  TRefPtr<IZTDataBuffer> MakeCopy() const override;

  // --- IQXImageBuffer --------------------------------------------------------
  const std::uint8_t* Read() const override { return ByteRead(); }
  std::uint8_t* Write() override { return ByteWrite(); }
  std::uint8_t* Modify() override { return ByteModify(); }

  std::uint32_t GetWidth() const override { return FWidth; }
  std::uint32_t GetHeight() const override { return FHeight; }
  void SetFormat(TQXVideoFormat format) override;
  TQXVideoFormat GetFormat() const override { return FFormat; }
  std::uint32_t GetExtWidth() const override { return FBuffer->GetExtWidth(); }
  std::uint32_t GetBytesPerPixel() const override { return FBytesPerPixel; }
  IppiSize GetDimSize() const override;
  std::uint32_t GetStep() const override { return FStep; }
  void SetImageSize(std::uint32_t width, std::uint32_t height) override;
  void SetImageSizeFormat(std::uint32_t width, std::uint32_t height,
                          TQXVideoFormat format) override;

  std::uint32_t GetPixel(std::uint32_t x, std::uint32_t y) const override;
  void SetPixel(std::uint32_t x, std::uint32_t y, std::uint32_t color) override;
  std::uint8_t GetRed(std::uint32_t x, std::uint32_t y) const override;
  void SetRed(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;
  std::uint8_t GetGreen(std::uint32_t x, std::uint32_t y) const override;
  void SetGreen(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;
  std::uint8_t GetBlue(std::uint32_t x, std::uint32_t y) const override;
  void SetBlue(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;
  std::uint8_t GetAlpha(std::uint32_t x, std::uint32_t y) const override;
  void SetAlpha(std::uint32_t x, std::uint32_t y, std::uint8_t alpha) override;
  std::uint8_t GetGrayScale(std::uint32_t x, std::uint32_t y) const override;
  void SetGrayScale(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;
  void SetPixelAlpha(std::uint32_t x, std::uint32_t y, std::uint32_t color,
                     std::uint8_t alpha) override;

  void SetRedChannel(std::uint8_t value) override;
  void SetGreenChannel(std::uint8_t value) override;
  void SetBlueChannel(std::uint8_t value) override;
  void SetAlphaChannel(std::uint8_t value) override;
  TRefPtr<IQXImageBuffer> GetRedChannel() const override;
  TRefPtr<IQXImageBuffer> GetGreenChannel() const override;
  TRefPtr<IQXImageBuffer> GetBlueChannel() const override;
  TRefPtr<IQXImageBuffer> GetAlphaChannel() const override;

  TQXTimeCode& GetTimeCode() override { return FTimeCode; }
  const TQXTimeCode& GetTimeCode() const override { return FTimeCode; }
  TQXDateTime& GetDateTime() override { return FDateTime; }
  const TQXDateTime& GetDateTime() const override { return FDateTime; }

  // --- Bitmaps ---------------------------------------------------------------
  void FromBitmap(const TBitmap& bitmap) override;
  void FromBitmap(const TQXBasicBitmap& bitmap) override;
  void ToBitmap(TBitmap& bitmap) override;
  void ToBitmap(TQXBasicBitmap& bitmap) override;

  // --- Whole-image operations ----------------------------------------------
  // QXImageBuffer{Value,Frame,Single}Operations.cpp and QXImageBufferFills.cpp.
  void AlphaComp(const IQXImageBuffer& other, TQXAlphaCompOperation operation) override;
  void Add(const IQXImageBuffer& b) override;
  void Add(const IQXImageBuffer& a, const IQXImageBuffer& b) override;
  void AddValue(std::uint32_t color) override;
  void AddValue(std::uint32_t color, std::uint8_t alpha) override;
  void AddValue(TQXPackedColor value) override;
  void Subtract(const IQXImageBuffer& b) override;
  void Subtract(const IQXImageBuffer& a, const IQXImageBuffer& b) override;
  void SubtractValue(std::uint32_t color) override;
  void SubtractValue(std::uint32_t color, std::uint8_t alpha) override;
  void SubtractValue(TQXPackedColor value) override;
  void Multiply(const IQXImageBuffer& b) override;
  void Multiply(const IQXImageBuffer& a, const IQXImageBuffer& b) override;
  void MultiplyValue(std::uint32_t color) override;
  void MultiplyValue(std::uint32_t color, std::uint8_t alpha) override;
  void MultiplyValue(TQXPackedColor value) override;
  void MultiplyScale(const IQXImageBuffer& b) override;
  void MultiplyScale(const IQXImageBuffer& a, const IQXImageBuffer& b) override;
  void MultiplyScaleValue(std::uint32_t color) override;
  void MultiplyScaleValue(std::uint32_t color, std::uint8_t alpha) override;
  void MultiplyScaleValue(TQXPackedColor value) override;
  void Divide(const IQXImageBuffer& b) override;
  void Divide(const IQXImageBuffer& a, const IQXImageBuffer& b) override;
  void DivideValue(std::uint32_t color) override;
  void DivideValue(std::uint32_t color, std::uint8_t alpha) override;
  void DivideValue(TQXPackedColor value) override;
  void AbsDiff(const IQXImageBuffer& b) override;
  void AbsDiff(const IQXImageBuffer& a, const IQXImageBuffer& b) override;
  void LAnd(const IQXImageBuffer& b) override;
  void LAnd(const IQXImageBuffer& a, const IQXImageBuffer& b) override;
  void LAndValue(std::uint32_t color) override;
  void LAndValue(std::uint32_t color, std::uint8_t alpha) override;
  void LAndValue(TQXPackedColor value) override;
  void LOr(const IQXImageBuffer& b) override;
  void LOr(const IQXImageBuffer& a, const IQXImageBuffer& b) override;
  void LOrValue(std::uint32_t color) override;
  void LOrValue(std::uint32_t color, std::uint8_t alpha) override;
  void LOrValue(TQXPackedColor value) override;
  void LXor(const IQXImageBuffer& b) override;
  void LXor(const IQXImageBuffer& a, const IQXImageBuffer& b) override;
  void LXorValue(std::uint32_t color) override;
  void LXorValue(std::uint32_t color, std::uint8_t alpha) override;
  void LXorValue(TQXPackedColor value) override;
  void LShiftValue(std::uint32_t color) override;
  void LShiftValue(std::uint32_t color, std::uint8_t alpha) override;
  void LShiftValue(TQXPackedColor value) override;
  void RShiftValue(std::uint32_t color) override;
  void RShiftValue(std::uint32_t color, std::uint8_t alpha) override;
  void RShiftValue(TQXPackedColor value) override;
  void LNot() override;
  void LNot(const IQXImageBuffer& source) override;
  void Sqr() override;
  void Sqr(const IQXImageBuffer& source) override;
  void SetValue(std::uint32_t color) override;
  void SetValue(TQXPackedColor value) override;
  void SetValue(std::uint8_t value) override;
  void SetValue(std::uint8_t value, std::uint8_t alpha) override;
  void SetValue(std::uint32_t color, std::uint8_t alpha) override;
  void SetAlpha(std::uint8_t alpha) override;
  void SetGrayScale(std::uint8_t value) override;
  void Zero() override;
  void Zero(std::uint8_t alpha) override;

  // --- Beyond the interface --------------------------------------------------
  // The storage this frame holds (never null).
  TQXSmartImageBuffer& GetBuffer() const noexcept { return *FBuffer; }
  // Makes `buffer` this frame's storage, the format tag following its class.
  void SetBuffer(TRefPtr<TQXSmartImageBuffer> buffer);

  // Converts to vfRGB24 unless the frame is vfRGB24 or vfRGBA32.
  void SetFormatRGB();
  // (width x bytes per pixel, height): the region a one-channel byte kernel
  // covers whole rows with.
  IppiSize GetDimSizeC1() const;

  // Setters that neither convert nor unshare: the caller has made the frame
  // private (Unique) and of a format that stores the value.
  void SetPixelInt(std::uint32_t x, std::uint32_t y, std::uint32_t color);
  void SetRedInt(std::uint32_t x, std::uint32_t y, std::uint8_t value);
  void SetGreenInt(std::uint32_t x, std::uint32_t y, std::uint8_t value);
  void SetBlueInt(std::uint32_t x, std::uint32_t y, std::uint8_t value);
  void SetAlphaInt(std::uint32_t x, std::uint32_t y, std::uint8_t value);
  void SetGrayScaleInt(std::uint32_t x, std::uint32_t y, std::uint8_t value);

  // The stamp fields of the storage, read and written in place without
  // unsharing: GetTimeCodeAvailable, SetTimeCodeAvailable, GetTimeCodeFrame,
  // ... GetDateTimeYear, SetDateTimeYear (image/QXFrameStamps.h lists them).
#define QX_BUFFER_TIME_CODE_ACCESSORS(type, name) \
  type GetTimeCode##name() const;                 \
  void SetTimeCode##name(type value);
#define QX_BUFFER_DATE_TIME_ACCESSORS(type, name) \
  type GetDateTime##name() const;                 \
  void SetDateTime##name(type value);
  QX_TIME_CODE_FIELDS(QX_BUFFER_TIME_CODE_ACCESSORS)
  QX_DATE_TIME_FIELDS(QX_BUFFER_DATE_TIME_ACCESSORS)
#undef QX_BUFFER_DATE_TIME_ACCESSORS
#undef QX_BUFFER_TIME_CODE_ACCESSORS

 protected:
  // Accepts only pixel storage; any other storage leaves the frame as it is.
  void SetDataContainer(TRefPtr<TZTSmartBuffer> container) override;
  // Refreshes the base's caches and the geometry caches below.
  void PopulateCahces() override;

 private:
  struct TStorageAndFormat {
    TRefPtr<TQXSmartImageBuffer> Storage;
    TQXVideoFormat Format;
  };
  explicit TQXImageBuffer(TStorageAndFormat image);
  // What a frame built from `source` holds.
  static TStorageAndFormat SharedImageOf(const IZTDataBuffer& source);

  // The one channel at byte `channel` of each pixel as a new gray frame.
  TRefPtr<IQXImageBuffer> GetColorChannel(int channel) const;
  void SetColorChannel(int channel, std::uint8_t value);

  TQXSmartImageBuffer* FBuffer = nullptr;
  TQXVideoFormat FFormat = vfRGB24;
  std::uint32_t FWidth = 0;
  std::uint32_t FHeight = 0;
  std::uint32_t FBytesPerPixel = 0;
  std::uint32_t FStep = 0;
  TQXTimeCode FTimeCode{*this};
  TQXDateTime FDateTime{*this};
};

// The image buffer behind `buffer` (any interface of it), or null when the
// buffer is not an image buffer.
TRefPtr<TQXImageBuffer> QXGetImageBuffer(const TRefPtr<IZTDataBuffer>& buffer);

}  // namespace qx
