#include "image/QXMediaSubtypes.h"

#include "packages/sonquo/QXDirectShow.h"

namespace qx {

TGUID QXGetGUIDFromFormat(TQXVideoFormat format) noexcept {
  switch (format) {
    case vfYUY2:
      return MEDIASUBTYPE_YUY2;
    case vfUYVY:
      return MEDIASUBTYPE_UYVY;
    case vfRGBA32:
      return MEDIASUBTYPE_RGB32;
    case vfRGB565:
      return MEDIASUBTYPE_RGB565;
    case vfRGB555:
      return MEDIASUBTYPE_RGB555;
    case vfGrayScale:
      return MEDIASUBTYPE_RGB8;
    default:
      return MEDIASUBTYPE_RGB24;
  }
}

TQXVideoFormat QXGetFormatFromGUID(const TGUID& subtype) noexcept {
  if (subtype == MEDIASUBTYPE_YUY2) return vfYUY2;
  if (subtype == MEDIASUBTYPE_UYVY) return vfUYVY;
  if (subtype == MEDIASUBTYPE_RGB565) return vfRGB565;
  if (subtype == MEDIASUBTYPE_RGB555) return vfRGB555;
  if (subtype == MEDIASUBTYPE_RGB8) return vfGrayScale;
  if (subtype == MEDIASUBTYPE_RGB32) return vfRGBA32;
  return vfRGB24;
}

}  // namespace qx
