#include "packages/sonquo/SNAudioStream.h"

#include "packages/flowbus/FBStreamRegistry.h"
#include "packages/zenthic/ZTStreams.h"

namespace qx {

void SNRegisterStreams() {
  static const bool registered = [] {
    FBRegisterStream(IID_IFBSNAudioStream, SNAudioStreamName);
    FBRegisterDefaultHandler(IID_IFBSNAudioStream, DefaultZTChannelNotificationHandler);
    return true;
  }();
  (void)registered;
}

}  // namespace qx
