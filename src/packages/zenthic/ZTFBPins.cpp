#include "packages/zenthic/ZTFBPins.h"

#include <utility>

#include "packages/zenthic/ZTBufferOperations.h"
#include "packages/zenthic/ZTStreams.h"

namespace qx {

const TClassInfo& TZTFBSourcePin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TZTFBSourcePin>();
  return info;
}

const TClassInfo& TZTFBSinkPin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TZTFBSinkPin>();
  return info;
}

const TClassInfo& TZTFBPairedSourcePin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TZTFBPairedSourcePin>();
  return info;
}

TZTFBSourcePin::TZTFBSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                               TZTPinNotifyEvent onConnect)
    : TFBSourcePin(owner, name, std::move(lock)), OnConnect(std::move(onConnect)) {
  ZTRegisterStreams();
}

TZTFBSourcePin::TZTFBSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                               TZTOperationEvent onOperation, TZTPinNotifyEvent onConnect,
                               void (*registerStreams)(), std::initializer_list<TGUID> types)
    : TZTFBSourcePin(owner, name, std::move(lock), std::move(onConnect)) {
  OnOperation = std::move(onOperation);
  registerStreams();
  for (const TGUID& type : types) AddType(type);
}

bool TZTFBSourcePin::SubmitBuffer(const TRefPtr<IZTDataBuffer>& buffer, TFBState state) {
  if (!buffer) return false;
  return Notify(MakeRef<TFBSuppliedBufferOperation>(buffer), state);
}

void TZTFBSourcePin::SinkConnected(IFBStream& stream) {
  TFBSourcePin::SinkConnected(stream);
  if (OnConnect) OnConnect(*this);
}

TZTFBSinkPin::TZTFBSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                           TZTOperationEvent onOperation)
    : TFBSinkPin(owner, name, std::move(lock)) {
  ZTRegisterStreams();
  OnOperation = std::move(onOperation);
}

TZTFBSinkPin::TZTFBSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                           TZTOperationEvent onOperation, void (*registerStreams)(),
                           std::initializer_list<TGUID> types)
    : TZTFBSinkPin(owner, name, std::move(lock), std::move(onOperation)) {
  registerStreams();
  for (const TGUID& type : types) AddType(type);
}

TZTFBPairedSourcePin::TZTFBPairedSourcePin(TComponent* owner, std::string_view name,
                                           TRefPtr<IFBLock> lock, TZTPinNotifyEvent onConnect)
    : TZTFBSourcePin(owner, name, std::move(lock), std::move(onConnect)) {
  AddType(ZTBufferPairStreamID);
}

bool TZTFBPairedSourcePin::SubmitPair(const TRefPtr<TNXBufferPair>& pair, TFBState state) {
  if (!pair) return false;
  return Notify(MakeRef<TFBSuppliedBufferPairOperation>(pair), state);
}

}  // namespace qx
