#include "streams/QXImagePins.h"

#include <utility>

#include "streams/QXImageStreams.h"
#include "streams/QXStreamOperations.h"

namespace qx {

const TClassInfo& TQXFBImageSourcePin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXFBImageSourcePin>();
  return info;
}

const TClassInfo& TQXFBImageSinkPin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXFBImageSinkPin>();
  return info;
}

const TClassInfo& TQXFBImageRawSourcePin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TQXFBImageRawSourcePin>();
  return info;
}

TQXFBImageSourcePin::TQXFBImageSourcePin(TComponent* owner, std::string_view name,
                                         TRefPtr<IFBLock> lock, TZTOperationEvent onOperation,
                                         TZTPinNotifyEvent onConnect)
    : TZTFBSourcePin(owner, name, std::move(lock), std::move(onOperation), std::move(onConnect),
                     QXRegisterStreams, {IID_IFBQXImageStream}) {}

TQXFBImageSinkPin::TQXFBImageSinkPin(TComponent* owner, std::string_view name,
                                     TRefPtr<IFBLock> lock, TZTOperationEvent onOperation)
    : TZTFBSinkPin(owner, name, std::move(lock), std::move(onOperation), QXRegisterStreams,
                   {IID_IFBQXImageStream}) {}

TQXFBImageRawSourcePin::TQXFBImageRawSourcePin(TComponent* owner, std::string_view name,
                                               TRefPtr<IFBLock> lock, TZTOperationEvent onOperation,
                                               TZTPinNotifyEvent onConnect)
    : TZTFBSourcePin(owner, name, std::move(lock), std::move(onOperation), std::move(onConnect),
                     QXRegisterStreams) {
  AddType(IID_IFBQXRawStream, RawNotification);
  AddType(IID_IFBQXImageStream, ImageNotification);
}

bool TQXFBImageRawSourcePin::SubmitRawBuffer(const TRefPtr<IZTDataBuffer>& buffer, TFBState state) {
  if (!buffer) return false;
  return Notify(MakeRef<TFBSuppliedRawBufferOperation>(buffer), state);
}

namespace {

bool IsRawBuffer(const TFBOperationPtr& operation) {
  return dynamic_cast<const TFBSuppliedRawBufferOperation*>(operation.Get()) != nullptr;
}

}  // namespace

bool TQXFBImageRawSourcePin::ImageNotification(IFBStream& stream, const TGUID& dataType,
                                               const TFBOperationPtr& operation, TFBState state) {
  return !IsRawBuffer(operation) && FBStreamNotify(stream, dataType, operation, state);
}

bool TQXFBImageRawSourcePin::RawNotification(IFBStream& stream, const TGUID& dataType,
                                             const TFBOperationPtr& operation, TFBState state) {
  return IsRawBuffer(operation) && FBStreamNotify(stream, dataType, operation, state);
}

}  // namespace qx
