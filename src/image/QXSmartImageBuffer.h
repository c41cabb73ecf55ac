// TQXSmartImageBuffer: the storage object of one frame -- one contiguous,
// reference-counted block of pixels in one format (image/QXVideoFormat.h),
// with the frame's media time stamp, time code and date-time stamp.
//
// Storage objects are shared between image buffers (image/QXImageBuffer.h)
// and are never written while shared: a holder that wants to write takes a
// private copy with `Clone` first. Each format has its own storage class
// (image/QXSmartImageBuffers.h); converting a frame means building a storage
// of the target class from an existing one.
//
// Geometry. Width, ExtWidth and Height are in pixels; Step = ExtWidth x
// BytesPerPixel bytes; CharSize = Step x Height bytes. A frame whose byte size
// would not fit 32 bits, or whose row (in its own format, or as the 3-byte
// pixels conversions pass through) would not fit a signed 32-bit kernel step,
// cannot be held: such a size gives an empty storage (0 x 0, no pixel block),
// so no accessor or kernel is ever handed a wrapped-around size.
//
// Per-pixel accessors take unchecked coordinates (x < Width, y < Height) and
// 32-bit colour references (red in the low byte). They serve occasional
// reads and writes; whole-frame work goes through the dispatcher entries.
// A class ignores the setters its format cannot store (the base setters do
// nothing); see each class for what its getters return.
//
// Threads: a storage takes no locks. Pixels are written only by the single
// holder of a storage; the stamps are written in place by whoever holds the
// frame, so producers stamp a frame before sharing it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/RefCounted.h"
#include "image/QXFrameStamps.h"
#include "image/QXVideoFormat.h"
#include "packages/sonquo/KRSmartMediaBuffer.h"
#include "packages/zenthic/ZTBufferAllocator.h"

namespace qx {

class TQXSmartImageBuffer : public TKRSmartMediaBuffer {
 public:
  TQXSmartImageBuffer(const TQXSmartImageBuffer&) = delete;
  TQXSmartImageBuffer& operator=(const TQXSmartImageBuffer&) = delete;

  // The format of this storage class (vfRGB24 for the class that also holds
  // vfRGB frames).
  virtual TQXVideoFormat GetFormat() const noexcept = 0;

  // `Clone(copyData)`: a new storage of the same class and size with the same
  // media and sequence stamps; the pixels are copied when `copyData` is true
  // and undefined otherwise. Time code and date-time are not carried.

  std::uint8_t* GetData() const noexcept override { return FBlock.GetData(); }
  std::size_t GetCharSize() const noexcept override { return FBlock.GetSize(); }

  std::uint32_t GetWidth() const noexcept { return FWidth; }
  std::uint32_t GetExtWidth() const noexcept { return FExtWidth; }
  std::uint32_t GetHeight() const noexcept { return FHeight; }
  std::uint32_t GetBytesPerPixel() const noexcept { return FBytesPerPixel; }
  std::uint32_t GetStep() const noexcept { return FExtWidth * FBytesPerPixel; }
  // Width x Height x 3, whatever the format: the size of the frame as 3-byte pixels.
  std::size_t GetPixelSize() const noexcept { return std::size_t{FWidth} * FHeight * 3; }

  // Pixel (x, y) as a colour reference.
  virtual std::uint32_t GetPixel(std::uint32_t x, std::uint32_t y) const = 0;
  virtual void SetPixel(std::uint32_t x, std::uint32_t y, std::uint32_t color);
  // One channel of pixel (x, y); the base takes it from GetPixel.
  virtual std::uint8_t GetRed(std::uint32_t x, std::uint32_t y) const;
  virtual void SetRed(std::uint32_t x, std::uint32_t y, std::uint8_t value);
  virtual std::uint8_t GetGreen(std::uint32_t x, std::uint32_t y) const;
  virtual void SetGreen(std::uint32_t x, std::uint32_t y, std::uint8_t value);
  virtual std::uint8_t GetBlue(std::uint32_t x, std::uint32_t y) const;
  virtual void SetBlue(std::uint32_t x, std::uint32_t y, std::uint8_t value);
  // Formats without alpha read 255 and ignore the setter.
  virtual std::uint8_t GetAlpha(std::uint32_t x, std::uint32_t y) const;
  virtual void SetAlpha(std::uint32_t x, std::uint32_t y, std::uint8_t value);
  // The base returns 0.299 R + 0.587 G + 0.114 B of GetPixel rounded to the
  // nearest integer, exact halves to the even one, and stores (v, v, v)
  // through SetPixel.
  virtual std::uint8_t GetGrayScale(std::uint32_t x, std::uint32_t y) const;
  virtual void SetGrayScale(std::uint32_t x, std::uint32_t y, std::uint8_t value);

  // Time code and date-time, read and written in place: GetTimeCodeAvailable,
  // SetTimeCodeAvailable, GetTimeCodeFrame, ... GetDateTimeYear,
  // SetDateTimeYear (image/QXFrameStamps.h lists the fields).
#define QX_STORAGE_STAMP_ACCESSORS(stamp, type, name)              \
  type Get##stamp##name() const noexcept { return F##stamp.name; } \
  void Set##stamp##name(type value) noexcept { F##stamp.name = value; }
#define QX_STORAGE_TIME_CODE_ACCESSORS(type, name) QX_STORAGE_STAMP_ACCESSORS(TimeCode, type, name)
#define QX_STORAGE_DATE_TIME_ACCESSORS(type, name) QX_STORAGE_STAMP_ACCESSORS(DateTime, type, name)
  QX_TIME_CODE_FIELDS(QX_STORAGE_TIME_CODE_ACCESSORS)
  QX_DATE_TIME_FIELDS(QX_STORAGE_DATE_TIME_ACCESSORS)
#undef QX_STORAGE_DATE_TIME_ACCESSORS
#undef QX_STORAGE_TIME_CODE_ACCESSORS
#undef QX_STORAGE_STAMP_ACCESSORS

  // Both stamps at once.
  const TQXTimeCodeStamp& GetTimeCodeStamp() const noexcept { return FTimeCode; }
  const TQXDateTimeStamp& GetDateTimeStamp() const noexcept { return FDateTime; }

 protected:
  // A frame of `format`'s layout, width x height pixels, uninitialised.
  TQXSmartImageBuffer(TQXVideoFormat format, std::uint32_t width, std::uint32_t height);
  // A storage of `format`'s class made from `source`. When `source` is of
  // that class: a copy of its geometry and media stamps, with the pixels
  // copied when `copyData` is true (undefined otherwise). When it is of
  // another class: a frame of the same width and height holding `source`'s
  // pixels converted, whatever `copyData` says, without its media stamps.
  TQXSmartImageBuffer(TQXVideoFormat format, const TQXSmartImageBuffer& source, bool copyData);
  ~TQXSmartImageBuffer() override = default;

  // The first byte of pixel (x, y).
  std::uint8_t* PixelAt(std::uint32_t x, std::uint32_t y) const noexcept {
    return GetData() + std::size_t{y} * GetStep() + std::size_t{x} * FBytesPerPixel;
  }

 private:
  std::uint32_t FWidth = 0;
  std::uint32_t FExtWidth = 0;
  std::uint32_t FHeight = 0;
  std::uint32_t FBytesPerPixel = 0;
  TQXTimeCodeStamp FTimeCode;
  TQXDateTimeStamp FDateTime;
  TZTBufferBlock FBlock;
};

// Completes a storage class: `Self` is the final class of format `Format`,
// deriving from `TQXSmartImageBufferOf<Self, Format, Base>`, where `Base` is
// TQXSmartImageBuffer or a class between it and the storage classes that
// takes (format, width, height) and (format, source, copyData) like it.
template <class Self, TQXVideoFormat Format, class Base = TQXSmartImageBuffer>
class TQXSmartImageBufferOf : public Base {
 public:
  // A frame of width x height pixels, uninitialised.
  TQXSmartImageBufferOf(std::uint32_t width, std::uint32_t height) : Base(Format, width, height) {}
  // A copy of a storage of this class or a conversion of any other (see
  // TQXSmartImageBuffer's protected constructor).
  TQXSmartImageBufferOf(const TQXSmartImageBuffer& source, bool copyData)
      : Base(Format, source, copyData) {}

  TQXVideoFormat GetFormat() const noexcept final { return Format; }

  TRefPtr<TZTSmartBuffer> Clone(bool copyData) const final {
    return TRefPtr<TZTSmartBuffer>(new Self(static_cast<const Self&>(*this), copyData));
  }
};

}  // namespace qx
