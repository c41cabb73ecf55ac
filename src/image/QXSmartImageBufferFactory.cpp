#include "image/QXSmartImageBuffers.h"

namespace qx {
namespace {

// Calls `make.template operator()<Class>()` with the storage class of `format`.
template <class Make>
TRefPtr<TQXSmartImageBuffer> WithStorageClass(TQXVideoFormat format, Make make) {
  switch (QXStorageFormat(format)) {
    case vfYUY2:
      return make.template operator()<TQXSmartYUY2Buffer>();
    case vfUYVY:
      return make.template operator()<TQXSmartUYVYBuffer>();
    case vfRGBA32:
      return make.template operator()<TQXSmartRGBABuffer>();
    case vfRGB565:
      return make.template operator()<TQXSmartRGB565Buffer>();
    case vfRGB555:
      return make.template operator()<TQXSmartRGB555Buffer>();
    case vfGrayScale:
      return make.template operator()<TQXSmartGrayScaleBuffer>();
    default:
      return make.template operator()<TQXSmartRGBBuffer>();
  }
}

}  // namespace

TRefPtr<TQXSmartImageBuffer> QXCreateSmartImageBuffer(TQXVideoFormat format, std::uint32_t width,
                                                      std::uint32_t height) {
  return WithStorageClass(format, [&]<class Class>() {
    return TRefPtr<TQXSmartImageBuffer>(new Class(width, height));
  });
}

TRefPtr<TQXSmartImageBuffer> QXConvertSmartImageBuffer(TQXVideoFormat format,
                                                       const TQXSmartImageBuffer& source) {
  return WithStorageClass(
      format, [&]<class Class>() { return TRefPtr<TQXSmartImageBuffer>(new Class(source, true)); });
}

}  // namespace qx
