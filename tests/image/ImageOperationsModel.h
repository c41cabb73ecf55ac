// Shared by the image operation suites: random frames, the pixel bytes of a
// frame without row padding, another holder that must keep its pixels, and
// the plain arithmetic the operations are checked against (written with
// floating point and floor divisions, not the kernels' shifts).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "PixelModel.h"
#include "image/QXImageBuffer.h"

namespace qx::test {

inline constexpr TQXVideoFormat kAllFormats[] = {vfRGB24,  vfYUY2,   vfUYVY,      vfRGBA32,
                                                 vfRGB565, vfRGB555, vfGrayScale, vfRGB};

inline TRefPtr<TQXImageBuffer> RandomImage(TQXVideoFormat format, int width, int height,
                                           std::uint32_t seed) {
  const std::vector<std::uint8_t> bytes = RandomFrame(format, width, height, seed);
  return MakeRef<TQXImageBuffer>(bytes.data(), width, height, format);
}

// The pixel bytes of a frame, row after row, without row padding.
inline std::vector<std::uint8_t> PixelBytes(const IQXImageBuffer& frame) {
  std::vector<std::uint8_t> bytes;
  const std::size_t rowBytes = std::size_t{frame.GetWidth()} * frame.GetBytesPerPixel();
  for (std::uint32_t y = 0; y < frame.GetHeight(); ++y) {
    const std::uint8_t* row = frame.Read() + std::size_t{y} * frame.GetStep();
    bytes.insert(bytes.end(), row, row + rowBytes);
  }
  return bytes;
}

// The pixel bytes `frame` has once converted to `format` (on a copy).
inline std::vector<std::uint8_t> BytesIn(const TQXImageBuffer& frame, TQXVideoFormat format) {
  auto copy = MakeRef<TQXImageBuffer>(frame);
  copy->SetFormat(format);
  return PixelBytes(*copy);
}

// A second holder of a frame's storage, taken before an operation: the
// operation must leave it the format and pixels it had.
class THeld {
 public:
  explicit THeld(const TQXImageBuffer& frame)
      : FHolder(MakeRef<TQXImageBuffer>(frame)),
        FFormat(frame.GetFormat()),
        FBytes(PixelBytes(frame)) {}

  void ExpectKept() const { ExpectKeptBy(*FHolder); }

  // For the frame the holder was taken from, when the operation only reads it.
  void ExpectKeptBy(const IQXImageBuffer& frame) const {
    EXPECT_EQ(frame.GetFormat(), FFormat);
    EXPECT_EQ(PixelBytes(frame), FBytes);
  }

 private:
  TRefPtr<TQXImageBuffer> FHolder;
  TQXVideoFormat FFormat;
  std::vector<std::uint8_t> FBytes;
};

// x / 2 to the nearest integer, an exact half to the even one.
inline int HalfEven(double x) { return static_cast<int>(std::nearbyint(x / 2)); }

inline int AtMost255(int x) { return x > 255 ? 255 : x; }

}  // namespace qx::test
