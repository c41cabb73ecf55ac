// Storage classes of 16-bit pixels (RGB565 and RGB555 words).
#include "image/QXSmartImageBuffers.h"

namespace qx {
namespace {

using TField = TQXSmartRGB16ImageBuffer::TField;
using TLayout = TQXSmartRGB16ImageBuffer::TLayout;

constexpr TLayout kRGB565{{11, 5}, {5, 6}, {0, 5}};
// Bit 15 is outside every field: SetPixel leaves it zero.
constexpr TLayout kRGB555{{10, 5}, {5, 5}, {0, 5}};

const TLayout& LayoutOf(TQXVideoFormat format) { return format == vfRGB565 ? kRGB565 : kRGB555; }

// Words are little-endian whatever the host's byte order.
std::uint16_t ReadWord(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

void WriteWord(std::uint8_t* bytes, std::uint32_t word) {
  bytes[0] = static_cast<std::uint8_t>(word);
  bytes[1] = static_cast<std::uint8_t>(word >> 8);
}

std::uint32_t Mask(TField field) { return ((1u << field.bits) - 1) << field.shift; }

// The field holding the top bits of `value`.
std::uint32_t Pack(TField field, std::uint8_t value) {
  return std::uint32_t{value} >> (8 - field.bits) << field.shift;
}

// The field's bits as the top bits of a byte, the low bits zero.
std::uint8_t Unpack(TField field, std::uint32_t word) {
  return static_cast<std::uint8_t>((word & Mask(field)) >> field.shift << (8 - field.bits));
}

void ReplaceField(std::uint8_t* pixel, TField field, std::uint8_t value) {
  WriteWord(pixel, (ReadWord(pixel) & ~Mask(field)) | Pack(field, value));
}

}  // namespace

TQXSmartRGB16ImageBuffer::TQXSmartRGB16ImageBuffer(TQXVideoFormat format, std::uint32_t width,
                                                   std::uint32_t height)
    : TQXSmartImageBuffer(format, width, height), FLayout(LayoutOf(format)) {}

TQXSmartRGB16ImageBuffer::TQXSmartRGB16ImageBuffer(TQXVideoFormat format,
                                                   const TQXSmartImageBuffer& source, bool copyData)
    : TQXSmartImageBuffer(format, source, copyData), FLayout(LayoutOf(format)) {}

std::uint32_t TQXSmartRGB16ImageBuffer::GetPixel(std::uint32_t x, std::uint32_t y) const {
  const std::uint32_t word = ReadWord(PixelAt(x, y));
  return QXColorRGB(Unpack(FLayout.red, word), Unpack(FLayout.green, word),
                    Unpack(FLayout.blue, word));
}

void TQXSmartRGB16ImageBuffer::SetPixel(std::uint32_t x, std::uint32_t y, std::uint32_t color) {
  WriteWord(PixelAt(x, y), Pack(FLayout.red, QXRedOf(color)) |
                               Pack(FLayout.green, QXGreenOf(color)) |
                               Pack(FLayout.blue, QXBlueOf(color)));
}

void TQXSmartRGB16ImageBuffer::SetRed(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  ReplaceField(PixelAt(x, y), FLayout.red, value);
}

void TQXSmartRGB16ImageBuffer::SetGreen(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  ReplaceField(PixelAt(x, y), FLayout.green, value);
}

void TQXSmartRGB16ImageBuffer::SetBlue(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
  ReplaceField(PixelAt(x, y), FLayout.blue, value);
}

}  // namespace qx
