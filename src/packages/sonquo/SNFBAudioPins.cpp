#include "packages/sonquo/SNFBAudioPins.h"

#include <utility>

#include "packages/sonquo/SNAudioStream.h"

namespace qx {

const TClassInfo& TSNFBAudioSourcePin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TSNFBAudioSourcePin>();
  return info;
}

const TClassInfo& TSNFBAudioSinkPin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TSNFBAudioSinkPin>();
  return info;
}

TSNFBAudioSourcePin::TSNFBAudioSourcePin(TComponent* owner, std::string_view name,
                                         TRefPtr<IFBLock> lock, TZTOperationEvent onOperation,
                                         TZTPinNotifyEvent onConnect)
    : TZTFBSourcePin(owner, name, std::move(lock), std::move(onOperation), std::move(onConnect),
                     SNRegisterStreams, {IID_IFBSNAudioStream}) {}

TSNFBAudioSinkPin::TSNFBAudioSinkPin(TComponent* owner, std::string_view name,
                                     TRefPtr<IFBLock> lock, TZTOperationEvent onOperation)
    : TZTFBSinkPin(owner, name, std::move(lock), std::move(onOperation), SNRegisterStreams,
                   {IID_IFBSNAudioStream}) {}

}  // namespace qx
