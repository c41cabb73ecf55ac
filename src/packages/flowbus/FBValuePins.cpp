#include "packages/flowbus/FBValuePins.h"

namespace qx {

const TClassInfo& TFBBoolSinkPin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBBoolSinkPin>();
  return info;
}

const TClassInfo& TFBStringSinkPin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBStringSinkPin>();
  return info;
}

const TClassInfo& TFBBoolStatePin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBBoolStatePin>();
  return info;
}

const TClassInfo& TFBInt64TimeRangedStatePin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBInt64TimeRangedStatePin>();
  return info;
}

const TClassInfo& TFBClockSinkPin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBClockSinkPin>();
  return info;
}

TFBClockSinkPin::TFBClockSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                                 TClockEvent onClock)
    : TFBSinkPin(owner, name, std::move(lock)), OnClock(std::move(onClock)) {
  AddType(FBClockStreamID);
}

TFBClockSinkPin::~TFBClockSinkPin() { Shutdown(); }

bool TFBClockSinkPin::SetClockNeeded(bool needed) {
  return Notify(MakeRef<TFBClockNeededOperation>(needed));
}

bool TFBClockSinkPin::DispatchData(const TGUID& dataType, const TFBOperationPtr& operation,
                                   TFBState state) {
  const auto* tick = dynamic_cast<const TFBClockOperation*>(operation.Get());
  if (!tick) return TFBSinkPin::DispatchData(dataType, operation, state);
  if (OnClock) OnClock(*this, tick->GetCount());
  return true;
}

}  // namespace qx
