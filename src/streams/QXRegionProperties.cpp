#include "streams/QXRegionProperties.h"

#include <utility>

#include "host/Properties.h"
#include "streams/detail/LockedValue.h"

namespace qx {

const TClassInfo& TQXRectRegion::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXRectRegion>({
      Property<std::uint16_t>("Left", &TQXRectRegion::GetLeft, &TQXRectRegion::SetLeft, 0),
      Property<std::uint16_t>("Top", &TQXRectRegion::GetTop, &TQXRectRegion::SetTop, 0),
  });
  return info;
}

const TClassInfo& TQXOptionalRectRegion::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXOptionalRectRegion>({
      Property<bool>("Enabled", &TQXOptionalRectRegion::GetEnabled,
                     &TQXOptionalRectRegion::SetEnabled, false),
  });
  return info;
}

TQXRectRegion::TQXRectRegion(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange)
    : TQXSize(owner, std::move(lock), std::move(onChange), false) {}

std::uint16_t TQXRectRegion::GetLeft() const { return detail::ReadLocked(GetLock(), FLeft); }

std::uint16_t TQXRectRegion::GetTop() const { return detail::ReadLocked(GetLock(), FTop); }

void TQXRectRegion::SetLeft(std::uint16_t value) { PSetProp(FLeft, value); }

void TQXRectRegion::SetTop(std::uint16_t value) { PSetProp(FTop, value); }

void TQXRectRegion::Assign(const TPersistent& source) {
  auto guard = EnterLock();
  if (!guard) return;
  if (const auto* region = dynamic_cast<const TQXRectRegion*>(&source)) {
    FLeft = region->GetLeft();
    FTop = region->GetTop();
    Notify();
  }
  inherited::Assign(source);
}

bool TQXOptionalRectRegion::GetEnabled() const { return detail::ReadLocked(GetLock(), FEnabled); }

void TQXOptionalRectRegion::SetEnabled(bool value) { PSetProp(FEnabled, value); }

void TQXOptionalRectRegion::Assign(const TPersistent& source) {
  auto guard = EnterLock();
  if (!guard) return;
  if (const auto* region = dynamic_cast<const TQXOptionalRectRegion*>(&source)) {
    FEnabled = region->GetEnabled();
    Notify();
  }
  inherited::Assign(source);
}

}  // namespace qx
