// Builds BMP files byte by byte for tests, independently of TBitmap's writer,
// so that every header variant and every kind of damage can be produced.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx::test {

struct BmpLayout {
  std::uint32_t headerSize = 40;  // 12, 40, 108 or 124
  std::int32_t width = 1;
  std::int32_t height = 1;  // negative: top-down
  std::uint16_t planes = 1;
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> masks{};
  std::vector<std::uint32_t> palette{};  // 0x00RRGGBB each
  std::uint32_t colorsUsed = 0;
  std::vector<std::vector<std::uint8_t>> rows{};  // in file order, each padded by the builder
};

// Appends the `bytes` low bytes of `v`, least significant first.
inline void PutLittleEndian(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> 8 * i));
}

inline std::string BuildBmp(const BmpLayout& layout) {
  std::string header;
  // The core header stores the size in 16-bit terms and three-byte palette entries.
  const bool core = layout.headerSize == 12;
  PutLittleEndian(header, layout.headerSize, 4);
  PutLittleEndian(header, static_cast<std::uint32_t>(layout.width), core ? 2 : 4);
  PutLittleEndian(header, static_cast<std::uint32_t>(layout.height), core ? 2 : 4);
  PutLittleEndian(header, layout.planes, 2);
  PutLittleEndian(header, layout.bits, 2);
  if (!core) {
    // Compression, image size, resolution, colours used and important.
    for (std::uint32_t v : {layout.compression, 0u, 2835u, 2835u, layout.colorsUsed, 0u}) {
      PutLittleEndian(header, v, 4);
    }
    // Masks follow a 40-byte header and sit at the same place inside larger ones.
    for (std::uint32_t mask : layout.masks) PutLittleEndian(header, mask, 4);
    if (header.size() < layout.headerSize) header.resize(layout.headerSize, '\0');
  }
  for (std::uint32_t colour : layout.palette) PutLittleEndian(header, colour, core ? 3 : 4);
  std::string pixels;
  for (const auto& row : layout.rows) {
    pixels.append(row.begin(), row.end());
    while (pixels.size() % 4 != 0) pixels.push_back('\0');
  }
  std::string file = "BM";
  PutLittleEndian(file, static_cast<std::uint32_t>(14 + header.size() + pixels.size()), 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, static_cast<std::uint32_t>(14 + header.size()), 4);
  return file + header + pixels;
}

}  // namespace qx::test
