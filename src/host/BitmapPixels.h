// Conversion of bitmap scan lines to and from 32-bit colour quads: the one
// place that knows how every pixel format lays out its pixels.
#pragma once

#include <cstdint>
#include <span>

#include "host/Bitmap.h"

namespace qx::detail {

// Bytes of a scan line of `width` pixels of `bitsPerPixel`, padded to 4.
constexpr std::int64_t ScanLineBytes(std::int64_t width, int bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

// The palette a new bitmap of a palettised format starts with.
std::vector<TRGBQuad> DefaultPalette(TPixelFormat format);

// The index of the palette entry closest to `colour` (the first of equals).
std::uint8_t NearestPaletteIndex(std::span<const TRGBQuad> palette, TRGBQuad colour);

// Pixels [0, out.size()) of a scan line as quads. Palette indices beyond the
// palette give black; formats without alpha give alpha 255.
void DecodeScanLine(TPixelFormat format, std::span<const TRGBQuad> palette,
                    const std::uint8_t* scanLine, std::span<TRGBQuad> out);

// Writes the quads as pixels [0, in.size()) of a scan line; palettised formats
// take the nearest palette entry, 16-bit formats drop the low bits.
void EncodeScanLine(TPixelFormat format, std::span<const TRGBQuad> palette,
                    std::span<const TRGBQuad> in, std::uint8_t* scanLine);

}  // namespace qx::detail
