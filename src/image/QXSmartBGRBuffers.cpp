// Storage classes of 3- and 4-byte pixels (blue, green, red[, alpha]).
#include "dispatch/QXBasicDispatcher.h"
#include "image/QXSmartImageBuffers.h"

namespace qx {
namespace {

constexpr int kBlue = 0;
constexpr int kGreen = 1;
constexpr int kRed = 2;
constexpr int kAlpha = 3;

}  // namespace

std::uint32_t TQXSmartBGRImageBuffer::GetPixel(std::uint32_t x, std::uint32_t y) const {
  const std::uint8_t* pixel = PixelAt(x, y);
  return QXColorRGB(pixel[kRed], pixel[kGreen], pixel[kBlue]);
}

void TQXSmartBGRImageBuffer::SetPixel(std::uint32_t x, std::uint32_t y, std::uint32_t color) {
  std::uint8_t* pixel = PixelAt(x, y);
  pixel[kBlue] = QXBlueOf(color);
  pixel[kGreen] = QXGreenOf(color);
  pixel[kRed] = QXRedOf(color);
}

std::uint8_t TQXSmartBGRImageBuffer::GetRed(std::uint32_t x, std::uint32_t y) const {
  return PixelAt(x, y)[kRed];
}

void TQXSmartBGRImageBuffer::SetRed(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  PixelAt(x, y)[kRed] = value;
}

std::uint8_t TQXSmartBGRImageBuffer::GetGreen(std::uint32_t x, std::uint32_t y) const {
  return PixelAt(x, y)[kGreen];
}

void TQXSmartBGRImageBuffer::SetGreen(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  PixelAt(x, y)[kGreen] = value;
}

std::uint8_t TQXSmartBGRImageBuffer::GetBlue(std::uint32_t x, std::uint32_t y) const {
  return PixelAt(x, y)[kBlue];
}

void TQXSmartBGRImageBuffer::SetBlue(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  PixelAt(x, y)[kBlue] = value;
}

std::uint8_t TQXSmartRGBBuffer::GetGrayScale(std::uint32_t x, std::uint32_t y) const {
  // The frame conversion's kernel on the one pixel, so that a pixel's gray
  // equals the gray frame's byte.
  static const Ipp32f kWeights[3] = {0.114f, 0.587f, 0.299f};
  Ipp8u gray = 0;
  ippiColorToGray_8u_C3C1R(PixelAt(x, y), 3, &gray, 1, {1, 1}, kWeights);
  return gray;
}

std::uint8_t TQXSmartRGBABuffer::GetAlpha(std::uint32_t x, std::uint32_t y) const {
  return PixelAt(x, y)[kAlpha];
}

void TQXSmartRGBABuffer::SetAlpha(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  PixelAt(x, y)[kAlpha] = value;
}

}  // namespace qx
