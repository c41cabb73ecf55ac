// The storage classes of the pixel formats, one per format (vfRGB frames are
// held by the RGB24 class), and the functions that make a storage by format.
//
//   class                     format       GetPixel / channel getters          setters
//   TQXSmartRGBBuffer         vfRGB24      bytes (2, 1, 0) as red, green, blue   all colour setters
//   TQXSmartRGBABuffer        vfRGBA32     as RGB24; alpha is byte 3             as RGB24 (alpha
//   kept), SetAlpha TQXSmartRGB565Buffer      vfRGB565     each field shifted up, low bits 0 each
//   field takes the value's top bits TQXSmartRGB555Buffer      vfRGB555     as RGB565 as RGB565;
//   SetPixel clears bit 15 TQXSmartYUY2Buffer        vfYUY2       the pixel's pair converted to RGB
//   none TQXSmartUYVYBuffer        vfUYVY       as YUY2                               none
//   TQXSmartGrayScaleBuffer   vfGrayScale  (v, v, v)                             SetGrayScale only
//
// RGB24 computes GetGrayScale with the frame conversion's fixed-point
// weights (0.114, 0.587, 0.299 for bytes 0, 1, 2); gray frames return their
// byte; the other classes use the rounded base formula.
//
// YUV getters convert with the dispatcher's 4:2:2 entry, exactly as a whole
// frame converts: a pixel decodes with its pair's U and V, and the last pixel
// of an odd width (which has no V of its own) with the V of the preceding pair.
//
//   TRefPtr<TQXSmartImageBuffer> frame = QXCreateSmartImageBuffer(vfYUY2, 640, 480);
//   TRefPtr<TQXSmartImageBuffer> rgb = QXConvertSmartImageBuffer(vfRGB24, *frame);
#pragma once

#include <cstdint>

#include "host/RefCounted.h"
#include "image/QXSmartImageBuffer.h"
#include "image/QXVideoFormat.h"

namespace qx {

// Frames of 3- or 4-byte pixels: blue, green, red[, alpha].
class TQXSmartBGRImageBuffer : public TQXSmartImageBuffer {
 public:
  std::uint32_t GetPixel(std::uint32_t x, std::uint32_t y) const override;
  void SetPixel(std::uint32_t x, std::uint32_t y, std::uint32_t color) override;
  std::uint8_t GetRed(std::uint32_t x, std::uint32_t y) const override;
  void SetRed(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;
  std::uint8_t GetGreen(std::uint32_t x, std::uint32_t y) const override;
  void SetGreen(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;
  std::uint8_t GetBlue(std::uint32_t x, std::uint32_t y) const override;
  void SetBlue(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;

 protected:
  using TQXSmartImageBuffer::TQXSmartImageBuffer;
};

class TQXSmartRGBBuffer final
    : public TQXSmartImageBufferOf<TQXSmartRGBBuffer, vfRGB24, TQXSmartBGRImageBuffer> {
 public:
  using TQXSmartImageBufferOf::TQXSmartImageBufferOf;
  std::uint8_t GetGrayScale(std::uint32_t x, std::uint32_t y) const override;
};

class TQXSmartRGBABuffer final
    : public TQXSmartImageBufferOf<TQXSmartRGBABuffer, vfRGBA32, TQXSmartBGRImageBuffer> {
 public:
  using TQXSmartImageBufferOf::TQXSmartImageBufferOf;
  std::uint8_t GetAlpha(std::uint32_t x, std::uint32_t y) const override;
  void SetAlpha(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;
};

// Frames of little-endian 16-bit words holding three bit fields.
class TQXSmartRGB16ImageBuffer : public TQXSmartImageBuffer {
 public:
  std::uint32_t GetPixel(std::uint32_t x, std::uint32_t y) const override;
  void SetPixel(std::uint32_t x, std::uint32_t y, std::uint32_t color) override;
  void SetRed(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;
  void SetGreen(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;
  void SetBlue(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;

  // One field of the word: `bits` bits starting at bit `shift`.
  struct TField {
    int shift;
    int bits;
  };
  struct TLayout {
    TField red, green, blue;
  };

 protected:
  TQXSmartRGB16ImageBuffer(TQXVideoFormat format, std::uint32_t width, std::uint32_t height);
  TQXSmartRGB16ImageBuffer(TQXVideoFormat format, const TQXSmartImageBuffer& source, bool copyData);

 private:
  const TLayout& FLayout;
};

class TQXSmartRGB565Buffer final
    : public TQXSmartImageBufferOf<TQXSmartRGB565Buffer, vfRGB565, TQXSmartRGB16ImageBuffer> {
 public:
  using TQXSmartImageBufferOf::TQXSmartImageBufferOf;
};

class TQXSmartRGB555Buffer final
    : public TQXSmartImageBufferOf<TQXSmartRGB555Buffer, vfRGB555, TQXSmartRGB16ImageBuffer> {
 public:
  using TQXSmartImageBufferOf::TQXSmartImageBufferOf;
};

// Frames of packed 4:2:2 YUV; the colour setters are ignored.
class TQXSmartYUV422ImageBuffer : public TQXSmartImageBuffer {
 public:
  std::uint32_t GetPixel(std::uint32_t x, std::uint32_t y) const override;

 protected:
  using TQXSmartImageBuffer::TQXSmartImageBuffer;
};

class TQXSmartYUY2Buffer final
    : public TQXSmartImageBufferOf<TQXSmartYUY2Buffer, vfYUY2, TQXSmartYUV422ImageBuffer> {
 public:
  using TQXSmartImageBufferOf::TQXSmartImageBufferOf;
};

class TQXSmartUYVYBuffer final
    : public TQXSmartImageBufferOf<TQXSmartUYVYBuffer, vfUYVY, TQXSmartYUV422ImageBuffer> {
 public:
  using TQXSmartImageBufferOf::TQXSmartImageBufferOf;
};

// Frames of one intensity byte per pixel; only SetGrayScale stores.
class TQXSmartGrayScaleBuffer final
    : public TQXSmartImageBufferOf<TQXSmartGrayScaleBuffer, vfGrayScale> {
 public:
  using TQXSmartImageBufferOf::TQXSmartImageBufferOf;
  std::uint32_t GetPixel(std::uint32_t x, std::uint32_t y) const override;
  std::uint8_t GetGrayScale(std::uint32_t x, std::uint32_t y) const override;
  void SetGrayScale(std::uint32_t x, std::uint32_t y, std::uint8_t value) override;
};

// A new storage of `format`'s class (RGB24 for vfRGB and values outside the
// enumeration) for a width x height frame, pixels uninitialised.
TRefPtr<TQXSmartImageBuffer> QXCreateSmartImageBuffer(TQXVideoFormat format, std::uint32_t width,
                                                      std::uint32_t height);

// A new storage of `format`'s class holding `source`'s pixels: a copy with
// its media stamps when `source` is of that class, a conversion otherwise.
TRefPtr<TQXSmartImageBuffer> QXConvertSmartImageBuffer(TQXVideoFormat format,
                                                       const TQXSmartImageBuffer& source);

}  // namespace qx
