// IQXImageBuffer: the frame that travels between components.
//
// A frame is a light handle on a pixel storage (image/QXSmartImageBuffer.h)
// in one of the eight formats (image/QXVideoFormat.h). Copying a frame,
// passing it on or building a frame from another shares the storage; pixels
// are copied only when a holder asks to write while the storage is shared
// (the copy-on-write rules of IZTDataBuffer). Every operation that needs a
// particular format converts this frame in place first: its format changes,
// other frames sharing the old storage do not.
//
// Holders keep frames through TRefPtr<IQXImageBuffer>; TQXImageBuffer
// (image/QXImageBuffer.h) is the implementation, and QXGetImageBuffer finds
// it behind any data buffer interface.
//
// Coordinates and sizes are not checked: callers keep x < width and
// y < height. No operation raises or reports an error. One frame is used by
// one thread at a time; frames sharing a storage may be used on different
// threads.
#pragma once

#include <cstdint>

#include "dispatch/IppTypes.h"
#include "host/Guid.h"
#include "host/RefCounted.h"
#include "image/QXVideoFormat.h"
#include "packages/sonquo/KRMediaBuffer.h"

namespace qx {

class TQXTimeCode;
class TQXDateTime;

inline constexpr TGUID IID_IQXImageBuffer = TGUID::Parse("{FB9C18EE-78DE-4162-A79D-D9FA27B84235}");

class IQXImageBuffer : public virtual IKRMediaBuffer {
 public:
  // --- Pixel block: rows of GetStep() bytes, top row first -----------------
  // The pointer stays valid until the next call on this frame that can
  // replace its storage (any Set..., a format change, Write, Modify, Unique,
  // Assign).

  // The pixels for reading only.
  virtual const std::uint8_t* Read() const = 0;
  // The pixels for overwriting: private to this frame, contents undefined
  // when they had to be unshared.
  virtual std::uint8_t* Write() = 0;
  // The pixels for changing in place: private to this frame, contents kept.
  virtual std::uint8_t* Modify() = 0;

  // --- Size and layout -----------------------------------------------------
  virtual std::uint32_t GetWidth() const = 0;
  virtual std::uint32_t GetHeight() const = 0;
  // Converts the pixels to `format` unless the frame is in it already.
  virtual void SetFormat(TQXVideoFormat format) = 0;
  virtual TQXVideoFormat GetFormat() const = 0;
  // The row length in pixels including padding (only RGB24 rows are padded).
  virtual std::uint32_t GetExtWidth() const = 0;
  virtual std::uint32_t GetBytesPerPixel() const = 0;
  // (width, height), as the kernels take a region.
  virtual IppiSize GetDimSize() const = 0;
  // Bytes from one row to the next: ExtWidth x BytesPerPixel.
  virtual std::uint32_t GetStep() const = 0;
  // A new storage of width x height pixels (in the current format, or in
  // `format`), pixels undefined, keeping the media time stamp; nothing
  // happens when size and format are unchanged.
  virtual void SetImageSize(std::uint32_t width, std::uint32_t height) = 0;
  virtual void SetImageSizeFormat(std::uint32_t width, std::uint32_t height,
                                  TQXVideoFormat format) = 0;

  // --- Pixels, one at a time -----------------------------------------------
  // Colours are colour references (red in the low byte). Getters read the
  // frame as it is. SetPixel and the colour setters first convert a frame
  // that is neither RGB24 nor RGBA32 to RGB24; the alpha setters convert to
  // RGBA32; SetGrayScale converts to gray scale unless the frame is RGB24,
  // RGB or RGBA32 (which store (v, v, v)). Every setter unshares first.
  virtual std::uint32_t GetPixel(std::uint32_t x, std::uint32_t y) const = 0;
  virtual void SetPixel(std::uint32_t x, std::uint32_t y, std::uint32_t color) = 0;
  virtual std::uint8_t GetRed(std::uint32_t x, std::uint32_t y) const = 0;
  virtual void SetRed(std::uint32_t x, std::uint32_t y, std::uint8_t value) = 0;
  virtual std::uint8_t GetGreen(std::uint32_t x, std::uint32_t y) const = 0;
  virtual void SetGreen(std::uint32_t x, std::uint32_t y, std::uint8_t value) = 0;
  virtual std::uint8_t GetBlue(std::uint32_t x, std::uint32_t y) const = 0;
  virtual void SetBlue(std::uint32_t x, std::uint32_t y, std::uint8_t value) = 0;
  // 255 for formats without alpha.
  virtual std::uint8_t GetAlpha(std::uint32_t x, std::uint32_t y) const = 0;
  virtual void SetAlpha(std::uint32_t x, std::uint32_t y, std::uint8_t alpha) = 0;
  virtual std::uint8_t GetGrayScale(std::uint32_t x, std::uint32_t y) const = 0;
  virtual void SetGrayScale(std::uint32_t x, std::uint32_t y, std::uint8_t value) = 0;
  // SetPixel and SetAlpha at once, on an RGBA32 frame.
  virtual void SetPixelAlpha(std::uint32_t x, std::uint32_t y, std::uint32_t color,
                             std::uint8_t alpha) = 0;

  // --- Whole channels ----------------------------------------------------
  // Setting red, green or blue keeps an RGBA32 frame and converts any other
  // to RGB24; setting alpha converts to RGBA32.
  virtual void SetRedChannel(std::uint8_t value) = 0;
  virtual void SetGreenChannel(std::uint8_t value) = 0;
  virtual void SetBlueChannel(std::uint8_t value) = 0;
  virtual void SetAlphaChannel(std::uint8_t value) = 0;
  // A new gray frame of the same size holding one channel; this frame keeps
  // its format. A frame without alpha gives 255 everywhere.
  virtual TRefPtr<IQXImageBuffer> GetRedChannel() const = 0;
  virtual TRefPtr<IQXImageBuffer> GetGreenChannel() const = 0;
  virtual TRefPtr<IQXImageBuffer> GetBlueChannel() const = 0;
  virtual TRefPtr<IQXImageBuffer> GetAlphaChannel() const = 0;

  // --- Stamps --------------------------------------------------------------
  // The frame's time code and capture date-time (image/QXTimeCode.h); the
  // media time stamp is GetTimeStamp.
  virtual TQXTimeCode& GetTimeCode() = 0;
  virtual const TQXTimeCode& GetTimeCode() const = 0;
  virtual TQXDateTime& GetDateTime() = 0;
  virtual const TQXDateTime& GetDateTime() const = 0;

  // The whole-image operations (arithmetic, logic, fills, alpha compositing)
  // join the interface here, with their implementation in a source of their own.

 protected:
  ~IQXImageBuffer() override = default;
};

}  // namespace qx
