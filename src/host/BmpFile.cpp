// Reading and writing BMP files for TBitmap.
#include <algorithm>
#include <bit>
#include <cstring>
#include <istream>
#include <iterator>
#include <limits>
#include <ostream>
#include <vector>

#include "host/Bitmap.h"
#include "host/BitmapPixels.h"

namespace qx {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kJpeg = 4,
  kPng = 5,
  kAlphaBitFields = 6,
};

[[noreturn]] void Fail(const std::string& reason) { throw EInvalidGraphic(reason); }

// Little-endian fields of the file, every read checked against its end.
class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : fBytes(bytes) {}

  std::uint32_t U32(std::size_t offset) const { return Bytes(offset, 4); }
  std::uint16_t U16(std::size_t offset) const {
    return static_cast<std::uint16_t>(Bytes(offset, 2));
  }
  std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
  const std::uint8_t* At(std::size_t offset, std::size_t length, const char* what) const {
    if (offset > fBytes.size() || length > fBytes.size() - offset) {
      Fail(std::string("The file is truncated: its ") + what + " is incomplete");
    }
    return fBytes.data() + offset;
  }

 private:
  std::uint32_t Bytes(std::size_t offset, std::size_t count) const {
    const std::uint8_t* p = At(offset, count, "header");
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = value << 8 | p[i];
    return value;
  }
  const std::vector<std::uint8_t>& fBytes;
};

// The header fields that decide how the pixels are read.
struct BmpLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // always positive; `topDown` tells the row order
  bool topDown = false;
  int bits = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t masks[4] = {};  // red, green, blue, alpha
  std::vector<TRGBQuad> palette;
  std::uint32_t pixelOffset = 0;
};

BmpLayout ReadLayout(const Reader& in) {
  if (in.U16(0) != 0x4D42) Fail("Not a BMP file (no \"BM\" signature)");
  BmpLayout layout;
  layout.pixelOffset = in.U32(10);
  const std::uint32_t headerSize = in.U32(kFileHeaderSize);
  const std::size_t h = kFileHeaderSize;
  std::size_t paletteEntrySize = 4;
  std::uint32_t colorsUsed = 0;
  if (headerSize == kCoreHeaderSize) {
    layout.width = in.U16(h + 4);
    layout.height = in.U16(h + 6);
    if (in.U16(h + 8) != 1) Fail("A BMP file must have one plane");
    layout.bits = in.U16(h + 10);
    paletteEntrySize = 3;
  } else if (headerSize == kInfoHeaderSize || headerSize == 52 || headerSize == 56 ||
             headerSize == 108 || headerSize == 124) {
    layout.width = in.I32(h + 4);
    layout.height = in.I32(h + 8);
    if (in.U16(h + 12) != 1) Fail("A BMP file must have one plane");
    layout.bits = in.U16(h + 14);
    layout.compression = in.U32(h + 16);
    colorsUsed = in.U32(h + 32);
  } else {
    Fail("Unknown BMP header size " + std::to_string(headerSize));
  }
  if (layout.height < 0) {
    layout.topDown = true;
    layout.height = -layout.height;
  }
  if (layout.width <= 0 || layout.height <= 0) Fail("A BMP file must have a positive size");
  if (layout.bits != 1 && layout.bits != 4 && layout.bits != 8 && layout.bits != 16 &&
      layout.bits != 24 && layout.bits != 32) {
    Fail("Unsupported BMP depth of " + std::to_string(layout.bits) + " bits");
  }

  std::size_t afterHeader = h + headerSize;
  switch (layout.compression) {
    case kRgb:
      break;
    case kBitFields:
    case kAlphaBitFields: {
      if (layout.bits != 16 && layout.bits != 32) Fail("Bit-field masks need 16 or 32 bits");
      const int maskCount = layout.compression == kAlphaBitFields ? 4 : 3;
      // An info header is followed by the masks; later headers contain them.
      const bool masksFollow = headerSize == kInfoHeaderSize;
      const std::size_t maskOffset = h + kInfoHeaderSize;
      const int available = masksFollow ? maskCount : std::min<int>(4, (headerSize - 40) / 4);
      for (int i = 0; i < available; ++i) layout.masks[i] = in.U32(maskOffset + 4 * i);
      if (masksFollow) afterHeader += 4 * maskCount;
      break;
    }
    case kRle8:
    case kRle4:
      Fail("Run-length encoded BMP files are not supported");
    case kJpeg:
    case kPng:
      Fail("BMP files with embedded JPEG or PNG data are not supported");
    default:
      Fail("Unknown BMP compression " + std::to_string(layout.compression));
  }

  if (layout.bits <= 8) {
    const std::uint32_t capacity = 1u << layout.bits;
    const std::uint32_t count = colorsUsed == 0 ? capacity : colorsUsed;
    if (count > capacity) {
      Fail("A palette of " + std::to_string(count) + " colours is too large for " +
           std::to_string(layout.bits) + "-bit pixels");
    }
    const std::uint8_t* entries = in.At(afterHeader, count * paletteEntrySize, "palette");
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* e = entries + i * paletteEntrySize;
      layout.palette.push_back({e[0], e[1], e[2], 0});
    }
  }
  return layout;
}

// One colour channel of a bit-field mask: where it sits and how wide it is.
struct MaskField {
  explicit MaskField(std::uint32_t mask)
      : shift(mask == 0 ? 0 : std::countr_zero(mask)), bits(std::popcount(mask)), mask(mask) {
    if (bits < 32 && (mask >> shift) != (std::uint32_t{1} << bits) - 1) {
      Fail("Bit-field masks must be contiguous");
    }
  }
  // The field widened (low bits zero) or narrowed (low bits dropped) to 8 bits.
  std::uint8_t Extract(std::uint32_t pixel, std::uint8_t absent) const {
    if (bits == 0) return absent;
    const std::uint32_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>(bits >= 8 ? value >> (bits - 8) : value << (8 - bits));
  }
  int shift;
  int bits;
  std::uint32_t mask;
};

bool MasksAre(const BmpLayout& layout, std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return layout.masks[0] == red && layout.masks[1] == green && layout.masks[2] == blue;
}

// The format the pixels are kept in, and whether they must be decoded through
// their masks rather than copied.
TPixelFormat TargetFormat(const BmpLayout& layout, bool& decodeMasks) {
  decodeMasks = false;
  switch (layout.bits) {
    case 1:
      return pf1bit;
    case 4:
      return pf4bit;
    case 8:
      return pf8bit;
    case 24:
      return pf24bit;
    case 16:
      if (layout.compression == kRgb || MasksAre(layout, 0x7C00, 0x03E0, 0x001F)) return pf15bit;
      if (MasksAre(layout, 0xF800, 0x07E0, 0x001F)) return pf16bit;
      decodeMasks = true;
      return pf24bit;
    default:
      decodeMasks =
          layout.compression != kRgb && !(MasksAre(layout, 0x00FF0000, 0x0000FF00, 0x000000FF) &&
                                          (layout.masks[3] == 0 || layout.masks[3] == 0xFF000000));
      return pf32bit;
  }
}

std::uint32_t FilePixel(const std::uint8_t* row, std::int64_t x, int bits) {
  if (bits == 16) return static_cast<std::uint32_t>(row[2 * x] | row[2 * x + 1] << 8);
  const std::uint8_t* p = row + 4 * x;
  return p[0] | static_cast<std::uint32_t>(p[1]) << 8 | static_cast<std::uint32_t>(p[2]) << 16 |
         static_cast<std::uint32_t>(p[3]) << 24;
}

void Put16(std::ostream& out, std::uint16_t value) {
  const char bytes[2] = {static_cast<char>(value), static_cast<char>(value >> 8)};
  out.write(bytes, 2);
}

void Put32(std::ostream& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

}  // namespace

void TBitmap::LoadFromStream(std::istream& stream) {
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(stream),
                                        std::istreambuf_iterator<char>()};
  const Reader in(bytes);
  const BmpLayout layout = ReadLayout(in);
  bool decodeMasks = false;
  const TPixelFormat format = TargetFormat(layout, decodeMasks);

  // Every row must be in the file, which also bounds what we allocate.
  const std::int64_t fileStride = detail::ScanLineBytes(layout.width, layout.bits);
  if (fileStride > static_cast<std::int64_t>(bytes.size()) ||
      layout.height > static_cast<std::int64_t>(bytes.size()) / fileStride) {
    Fail("The file is truncated: its pixel data is incomplete");
  }
  const std::uint8_t* pixels =
      in.At(layout.pixelOffset, static_cast<std::size_t>(fileStride * layout.height), "pixel data");

  TBitmap loaded(0, 0, format);
  if (!layout.palette.empty()) loaded.FPalette = layout.palette;
  loaded.SetSize(static_cast<int>(layout.width), static_cast<int>(layout.height));
  const MaskField fields[4] = {MaskField(layout.masks[0]), MaskField(layout.masks[1]),
                               MaskField(layout.masks[2]), MaskField(layout.masks[3])};
  std::vector<TRGBQuad> quads(decodeMasks ? static_cast<std::size_t>(layout.width) : 0);
  for (std::int64_t y = 0; y < layout.height; ++y) {
    const std::int64_t fileRow = layout.topDown ? y : layout.height - 1 - y;
    const std::uint8_t* from = pixels + fileRow * fileStride;
    std::uint8_t* to = loaded.ScanLine(static_cast<int>(y));
    if (!decodeMasks) {
      std::memcpy(to, from, static_cast<std::size_t>(loaded.FStride));
      continue;
    }
    for (std::int64_t x = 0; x < layout.width; ++x) {
      const std::uint32_t pixel = FilePixel(from, x, layout.bits);
      quads[static_cast<std::size_t>(x)] = {
          fields[2].Extract(pixel, 0), fields[1].Extract(pixel, 0), fields[0].Extract(pixel, 0),
          fields[3].Extract(pixel, 255)};
    }
    detail::EncodeScanLine(format, loaded.FPalette, quads, to);
  }
  *this = std::move(loaded);
}

void TBitmap::SaveToStream(std::ostream& stream) const {
  if (Empty()) throw EInvalidGraphic("An empty bitmap cannot be saved");
  const bool withMasks = FPixelFormat == pf16bit;
  const auto paletteBytes = static_cast<std::uint32_t>(FPalette.size() * 4);
  const std::uint32_t pixelOffset = static_cast<std::uint32_t>(kFileHeaderSize) + kInfoHeaderSize +
                                    (withMasks ? 12 : 0) + paletteBytes;
  const std::uint64_t imageBytes =
      static_cast<std::uint64_t>(FStride) * static_cast<std::uint64_t>(FHeight);
  if (pixelOffset + imageBytes > std::numeric_limits<std::uint32_t>::max()) {
    throw EInvalidGraphic("The bitmap is too large for a BMP file");
  }

  Put16(stream, 0x4D42);
  Put32(stream, static_cast<std::uint32_t>(pixelOffset + imageBytes));
  Put32(stream, 0);
  Put32(stream, pixelOffset);

  Put32(stream, kInfoHeaderSize);
  Put32(stream, static_cast<std::uint32_t>(FWidth));
  Put32(stream, static_cast<std::uint32_t>(FHeight));  // positive: bottom-up rows
  Put16(stream, 1);
  Put16(stream, static_cast<std::uint16_t>(BitsPerPixel(FPixelFormat)));
  Put32(stream, withMasks ? kBitFields : kRgb);
  Put32(stream, static_cast<std::uint32_t>(imageBytes));
  Put32(stream, 0);
  Put32(stream, 0);
  Put32(stream, static_cast<std::uint32_t>(FPalette.size()));
  Put32(stream, 0);
  if (withMasks) {
    Put32(stream, 0xF800);
    Put32(stream, 0x07E0);
    Put32(stream, 0x001F);
  }
  for (const TRGBQuad& entry : FPalette) {
    const char quad[4] = {static_cast<char>(entry.rgbBlue), static_cast<char>(entry.rgbGreen),
                          static_cast<char>(entry.rgbRed), 0};
    stream.write(quad, 4);
  }
  stream.write(reinterpret_cast<const char*>(FPixels.data()),
               static_cast<std::streamsize>(FPixels.size()));
  if (!stream) throw EFileStreamError("The bitmap could not be written");
}

}  // namespace qx
