#include "packages/zenthic/ZTStreams.h"

#include "packages/flowbus/FBStreamRegistry.h"

namespace qx {

void ZTRegisterStreams() {
  static const bool registered = [] {
    FBRegisterStream(ZTBufferPairStreamID, ZTBufferPairStreamName);
    FBRegisterDefaultHandler(ZTBufferPairStreamID, DefaultZTChannelNotificationHandler);
    return true;
  }();
  (void)registered;
}

bool DefaultZTChannelNotificationHandler(IFBStream& stream, const TGUID& dataType,
                                         const TFBOperationPtr& operation, TFBState state) {
  return FBStreamNotify(stream, dataType, operation, state);
}

}  // namespace qx
