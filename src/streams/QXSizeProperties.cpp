#include "streams/QXSizeProperties.h"

#include <algorithm>
#include <utility>

#include "host/Properties.h"
#include "streams/detail/LockedValue.h"

namespace qx {

const TClassInfo& TQXPoint::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXPoint>({
      Property<std::uint16_t>("X", &TQXPoint::GetX, &TQXPoint::SetX, 0),
      Property<std::uint16_t>("Y", &TQXPoint::GetY, &TQXPoint::SetY, 0),
  });
  return info;
}

namespace {

// The size properties with the defaults of one class; derived sizes declare
// them again with theirs.
template <class TSizeClass>
TPropertyTable SizeProperties(std::uint16_t width, std::uint16_t height) {
  return {
      Property<std::uint16_t>("Width", &TSizeClass::GetWidth, &TSizeClass::SetWidth, width),
      Property<std::uint16_t>("Height", &TSizeClass::GetHeight, &TSizeClass::SetHeight, height),
  };
}

}  // namespace

const TClassInfo& TQXSize::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXSize>(SizeProperties<TQXSize>(50, 50));
  return info;
}

const TClassInfo& TQXFilterOutputSize::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TQXFilterOutputSize>(SizeProperties<TQXFilterOutputSize>(240, 180));
  return info;
}

const TClassInfo& TQXMaskSize::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXMaskSize>(SizeProperties<TQXMaskSize>(4, 4));
  return info;
}

const TClassInfo& TQXIntegerSize::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXIntegerSize>({
      Property<std::int32_t>("Width", &TQXIntegerSize::GetWidth, &TQXIntegerSize::SetWidth, 50),
      Property<std::int32_t>("Height", &TQXIntegerSize::GetHeight, &TQXIntegerSize::SetHeight, 50),
  });
  return info;
}

// --- TQXPoint ---------------------------------------------------------------

std::uint16_t TQXPoint::GetX() const { return detail::ReadLocked(GetLock(), FX); }

std::uint16_t TQXPoint::GetY() const { return detail::ReadLocked(GetLock(), FY); }

void TQXPoint::SetX(std::uint16_t value) { PSetProp(FX, value); }

void TQXPoint::SetY(std::uint16_t value) { PSetProp(FY, value); }

void TQXPoint::Assign(const TPersistent& source) {
  auto guard = EnterLock();
  if (!guard) return;
  const auto* point = dynamic_cast<const TQXPoint*>(&source);
  if (!point) return inherited::Assign(source);
  FX = point->GetX();
  FY = point->GetY();
  Notify();
}

// --- TQXSize ----------------------------------------------------------------

TQXSize::TQXSize(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange, bool allowZero)
    : TQXSize(owner, std::move(lock), std::move(onChange), allowZero, 50, 50) {}

TQXSize::TQXSize(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange, bool allowZero,
                 std::uint16_t width, std::uint16_t height)
    : TNXLockedPersistentNotify(owner, std::move(lock), std::move(onChange)),
      FWidth(width),
      FHeight(height),
      FAllowZero(allowZero) {}

std::uint16_t TQXSize::GetWidth() const { return detail::ReadLocked(GetLock(), FWidth); }

std::uint16_t TQXSize::GetHeight() const { return detail::ReadLocked(GetLock(), FHeight); }

void TQXSize::SetWidth(std::uint16_t value) {
  PSetProp(FWidth, value == 0 && !FAllowZero ? std::uint16_t{1} : value);
}

void TQXSize::SetHeight(std::uint16_t value) {
  PSetProp(FHeight, value == 0 && !FAllowZero ? std::uint16_t{1} : value);
}

IppiSize TQXSize::GetSize() const {
  auto guard = EnterLock();
  return {FWidth, FHeight};
}

void TQXSize::Assign(const TPersistent& source) {
  auto guard = EnterLock();
  if (!guard) return;
  const auto* size = dynamic_cast<const TQXSize*>(&source);
  if (!size) return inherited::Assign(source);
  const IppiSize value = size->GetSize();
  FWidth = static_cast<std::uint16_t>(value.width);
  FHeight = static_cast<std::uint16_t>(value.height);
  Notify();
}

TQXFilterOutputSize::TQXFilterOutputSize(TComponent* owner, TRefPtr<IFBLock> lock,
                                         TChangeEvent onChange)
    : TQXSize(owner, std::move(lock), std::move(onChange), false, 240, 180) {}

TQXMaskSize::TQXMaskSize(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange)
    : TQXSize(owner, std::move(lock), std::move(onChange), false, 4, 4) {}

// --- TQXIntegerSize ---------------------------------------------------------

std::int32_t TQXIntegerSize::GetWidth() const { return detail::ReadLocked(GetLock(), FWidth); }

std::int32_t TQXIntegerSize::GetHeight() const { return detail::ReadLocked(GetLock(), FHeight); }

void TQXIntegerSize::SetWidth(std::int32_t value) { PSetProp(FWidth, std::max(value, 1)); }

void TQXIntegerSize::SetHeight(std::int32_t value) { PSetProp(FHeight, std::max(value, 1)); }

IppiSize TQXIntegerSize::GetSize() const {
  auto guard = EnterLock();
  return {FWidth, FHeight};
}

void TQXIntegerSize::Assign(const TPersistent& source) {
  auto guard = EnterLock();
  if (!guard) return;
  IppiSize value;
  if (const auto* size = dynamic_cast<const TQXSize*>(&source)) {
    value = size->GetSize();
  } else if (const auto* integerSize = dynamic_cast<const TQXIntegerSize*>(&source)) {
    value = integerSize->GetSize();
  } else {
    return inherited::Assign(source);
  }
  FWidth = value.width;
  FHeight = value.height;
}

}  // namespace qx
