#include "streams/QXVideoFormatProperties.h"

#include "host/Properties.h"
#include "streams/detail/LockedValue.h"

namespace qx {

const TClassInfo& TQXOptionalVideoFormat::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXOptionalVideoFormat>({
      Property<TQXVideoFormat>("VideoFormat", &TQXOptionalVideoFormat::GetVideoFormat,
                               &TQXOptionalVideoFormat::SetVideoFormat),
      Property<bool>("AutoSelect", &TQXOptionalVideoFormat::GetAutoSelect,
                     &TQXOptionalVideoFormat::SetAutoSelect, true),
  });
  return info;
}

const TClassInfo& TQXVideoFormatSettings::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXVideoFormatSettings>({
      Property<bool>("AutoSelect", &TQXVideoFormatSettings::GetAutoSelect,
                     &TQXVideoFormatSettings::SetAutoSelect, false),
      Property<TQXVideoFormat>("Format", &TQXVideoFormatSettings::GetFormat,
                               &TQXVideoFormatSettings::SetFormat, vfRGBA32),
  });
  return info;
}

TQXVideoFormat TQXOptionalVideoFormat::GetVideoFormat() const {
  return detail::ReadLocked(GetLock(), FVideoFormat);
}

void TQXOptionalVideoFormat::SetVideoFormat(TQXVideoFormat value) { PSetProp(FVideoFormat, value); }

bool TQXOptionalVideoFormat::GetAutoSelect() const {
  return detail::ReadLocked(GetLock(), FAutoSelect);
}

void TQXOptionalVideoFormat::SetAutoSelect(bool value) { PSetProp(FAutoSelect, value); }

bool TQXVideoFormatSettings::GetAutoSelect() const {
  return detail::ReadLocked(GetLock(), FAutoSelect);
}

void TQXVideoFormatSettings::SetAutoSelect(bool value) {
  detail::StoreLocked(GetLock(), FAutoSelect, value);
}

TQXVideoFormat TQXVideoFormatSettings::GetFormat() const {
  return detail::ReadLocked(GetLock(), FFormat);
}

void TQXVideoFormatSettings::SetFormat(TQXVideoFormat value) {
  detail::StoreLocked(GetLock(), FFormat, value);
}

void TQXVideoFormatSettings::Assign(const TPersistent& source) {
  auto guard = EnterLock();
  if (!guard) return;
  if (const auto* settings = dynamic_cast<const TQXVideoFormatSettings*>(&source)) {
    FFormat = settings->GetFormat();
    FAutoSelect = settings->GetAutoSelect();
  } else {
    inherited::Assign(source);
  }
}

}  // namespace qx
