// The pixel conversion between storage classes, as the conversion
// constructor of TQXSmartImageBuffer runs it. Internal to the image library.
#pragma once

#include <cstdint>

#include "image/QXSmartImageBuffer.h"
#include "image/QXVideoFormat.h"

namespace qx::detail {

// Converts all of `source`'s pixels into a frame of the same width and height
// in storage format `target` (a storage class's format, not `source`'s),
// whose block starts at `targetData` with rows `targetStep` bytes apart.
void QXConvertPixels(const TQXSmartImageBuffer& source, TQXVideoFormat target,
                     std::uint8_t* targetData, std::uint32_t targetStep);

}  // namespace qx::detail
