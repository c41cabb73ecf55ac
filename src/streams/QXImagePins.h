// The image pins: a source and a sink of the image stream, and the capture
// source that also offers its raw blocks (streams/QXImageStreams.h).
//
// A source announces the stream, submits its frames, and stops:
//
//   auto* output = new TQXFBImageSourcePin(this, "OutputPin", FLock, upstreamHandler);
//   output->Notify(MakeRef<TFBStartFrameOperation>(640, 480, 333333, vfRGB24, 0, 4, 3));
//   output->SubmitBuffer(frame);          // an IQXImageBuffer, shared, never copied
//   output->Stop();
//
// A sink sees each of them in its operation event, on the sender's thread
// and under the sink owner's lock; the frames arrive as
// TFBSuppliedBufferOperation (RefCast the buffer to IQXImageBuffer). A pin
// without an operation event answers every operation with false.
#pragma once

#include "packages/zenthic/ZTFBPins.h"

namespace qx {

class TQXFBImageSourcePin : public TZTFBSourcePin {
  QX_CLASS(TQXFBImageSourcePin, TZTFBSourcePin)

 public:
  // `onOperation` receives what the sinks send upstream; `onConnect` is the
  // signal package's connect event (TZTFBSourcePin::OnConnect).
  TQXFBImageSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                      TZTOperationEvent onOperation = {}, TZTPinNotifyEvent onConnect = {});
};

class TQXFBImageSinkPin : public TZTFBSinkPin {
  QX_CLASS(TQXFBImageSinkPin, TZTFBSinkPin)

 public:
  TQXFBImageSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                    TZTOperationEvent onOperation = {});
};

// A capture source that speaks the raw stream first and the image stream
// second. What it sends is sorted by connection: a sink connected through
// the raw stream receives only TFBSuppliedRawBufferOperation, a sink
// connected through the image stream everything else (starts, frames,
// stops). A sink speaking both is connected through the raw stream.
class TQXFBImageRawSourcePin : public TZTFBSourcePin {
  QX_CLASS(TQXFBImageRawSourcePin, TZTFBSourcePin)

 public:
  TQXFBImageRawSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                         TZTOperationEvent onOperation = {}, TZTPinNotifyEvent onConnect = {});

  // Sends `buffer` to the raw connections in one TFBSuppliedRawBufferOperation.
  // True when a raw sink accepted it; false for a null buffer.
  bool SubmitRawBuffer(const TRefPtr<IZTDataBuffer>& buffer, TFBState state = 0);

  // The pin's handlers for connections of the image type and of the raw
  // type. Unless `state` holds fbsHeld, each passes into the stream what its
  // connections take and answers with the receiver's result; false for
  // anything else.
  static bool ImageNotification(IFBStream& stream, const TGUID& dataType,
                                const TFBOperationPtr& operation, TFBState state);
  static bool RawNotification(IFBStream& stream, const TGUID& dataType,
                              const TFBOperationPtr& operation, TFBState state);
};

}  // namespace qx
