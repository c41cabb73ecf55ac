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
#include "image/QXAlphaCompOperation.h"
#include "image/QXPackedColor.h"
#include "image/QXVideoFormat.h"
#include "packages/sonquo/KRMediaBuffer.h"

namespace qx {

class TQXTimeCode;
class TQXDateTime;
class TBitmap;
class TQXBasicBitmap;

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

  // --- Bitmaps -------------------------------------------------------------
  // Pixels exchanged with the host's TBitmap (host/Bitmap.h) and the memory
  // bitmap TQXBasicBitmap / TQXBitmap (image/QXBitmap.h), whose rows are
  // copied top row first. Only 24- and 32-bit pixels are exchanged.
  //
  // FromBitmap makes this frame the bitmap's size and its pixels: RGBA32
  // (alpha from the bitmap's fourth bytes) for a 32-bit bitmap, RGB24 for
  // any other depth. The pixels go to a storage private to this frame;
  // other frames sharing the old one keep it. An empty TBitmap leaves the
  // frame unchanged; an empty TQXBasicBitmap gives an empty frame.
  virtual void FromBitmap(const TBitmap& bitmap) = 0;
  virtual void FromBitmap(const TQXBasicBitmap& bitmap) = 0;
  // ToBitmap makes the bitmap this frame's size and pixels: 32 bits from an
  // RGBA32 frame; 24 bits from any other, which is first converted to
  // vfRGB24 (this frame's format changes, as for any conversion).
  virtual void ToBitmap(TBitmap& bitmap) = 0;
  virtual void ToBitmap(TQXBasicBitmap& bitmap) = 0;

  // --- Whole-image operations ------------------------------------------------
  // Each operation first converts this frame to a format its kernel works on
  // (said with each group), then changes the pixels in place; other frames
  // that shared the old storage keep theirs. Nothing is checked or reported.
  //
  // Operands: a colour reference (`color`) acts on red, green and blue. A
  // TQXPackedColor, or a colour with an `alpha` byte, also acts on the alpha
  // of an RGBA32 frame (other formats have no alpha and use only its colour).
  // A byte acts on every channel. SetValue(0) would be ambiguous between the
  // colour and the byte form: pass a byte as std::uint8_t.
  //
  // Scaled arithmetic: every result of Add, Subtract, Multiply, Divide, their
  // ...Value forms and Sqr is halved, rounded to nearest with ties to even,
  // then limited to 0..255. So adding a frame to an equal one, or multiplying
  // by 2, leaves the pixels as they were. A division by zero gives 255 where
  // the dividend is not zero, else 0 -- except that DivideValue with a
  // colour on RGBA32 leaves the frame unchanged when a channel is 0.
  //
  // Two frames: the operation covers the top-left region the two frames have
  // in common (the smaller width and height); the rest of this frame keeps
  // its pixels. The other frame is never changed (nor any frame sharing its
  // storage), and may be this frame itself. Formats: if the two differ, an
  // RGBA32 frame stays and reads the other as RGBA32, and any other frame is
  // converted to RGB24 and reads the other as RGB24; then a YUY2, UYVY,
  // RGB565 or RGB555 frame is converted to RGB24. Two gray frames stay gray.
  // On RGBA32 this frame's alpha is kept.
  //
  // X(a, b) is Assign(a) followed by X(b): this frame becomes a op b.

  // Composites `other` (the upper image) onto this frame by their per-pixel
  // alpha (image/QXAlphaCompOperation.h), alpha included. This frame becomes
  // RGBA32; `other` is read as RGBA32 (alpha 255 unless it is RGBA32).
  virtual void AlphaComp(const IQXImageBuffer& other, TQXAlphaCompOperation operation) = 0;

  // Value operations. RGB24, RGB and RGBA32 frames keep their format; every
  // other frame is converted to RGB24 first. On RGBA32 a colour leaves alpha
  // as it is -- except SubtractValue, which subtracts 0 from alpha and so
  // halves it with the scale -- and a packed colour or alpha byte applies to
  // alpha as to the colour channels.
  //
  // Below, b is the other frame or the value.
  // this := (this + b), then scaled.
  virtual void Add(const IQXImageBuffer& b) = 0;
  virtual void Add(const IQXImageBuffer& a, const IQXImageBuffer& b) = 0;
  virtual void AddValue(std::uint32_t color) = 0;
  virtual void AddValue(std::uint32_t color, std::uint8_t alpha) = 0;
  virtual void AddValue(TQXPackedColor value) = 0;
  // this := (this - b), negative differences 0, then scaled.
  virtual void Subtract(const IQXImageBuffer& b) = 0;
  virtual void Subtract(const IQXImageBuffer& a, const IQXImageBuffer& b) = 0;
  virtual void SubtractValue(std::uint32_t color) = 0;
  virtual void SubtractValue(std::uint32_t color, std::uint8_t alpha) = 0;
  virtual void SubtractValue(TQXPackedColor value) = 0;
  // this := (this x b), then scaled.
  virtual void Multiply(const IQXImageBuffer& b) = 0;
  virtual void Multiply(const IQXImageBuffer& a, const IQXImageBuffer& b) = 0;
  virtual void MultiplyValue(std::uint32_t color) = 0;
  virtual void MultiplyValue(std::uint32_t color, std::uint8_t alpha) = 0;
  virtual void MultiplyValue(TQXPackedColor value) = 0;
  // this := this x b / 255, rounded down (255 is the identity); not scaled.
  virtual void MultiplyScale(const IQXImageBuffer& b) = 0;
  virtual void MultiplyScale(const IQXImageBuffer& a, const IQXImageBuffer& b) = 0;
  virtual void MultiplyScaleValue(std::uint32_t color) = 0;
  virtual void MultiplyScaleValue(std::uint32_t color, std::uint8_t alpha) = 0;
  virtual void MultiplyScaleValue(TQXPackedColor value) = 0;
  // this := this / b, scaled.
  virtual void Divide(const IQXImageBuffer& b) = 0;
  virtual void Divide(const IQXImageBuffer& a, const IQXImageBuffer& b) = 0;
  virtual void DivideValue(std::uint32_t color) = 0;
  virtual void DivideValue(std::uint32_t color, std::uint8_t alpha) = 0;
  virtual void DivideValue(TQXPackedColor value) = 0;
  // this := |this - b|; not scaled.
  virtual void AbsDiff(const IQXImageBuffer& b) = 0;
  virtual void AbsDiff(const IQXImageBuffer& a, const IQXImageBuffer& b) = 0;
  // Bitwise this and / or / xor b.
  virtual void LAnd(const IQXImageBuffer& b) = 0;
  virtual void LAnd(const IQXImageBuffer& a, const IQXImageBuffer& b) = 0;
  virtual void LAndValue(std::uint32_t color) = 0;
  virtual void LAndValue(std::uint32_t color, std::uint8_t alpha) = 0;
  virtual void LAndValue(TQXPackedColor value) = 0;
  virtual void LOr(const IQXImageBuffer& b) = 0;
  virtual void LOr(const IQXImageBuffer& a, const IQXImageBuffer& b) = 0;
  virtual void LOrValue(std::uint32_t color) = 0;
  virtual void LOrValue(std::uint32_t color, std::uint8_t alpha) = 0;
  virtual void LOrValue(TQXPackedColor value) = 0;
  virtual void LXor(const IQXImageBuffer& b) = 0;
  virtual void LXor(const IQXImageBuffer& a, const IQXImageBuffer& b) = 0;
  virtual void LXorValue(std::uint32_t color) = 0;
  virtual void LXorValue(std::uint32_t color, std::uint8_t alpha) = 0;
  virtual void LXorValue(TQXPackedColor value) = 0;
  // Each channel shifted by its own count, the operand's byte for that
  // channel (red's count is the red byte). Bits shifted out are lost; a
  // count above 7 clears the channel.
  virtual void LShiftValue(std::uint32_t color) = 0;
  virtual void LShiftValue(std::uint32_t color, std::uint8_t alpha) = 0;
  virtual void LShiftValue(TQXPackedColor value) = 0;
  virtual void RShiftValue(std::uint32_t color) = 0;
  virtual void RShiftValue(std::uint32_t color, std::uint8_t alpha) = 0;
  virtual void RShiftValue(TQXPackedColor value) = 0;

  // Inversion (255 - v) and scaled square of every channel. A YUY2 or UYVY
  // frame is converted to RGB24 first; every other frame keeps its format;
  // RGBA32 keeps its alpha. RGB565 and RGB555 frames are worked on channel by
  // channel in their own precision, so every field is inverted or squared
  // and bit 15 of an RGB555 word stays 0.
  virtual void LNot() = 0;
  // this := NOT source over the common region. A source in another format is
  // read converted to this frame's format (after this frame's own
  // conversion; a 16-bit frame reads it as RGB24 and packs the result); the
  // source itself, and every frame sharing its storage, never changes.
  virtual void LNot(const IQXImageBuffer& source) = 0;
  virtual void Sqr() = 0;
  // this := source squared, scaled, over the common region; the source is
  // read as for LNot(source).
  virtual void Sqr(const IQXImageBuffer& source) = 0;

  // Fills of the whole frame.
  // - A colour: a gray frame gets the colour's gray, round(0.299 R + 0.587 G
  //   + 0.114 B); RGBA32 keeps its alpha; RGB565 and RGB555 store the top
  //   bits of each channel; every other frame becomes RGB24.
  virtual void SetValue(std::uint32_t color) = 0;
  // - A packed colour: the frame becomes RGBA32, alpha included.
  virtual void SetValue(TQXPackedColor value) = 0;
  // - A byte: a gray frame stays gray; RGBA32 gets (v, v, v) and keeps its
  //   alpha; every other frame becomes RGB24.
  virtual void SetValue(std::uint8_t value) = 0;
  // - With an alpha byte: on RGBA32 alpha is set too; other frames are
  //   filled as without it.
  virtual void SetValue(std::uint8_t value, std::uint8_t alpha) = 0;
  virtual void SetValue(std::uint32_t color, std::uint8_t alpha) = 0;
  // Sets every alpha byte, the colours kept; the frame becomes RGBA32.
  virtual void SetAlpha(std::uint8_t alpha) = 0;
  // Fills with one gray level; the frame becomes gray.
  virtual void SetGrayScale(std::uint8_t value) = 0;
  // SetValue(0) and SetValue(0, alpha) for the byte forms.
  virtual void Zero() = 0;
  virtual void Zero(std::uint8_t alpha) = 0;

 protected:
  ~IQXImageBuffer() override = default;
};

}  // namespace qx
