// Stream operations: what travels through pins.
//
// An operation is a reference-counted object that a pin sends to the pins
// connected to it (host/RefCounted.h): a source sends it downstream to every
// connected sink, a sink upstream to its source. Receivers tell operations
// apart by class, the most derived class they know first:
//
//   if (auto start = RefCast<TFBStartSampleRateOperation>(op)) { ... start->GetSampleRate() ... }
//   else if (RefCast<TFBStopOperation>(op)) { ... }
//
// Operations are immutable once sent (the pump request is the one exception:
// its receivers write the election's answer into it, see
// packages/flowbus/FBPumpOperations.h), so one object may be delivered to many
// receivers and kept by any of them (a queue, a worker) as long as needed.
//
// The stream operations here carry no stream-specific payload; streams add
// their own classes (a start with the frame geometry, a buffer of audio) by
// deriving from these. Payload that the framework need not know travels in a
// TFBSuppliedPayloadOperation.
#pragma once

#include "host/RefCounted.h"

namespace qx {

// The interface every operation implements.
class IFBNotifyOperation : public virtual TRefCounted {
 protected:
  IFBNotifyOperation() = default;
};

using TFBOperationPtr = TRefPtr<IFBNotifyOperation>;

// The base of every operation class; as such, an operation without payload.
class TFBNotifyOperation : public IFBNotifyOperation {};

// A stream starts. Sent downstream before the stream's data; sent upstream it
// asks the source to start its stream.
class TFBStartOperation : public TFBNotifyOperation {};

// A start that names the stream's rate (frames or samples per second).
class TFBStartSampleRateOperation : public TFBStartOperation {
 public:
  explicit TFBStartSampleRateOperation(double sampleRate) : FSampleRate(sampleRate) {}
  double GetSampleRate() const noexcept { return FSampleRate; }

 private:
  double FSampleRate;
};

// The stream ends. Sent downstream by `TFBSourcePin::Stop` (not final) and
// `EndStop` (final: the source is closing or going away and will not restart
// this stream); sent upstream it asks the source to stop.
class TFBStopOperation : public TFBNotifyOperation {
 public:
  explicit TFBStopOperation(bool final = false) : FFinal(final) {}
  bool IsFinal() const noexcept { return FFinal; }

 private:
  bool FFinal;
};

// The base of operations that carry the stream's data (frames, buffers,
// values). The pump master's data operations are what counts its ticks
// (packages/flowbus/FBPumpOperations.h).
class TFBSuppliedOperation : public TFBNotifyOperation {};

// Data the framework does not look into: any reference-counted object.
// Packages derive their buffer operations from it and give the payload its
// type:
//
//   class TFBSuppliedBufferOperation : public TFBSuppliedPayloadOperation {
//    public:
//     explicit TFBSuppliedBufferOperation(TRefPtr<IZTDataBuffer> buffer)
//         : TFBSuppliedPayloadOperation(std::move(buffer)) {}
//     TRefPtr<IZTDataBuffer> GetBuffer() const { return GetPayloadAs<IZTDataBuffer>(); }
//   };
class TFBSuppliedPayloadOperation : public TFBSuppliedOperation {
 public:
  explicit TFBSuppliedPayloadOperation(TRefPtr<TRefCounted> payload)
      : FPayload(std::move(payload)) {}

  const TRefPtr<TRefCounted>& GetPayload() const noexcept { return FPayload; }
  // The payload as a T, or null when it is not one.
  template <class T>
  TRefPtr<T> GetPayloadAs() const {
    return RefCast<T>(FPayload);
  }

 private:
  TRefPtr<TRefCounted> FPayload;
};

// The receivers are to ignore the stream: the source has none to offer now
// (disabled, paused, no file). Streams derive their own kinds.
class TFBIgnoreStreamOperation : public TFBNotifyOperation {};

// The data queued so far is obsolete (after a seek): receivers drop what
// they hold of it.
class TFBFlushStreamOperation : public TFBNotifyOperation {};

// Sent upstream: the source is asked to announce its stream again.
class TFBQueryStreamOperation : public TFBNotifyOperation {};

// The stream goes on after a restart with unchanged formats: receivers keep
// their state instead of starting over.
class TFBActivateStreamOperation : public TFBNotifyOperation {};

}  // namespace qx
