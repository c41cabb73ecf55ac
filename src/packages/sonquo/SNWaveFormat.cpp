#include "packages/sonquo/SNWaveFormat.h"

#include <cstring>

#include "packages/zenthic/ZTException.h"

namespace qx {

TSNWaveFormat::TSNWaveFormat(const void* format, std::size_t available) {
  if (!format || available < sizeof(WAVEFORMATEX)) {
    throw EZTException("a wave format needs at least 18 bytes");
  }
  WAVEFORMATEX head;
  std::memcpy(&head, format, sizeof head);
  const std::size_t size = sizeof head + head.cbSize;
  if (available < size) {
    throw EZTException("the wave format declares more extra bytes than it has");
  }
  const auto* bytes = static_cast<const std::uint8_t*>(format);
  FBytes.assign(bytes, bytes + size);
}

WAVEFORMATEX TSNWaveFormat::GetFormat() const {
  if (IsEmpty()) throw EZTException("no wave format");
  WAVEFORMATEX format;
  std::memcpy(&format, FBytes.data(), sizeof format);
  return format;
}

std::optional<WAVEFORMATEXTENSIBLE> TSNWaveFormat::GetExtensible() const {
  if (FBytes.size() < sizeof(WAVEFORMATEXTENSIBLE)) return std::nullopt;
  if (GetFormat().wFormatTag != WAVE_FORMAT_EXTENSIBLE) return std::nullopt;
  WAVEFORMATEXTENSIBLE format;
  std::memcpy(&format, FBytes.data(), sizeof format);
  return format;
}

}  // namespace qx
