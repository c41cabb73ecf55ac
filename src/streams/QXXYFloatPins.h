// The XY float pins: a source and a sink of lists of points
// (streams/QXImageStreams.h, streams/QXXYFloatData.h).
//
//   auto* points = new TQXFBXYFloatSourcePin(this, "CoordinatesPin", FLock);
//   points->SubmitData(MakeRef<TQXXYFloatData>(std::move(array)));
//
// A sink receives each list as a TFBQXSuppliedXYFloatDataOperation. A sink
// of the signal package's pair stream may be connected to the source too:
// the framework puts the XY-to-pairs converter between them
// (streams/QXXYFloatToPairsConverter.h).
#pragma once

#include "packages/zenthic/ZTFBPins.h"
#include "streams/QXXYFloatData.h"

namespace qx {

class TQXFBXYFloatSourcePin : public TZTFBSourcePin {
  QX_CLASS(TQXFBXYFloatSourcePin, TZTFBSourcePin)

 public:
  TQXFBXYFloatSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                        TZTOperationEvent onOperation = {}, TZTPinNotifyEvent onConnect = {});

  // Sends `data` to every connected sink in one
  // TFBQXSuppliedXYFloatDataOperation. True when at least one sink accepted
  // it; false for null data or no sink.
  bool SubmitData(const TRefPtr<IQXXYFloatData>& data, TFBState state = 0);
};

class TQXFBXYFloatSinkPin : public TZTFBSinkPin {
  QX_CLASS(TQXFBXYFloatSinkPin, TZTFBSinkPin)

 public:
  TQXFBXYFloatSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                      TZTOperationEvent onOperation = {});
};

}  // namespace qx
