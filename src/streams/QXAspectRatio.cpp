#include "streams/QXAspectRatio.h"

#include "host/Properties.h"
#include "streams/detail/LockedValue.h"

namespace qx {

const TClassInfo& TQXBasicAspectRatio::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXBasicAspectRatio>();
  return info;
}

const TClassInfo& TQXAspectRatio::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXAspectRatio>({
      Property<TQXAspectRatioMode>("Mode", &TQXAspectRatio::GetMode, &TQXAspectRatio::SetMode,
                                   arAuto),
      Property<std::uint32_t>("Width", &TQXAspectRatio::GetWidth, &TQXAspectRatio::SetWidth),
      Property<std::uint32_t>("Height", &TQXAspectRatio::GetHeight, &TQXAspectRatio::SetHeight),
  });
  return info;
}

std::uint32_t TQXBasicAspectRatio::GetWidth() const {
  return detail::ReadLocked(GetLock(), FWidth);
}

std::uint32_t TQXBasicAspectRatio::GetHeight() const {
  return detail::ReadLocked(GetLock(), FHeight);
}

TQXAspectRatioMode TQXAspectRatio::GetMode() const { return detail::ReadLocked(GetLock(), FMode); }

void TQXAspectRatio::SetMode(TQXAspectRatioMode value) { PSetProp(FMode, value); }

void TQXAspectRatio::SetWidth(std::uint32_t value) { PSetProp(FWidth, value); }

void TQXAspectRatio::SetHeight(std::uint32_t value) { PSetProp(FHeight, value); }

}  // namespace qx
