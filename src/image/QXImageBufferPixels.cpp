// TQXImageBuffer: per-pixel access and whole-channel operations.
#include "dispatch/QXBasicDispatcher.h"
#include "image/QXImageBuffer.h"

namespace qx {
namespace {

// Byte positions of the channels in a pixel (blue, green, red, alpha).
constexpr int kBlue = 0;
constexpr int kGreen = 1;
constexpr int kRed = 2;
constexpr int kAlpha = 3;

}  // namespace

std::uint32_t TQXImageBuffer::GetPixel(std::uint32_t x, std::uint32_t y) const {
  return FBuffer->GetPixel(x, y);
}

std::uint8_t TQXImageBuffer::GetRed(std::uint32_t x, std::uint32_t y) const {
  return FBuffer->GetRed(x, y);
}

std::uint8_t TQXImageBuffer::GetGreen(std::uint32_t x, std::uint32_t y) const {
  return FBuffer->GetGreen(x, y);
}

std::uint8_t TQXImageBuffer::GetBlue(std::uint32_t x, std::uint32_t y) const {
  return FBuffer->GetBlue(x, y);
}

std::uint8_t TQXImageBuffer::GetAlpha(std::uint32_t x, std::uint32_t y) const {
  return FBuffer->GetAlpha(x, y);
}

std::uint8_t TQXImageBuffer::GetGrayScale(std::uint32_t x, std::uint32_t y) const {
  return FBuffer->GetGrayScale(x, y);
}

void TQXImageBuffer::SetPixel(std::uint32_t x, std::uint32_t y, std::uint32_t color) {
  SetFormatRGB();
  Unique(true);
  SetPixelInt(x, y, color);
}

void TQXImageBuffer::SetRed(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  SetFormatRGB();
  Unique(true);
  SetRedInt(x, y, value);
}

void TQXImageBuffer::SetGreen(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  SetFormatRGB();
  Unique(true);
  SetGreenInt(x, y, value);
}

void TQXImageBuffer::SetBlue(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  SetFormatRGB();
  Unique(true);
  SetBlueInt(x, y, value);
}

void TQXImageBuffer::SetAlpha(std::uint32_t x, std::uint32_t y, std::uint8_t alpha) {
  SetFormat(vfRGBA32);
  Unique(true);
  SetAlphaInt(x, y, alpha);
}

void TQXImageBuffer::SetPixelAlpha(std::uint32_t x, std::uint32_t y, std::uint32_t color,
                                   std::uint8_t alpha) {
  SetFormat(vfRGBA32);
  Unique(true);
  SetPixelInt(x, y, color);
  SetAlphaInt(x, y, alpha);
}

void TQXImageBuffer::SetGrayScale(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  // Colour formats with a byte per channel store (v, v, v) as they are.
  if (FFormat != vfRGBA32 && FFormat != vfRGB24 && FFormat != vfRGB) SetFormat(vfGrayScale);
  Unique(true);
  SetGrayScaleInt(x, y, value);
}

void TQXImageBuffer::SetPixelInt(std::uint32_t x, std::uint32_t y, std::uint32_t color) {
  FBuffer->SetPixel(x, y, color);
}

void TQXImageBuffer::SetRedInt(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  FBuffer->SetRed(x, y, value);
}

void TQXImageBuffer::SetGreenInt(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  FBuffer->SetGreen(x, y, value);
}

void TQXImageBuffer::SetBlueInt(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  FBuffer->SetBlue(x, y, value);
}

void TQXImageBuffer::SetAlphaInt(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  FBuffer->SetAlpha(x, y, value);
}

void TQXImageBuffer::SetGrayScaleInt(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  FBuffer->SetGrayScale(x, y, value);
}

void TQXImageBuffer::SetColorChannel(int channel, std::uint8_t value) {
  if (FFormat != vfRGBA32) SetFormat(vfRGB24);
  if (GetByteSize() == 0) return;
  Ipp8u* const pixels = Modify();
  const auto set = FFormat == vfRGBA32 ? ippiSet_8u_C4CR : ippiSet_8u_C3CR;
  set(value, pixels + channel, static_cast<int>(FStep), GetDimSize());
}

void TQXImageBuffer::SetRedChannel(std::uint8_t value) { SetColorChannel(kRed, value); }

void TQXImageBuffer::SetGreenChannel(std::uint8_t value) { SetColorChannel(kGreen, value); }

void TQXImageBuffer::SetBlueChannel(std::uint8_t value) { SetColorChannel(kBlue, value); }

void TQXImageBuffer::SetAlphaChannel(std::uint8_t value) {
  SetFormat(vfRGBA32);
  if (GetByteSize() == 0) return;
  Ipp8u* const pixels = Modify();
  ippiSet_8u_C4CR(value, pixels + kAlpha, static_cast<int>(FStep), GetDimSize());
}

TRefPtr<IQXImageBuffer> TQXImageBuffer::GetColorChannel(int channel) const {
  auto result = MakeRef<TQXImageBuffer>(FWidth, FHeight, vfGrayScale);
  if (result->GetByteSize() == 0) return result;
  const int resultStep = static_cast<int>(result->GetStep());
  if (FFormat == vfRGBA32) {
    ippiCopy_8u_C4C1R(Read() + channel, static_cast<int>(FStep), result->Write(), resultStep,
                      GetDimSize());
    return result;
  }
  // A second frame on this storage is converted, so this one keeps its format.
  auto rgb = MakeRef<TQXImageBuffer>(*this);
  rgb->SetFormat(vfRGB24);
  ippiCopy_8u_C3C1R(rgb->Read() + channel, static_cast<int>(rgb->GetStep()), result->Write(),
                    resultStep, GetDimSize());
  return result;
}

TRefPtr<IQXImageBuffer> TQXImageBuffer::GetRedChannel() const { return GetColorChannel(kRed); }

TRefPtr<IQXImageBuffer> TQXImageBuffer::GetGreenChannel() const { return GetColorChannel(kGreen); }

TRefPtr<IQXImageBuffer> TQXImageBuffer::GetBlueChannel() const { return GetColorChannel(kBlue); }

TRefPtr<IQXImageBuffer> TQXImageBuffer::GetAlphaChannel() const {
  if (FFormat == vfRGBA32) return GetColorChannel(kAlpha);
  auto opaque = MakeRef<TQXImageBuffer>(FWidth, FHeight, vfGrayScale);
  if (opaque->GetByteSize() != 0) {
    ippiSet_8u_C1R(255, opaque->Write(), static_cast<int>(opaque->GetStep()), GetDimSize());
  }
  return opaque;
}

}  // namespace qx
