#include "streams/QXImageStreams.h"

#include <utility>

#include "packages/flowbus/FBStreamRegistry.h"
#include "packages/zenthic/ZTStreams.h"
#include "streams/QXXYFloatToPairsConverter.h"

namespace qx {

void QXRegisterStreams() {
  // The registry lives in a function-local static of the pin framework, so
  // this is safe from any static initialiser.
  static const bool registered = [] {
    ZTRegisterStreams();
    for (const auto& [type, name] : {std::pair{IID_IFBQXImageStream, QXImageStreamName},
                                     std::pair{IID_IFBQXXYFloatDataStream, QXXYFloatDataStreamName},
                                     std::pair{IID_IFBQXRawStream, QXRawStreamName}}) {
      FBRegisterStream(type, name);
      FBRegisterDefaultHandler(type, DefaultZTChannelNotificationHandler);
    }
    FBRegisterTypeConverter<TFBQXXYFloatToPairsFormatConverter>(IID_IFBQXXYFloatDataStream,
                                                                ZTBufferPairStreamID);
    return true;
  }();
  (void)registered;
}

namespace {

// Registration when the library is loaded.
[[maybe_unused]] const bool GRegisteredAtLoad = (QXRegisterStreams(), true);

}  // namespace

}  // namespace qx
