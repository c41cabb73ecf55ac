// TFBSourcePin: a pin that sends a stream downstream to any number of sink
// pins, and receives the operations they send upstream.
//
//   auto* output = new TFBSourcePin(this, "OutputPin", FLock);
//   output->AddType(IID_IFBQXImageStream);
//   output->OnOperation = [this](TFBPin&, const TGUID&, const TFBOperationPtr& op, TFBState) {
//     return HandleUpstream(op);                 // runs under FLock
//   };
//   output->Notify(MakeRef<TFBStartSampleRateOperation>(25.0));
//   ...
//   output->Stop();
//
// Connections are made from either side (`Connect` here, or
// `TFBSinkPin::Connect`); they are stored in form files at the sink.
#pragma once

#include <vector>

#include "packages/flowbus/FBPin.h"

namespace qx {

class TFBSinkPin;

class TFBSourcePin : public TFBPin {
  QX_CLASS(TFBSourcePin, TFBPin)

 public:
  TFBSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock = {});
  ~TFBSourcePin() override;

  // Besides delivering: a pump request sent from here records this pin as
  // its origin, and after a data operation the framework hands the pump
  // master's tick to the other senders of its groups
  // (packages/flowbus/FBPumpOperations.h).
  bool Notify(const TFBOperationPtr& operation, TFBState state = 0) override;

  // End the stream: send a TFBStopOperation, not final (Stop) or final
  // (EndStop: this source closes and will not restart the stream).
  bool Stop();
  bool EndStop();

  // The same as `sink.Connect(this)`.
  void Connect(TFBSinkPin& sink);
  // Disconnects `sink` when it is connected to this pin.
  void Disconnect(TFBSinkPin& sink);
  void DisconnectAll();
  // The connected sink pins, in the order they were connected.
  std::vector<TFBSinkPin*> GetSinks() const;

  // Declares that what this pin sends follows what `sink` (an input of the
  // same component, usually) receives: a filter's output depends on its
  // input. A sink pin with such a dependent source passes pump requests on
  // instead of answering them. Adding twice does nothing.
  void AddDependent(TFBSinkPin& sink);
  void RemoveDependent(TFBSinkPin& sink);
  std::vector<TFBSinkPin*> GetDependents() const;

 protected:
  // Called on the connecting thread once `sink`'s connection is made;
  // `stream` is its end at this pin (send through it with SendThrough).
  // The base does nothing; state pins send their value.
  virtual void SinkConnected(IFBStream& stream);

 private:
  friend class TFBSinkPin;
};

}  // namespace qx
