#include "streams/QXVideoSize.h"

#include <utility>

#include "host/Properties.h"
#include "streams/detail/LockedValue.h"

namespace qx {

const TClassInfo& TQXVideoSize::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXVideoSize>({
      Property<std::uint32_t>("Width", &TQXVideoSize::GetWidth, &TQXVideoSize::SetWidth, 320),
      Property<std::uint32_t>("Height", &TQXVideoSize::GetHeight, &TQXVideoSize::SetHeight, 240),
  });
  return info;
}

const TClassInfo& TQXOptionalVideoSize::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXOptionalVideoSize>({
      Property<bool>("Current", &TQXOptionalVideoSize::GetCurrent,
                     &TQXOptionalVideoSize::SetCurrent, true),
  });
  return info;
}

TQXVideoSize::TQXVideoSize(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange)
    : TNXLockedPersistent(owner, std::move(lock)), OnChange(std::move(onChange)) {}

std::uint32_t TQXVideoSize::GetWidth() const { return detail::ReadLocked(GetLock(), FWidth); }

std::uint32_t TQXVideoSize::GetHeight() const { return detail::ReadLocked(GetLock(), FHeight); }

void TQXVideoSize::SetWidth(std::uint32_t value) { PSetProp(FWidth, value); }

void TQXVideoSize::SetHeight(std::uint32_t value) { PSetProp(FHeight, value); }

void TQXVideoSize::Assign(const TPersistent& source) {
  auto guard = EnterLock();
  if (!guard) return;
  if (const auto* size = dynamic_cast<const TQXVideoSize*>(&source)) {
    SetWidth(size->GetWidth());
    SetHeight(size->GetHeight());
  } else {
    inherited::Assign(source);
  }
}

void TQXVideoSize::Notify() {
  if (OnChange) OnChange(*this);
}

bool TQXOptionalVideoSize::GetCurrent() const { return detail::ReadLocked(GetLock(), FCurrent); }

void TQXOptionalVideoSize::SetCurrent(bool value) {
  detail::StoreLocked(GetLock(), FCurrent, value);
}

void TQXOptionalVideoSize::Assign(const TPersistent& source) {
  auto guard = EnterLock();
  if (!guard) return;
  if (const auto* optional = dynamic_cast<const TQXOptionalVideoSize*>(&source)) {
    FCurrent = optional->GetCurrent();
  }
  inherited::Assign(source);
}

}  // namespace qx
