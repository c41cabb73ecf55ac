// Pixel formats and the DirectShow media subtypes that carry them
// (packages/sonquo/QXDirectShow.h).
//
//   vfYUY2 <-> MEDIASUBTYPE_YUY2      vfRGB565    <-> MEDIASUBTYPE_RGB565
//   vfUYVY <-> MEDIASUBTYPE_UYVY      vfRGB555    <-> MEDIASUBTYPE_RGB555
//   vfRGBA32 <-> MEDIASUBTYPE_RGB32   vfGrayScale <-> MEDIASUBTYPE_RGB8
//   vfRGB24, vfRGB (and anything else) <-> MEDIASUBTYPE_RGB24
#pragma once

#include "host/Guid.h"
#include "image/QXVideoFormat.h"

namespace qx {

// The media subtype of frames of `format`.
TGUID QXGetGUIDFromFormat(TQXVideoFormat format) noexcept;

// The format of frames of media subtype `subtype`; vfRGB24 for a subtype
// without a format of its own.
TQXVideoFormat QXGetFormatFromGUID(const TGUID& subtype) noexcept;

}  // namespace qx
