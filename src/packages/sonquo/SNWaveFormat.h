// The wave format declarations of the platform, with their real layouts, and
// TSNWaveFormat, a private copy of a format of any length.
//
// WAVEFORMATEX and WAVEFORMATEXTENSIBLE are byte-packed, exactly as the
// platform headers declare them (18 and 40 bytes, little-endian fields), so a
// format read from a file, a driver or a media type can be copied into them
// byte for byte. A WAVEFORMATEX is followed in memory by `cbSize` extra bytes;
// in a WAVEFORMATEXTENSIBLE they are the 22 bytes after `Format`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/Guid.h"

namespace qx {

inline constexpr std::uint16_t WAVE_FORMAT_PCM = 0x0001;
inline constexpr std::uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

// The sub-format of integer PCM samples in a WAVEFORMATEXTENSIBLE.
inline constexpr TGUID KSDATAFORMAT_SUBTYPE_PCM =
    TGUID::Parse("{00000001-0000-0010-8000-00AA00389B71}");

#pragma pack(push, 1)

struct WAVEFORMATEX {
  std::uint16_t wFormatTag;
  std::uint16_t nChannels;
  std::uint32_t nSamplesPerSec;
  std::uint32_t nAvgBytesPerSec;
  std::uint16_t nBlockAlign;
  std::uint16_t wBitsPerSample;
  std::uint16_t cbSize;  // extra bytes following the structure
};

struct WAVEFORMATEXTENSIBLE {
  WAVEFORMATEX Format;  // wFormatTag WAVE_FORMAT_EXTENSIBLE, cbSize 22
  union {
    std::uint16_t wValidBitsPerSample;
    std::uint16_t wSamplesPerBlock;
    std::uint16_t wReserved;
  } Samples;
  std::uint32_t dwChannelMask;
  TGUID SubFormat;
};

#pragma pack(pop)

static_assert(sizeof(WAVEFORMATEX) == 18);
static_assert(offsetof(WAVEFORMATEX, wFormatTag) == 0);
static_assert(offsetof(WAVEFORMATEX, nChannels) == 2);
static_assert(offsetof(WAVEFORMATEX, nSamplesPerSec) == 4);
static_assert(offsetof(WAVEFORMATEX, nAvgBytesPerSec) == 8);
static_assert(offsetof(WAVEFORMATEX, nBlockAlign) == 12);
static_assert(offsetof(WAVEFORMATEX, wBitsPerSample) == 14);
static_assert(offsetof(WAVEFORMATEX, cbSize) == 16);
static_assert(sizeof(TGUID) == 16);
static_assert(sizeof(WAVEFORMATEXTENSIBLE) == 40);
static_assert(offsetof(WAVEFORMATEXTENSIBLE, Samples) == 18);
static_assert(offsetof(WAVEFORMATEXTENSIBLE, dwChannelMask) == 20);
static_assert(offsetof(WAVEFORMATEXTENSIBLE, SubFormat) == 24);

// The number of extra bytes a WAVEFORMATEXTENSIBLE declares after its
// WAVEFORMATEX.
inline constexpr std::uint16_t WAVEFORMATEXTENSIBLE_EXTRA_SIZE =
    sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);

// A private copy of a wave format: the WAVEFORMATEX and its `cbSize` extra
// bytes. Copyable; empty when built without a format.
class TSNWaveFormat {
 public:
  TSNWaveFormat() = default;
  // Copies the format at `format`, 18 + cbSize bytes, of which `available`
  // may be read. Raises EZTException when `available` is too small for them.
  TSNWaveFormat(const void* format, std::size_t available);
  explicit TSNWaveFormat(const WAVEFORMATEXTENSIBLE& format)
      : TSNWaveFormat(&format, sizeof format) {}

  bool IsEmpty() const noexcept { return FBytes.empty(); }

  // The WAVEFORMATEX part; raises EZTException when empty.
  WAVEFORMATEX GetFormat() const;
  // The whole format, for example when the extensible form carries a
  // sub-format: present when the tag is WAVE_FORMAT_EXTENSIBLE and the extra
  // bytes hold the extensible fields.
  std::optional<WAVEFORMATEXTENSIBLE> GetExtensible() const;

  // The bytes of the format, 18 + cbSize (none when empty).
  const std::uint8_t* GetData() const noexcept { return FBytes.data(); }
  std::size_t GetSize() const noexcept { return FBytes.size(); }

  friend bool operator==(const TSNWaveFormat&, const TSNWaveFormat&) = default;

 private:
  std::vector<std::uint8_t> FBytes;
};

}  // namespace qx
