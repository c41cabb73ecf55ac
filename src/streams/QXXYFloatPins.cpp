#include "streams/QXXYFloatPins.h"

#include <utility>

#include "streams/QXImageStreams.h"
#include "streams/QXStreamOperations.h"

namespace qx {

const TClassInfo& TQXFBXYFloatSourcePin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXFBXYFloatSourcePin>();
  return info;
}

const TClassInfo& TQXFBXYFloatSinkPin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXFBXYFloatSinkPin>();
  return info;
}

TQXFBXYFloatSourcePin::TQXFBXYFloatSourcePin(TComponent* owner, std::string_view name,
                                             TRefPtr<IFBLock> lock, TZTOperationEvent onOperation,
                                             TZTPinNotifyEvent onConnect)
    : TZTFBSourcePin(owner, name, std::move(lock), std::move(onOperation), std::move(onConnect),
                     QXRegisterStreams, {IID_IFBQXXYFloatDataStream}) {}

bool TQXFBXYFloatSourcePin::SubmitData(const TRefPtr<IQXXYFloatData>& data, TFBState state) {
  if (!data) return false;
  return Notify(MakeRef<TFBQXSuppliedXYFloatDataOperation>(data), state);
}

TQXFBXYFloatSinkPin::TQXFBXYFloatSinkPin(TComponent* owner, std::string_view name,
                                         TRefPtr<IFBLock> lock, TZTOperationEvent onOperation)
    : TZTFBSinkPin(owner, name, std::move(lock), std::move(onOperation), QXRegisterStreams,
                   {IID_IFBQXXYFloatDataStream}) {}

}  // namespace qx
