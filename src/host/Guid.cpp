#include "host/Guid.h"

#include <cstdio>

namespace qx {

std::string TGUID::ToString() const {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                unsigned(D1), unsigned(D2), unsigned(D3), D4[0], D4[1], D4[2], D4[3], D4[4], D4[5],
                D4[6], D4[7]);
  return text;
}

}  // namespace qx

std::size_t std::hash<qx::TGUID>::operator()(const qx::TGUID& g) const noexcept {
  // FNV-1a over the sixteen bytes, field by field so that padding never counts.
  std::uint64_t h = 0xcbf29ce484222325ull;
  auto mix = [&h](std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      h ^= (value >> (8 * i)) & 0xFF;
      h *= 0x100000001b3ull;
    }
  };
  mix(g.D1, 4);
  mix(g.D2, 2);
  mix(g.D3, 2);
  for (std::uint8_t b : g.D4) mix(b, 1);
  return static_cast<std::size_t>(h);
}
