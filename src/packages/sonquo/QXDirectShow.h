// DirectShow media type identifiers: the major types, subtypes and format
// types the library's media code names, with their platform values.
//
// Subtypes of four-character-coded formats (YUY2, UYVY, PCM) and the major
// types are the FOURCC in the first field followed by the fixed tail
// 0000-0010-8000-00AA00389B71; `QXFourCCGuid` builds such a GUID. The
// uncompressed RGB subtypes share the tail 524F-11CE-9F53-0020AF0BA770.
#pragma once

#include <cstdint>

#include "host/Guid.h"

namespace qx {

// The GUID of four-character code `fourCC` (first character in the low byte,
// as the platform's FOURCCs are stored).
constexpr TGUID QXFourCCGuid(std::uint32_t fourCC) noexcept {
  return TGUID{fourCC, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

// The FOURCC of four characters, first character in the low byte.
constexpr std::uint32_t QXMakeFourCC(char a, char b, char c, char d) noexcept {
  return std::uint32_t{static_cast<unsigned char>(a)} |
         std::uint32_t{static_cast<unsigned char>(b)} << 8 |
         std::uint32_t{static_cast<unsigned char>(c)} << 16 |
         std::uint32_t{static_cast<unsigned char>(d)} << 24;
}

// Major types.
inline constexpr TGUID MEDIATYPE_Video = TGUID::Parse("{73646976-0000-0010-8000-00AA00389B71}");
inline constexpr TGUID MEDIATYPE_Audio = TGUID::Parse("{73647561-0000-0010-8000-00AA00389B71}");

// Video subtypes: uncompressed RGB (bottom-up rows in media samples) and the
// packed 4:2:2 YUV layouts.
inline constexpr TGUID MEDIASUBTYPE_RGB8 = TGUID::Parse("{E436EB7A-524F-11CE-9F53-0020AF0BA770}");
inline constexpr TGUID MEDIASUBTYPE_RGB565 = TGUID::Parse("{E436EB7B-524F-11CE-9F53-0020AF0BA770}");
inline constexpr TGUID MEDIASUBTYPE_RGB555 = TGUID::Parse("{E436EB7C-524F-11CE-9F53-0020AF0BA770}");
inline constexpr TGUID MEDIASUBTYPE_RGB24 = TGUID::Parse("{E436EB7D-524F-11CE-9F53-0020AF0BA770}");
inline constexpr TGUID MEDIASUBTYPE_RGB32 = TGUID::Parse("{E436EB7E-524F-11CE-9F53-0020AF0BA770}");
inline constexpr TGUID MEDIASUBTYPE_YUY2 = TGUID::Parse("{32595559-0000-0010-8000-00AA00389B71}");
inline constexpr TGUID MEDIASUBTYPE_UYVY = TGUID::Parse("{59565955-0000-0010-8000-00AA00389B71}");

// Audio subtype: integer PCM samples.
inline constexpr TGUID MEDIASUBTYPE_PCM = TGUID::Parse("{00000001-0000-0010-8000-00AA00389B71}");

// Format types: the format block is a VIDEOINFOHEADER, or a WAVEFORMATEX.
inline constexpr TGUID FORMAT_VideoInfo = TGUID::Parse("{05589F80-C356-11CE-BF01-00AA0055595A}");
inline constexpr TGUID FORMAT_WaveFormatEx = TGUID::Parse("{05589F81-C356-11CE-BF01-00AA0055595A}");

}  // namespace qx
