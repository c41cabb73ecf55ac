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

class BmpBuilder {
 public:
  static std::string Build(const BmpLayout& layout) {
    std::string header;
    const bool core = layout.headerSize == 12;
    // The core header stores the size in 16-bit terms, the others in 32-bit ones.
    const auto putTerm = [&](std::int32_t v) {
      core ? Put16(header, static_cast<std::uint16_t>(v))
           : Put32(header, static_cast<std::uint32_t>(v));
    };
    Put32(header, layout.headerSize);
    putTerm(layout.width);
    putTerm(layout.height);
    Put16(header, layout.planes);
    Put16(header, layout.bits);
    if (!core) {
      // Compression, image size, resolution, colours used and important.
      for (std::uint32_t v : {layout.compression, 0u, 2835u, 2835u, layout.colorsUsed, 0u}) {
        Put32(header, v);
      }
      // Masks follow a 40-byte header and sit at the same place inside larger ones.
      for (std::uint32_t mask : layout.masks) Put32(header, mask);
      if (header.size() < layout.headerSize) header.resize(layout.headerSize, '\0');
    }
    for (std::uint32_t colour : layout.palette) {
      header.push_back(static_cast<char>(colour));
      header.push_back(static_cast<char>(colour >> 8));
      header.push_back(static_cast<char>(colour >> 16));
      if (!core) header.push_back('\0');
    }
    std::string pixels;
    for (const auto& row : layout.rows) {
      pixels.append(row.begin(), row.end());
      while (pixels.size() % 4 != 0) pixels.push_back('\0');
    }
    std::string file = "BM";
    Put32(file, static_cast<std::uint32_t>(14 + header.size() + pixels.size()));
    Put32(file, 0);
    Put32(file, static_cast<std::uint32_t>(14 + header.size()));
    return file + header + pixels;
  }

 private:
  static void Put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v));
    out.push_back(static_cast<char>(v >> 8));
  }
  static void Put32(std::string& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
  }
};

}  // namespace qx::test
