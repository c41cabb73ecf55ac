// TFBSinkPin: a pin that receives a stream from one source pin, and sends
// operations upstream to it.
//
//   auto* input = new TFBSinkPin(this, "InputPin", FLock);
//   input->AddType(IID_IFBQXImageStream);
//   input->OnOperation = [this](TFBPin&, const TGUID&, const TFBOperationPtr& op, TFBState s) {
//     return HandleFrame(op, s);                 // runs under FLock
//   };
//   input->Connect(capture->GetOutputPin());
//   input->Notify(MakeRef<TFBQueryStreamOperation>());   // upstream
//
// Agreeing on a type. Connecting picks the first type the source declared
// that the sink declared too. When they have none in common, the framework
// looks for a registered converter from a source type to a sink type (the
// source's order first, then the sink's) and connects through a new
// converter built for this connection (packages/flowbus/FBFormatConverter.h);
// it goes away with the connection. Otherwise connecting raises EFBError.
//
// Form files. Publish the pin with `PinProperty` (packages/flowbus/FBPinProperty.h):
// the form stores the connected source as "<Component>.<Pin>".
#pragma once

#include "packages/flowbus/FBPin.h"

namespace qx {

class TFBFormatConverter;
class TFBSourcePin;

class TFBSinkPin : public TFBPin {
  QX_CLASS(TFBSinkPin, TFBPin)

 public:
  TFBSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock = {});
  ~TFBSinkPin() override;

  // Connects to `source`, replacing the current connection (null:
  // disconnects). Connecting again to the current source does nothing.
  // Raises EFBError when no type or converter joins the pins or either pin
  // is shut down; the pin is then disconnected.
  void Connect(TFBSourcePin* source);
  void Disconnect();

  // The source connected to (also when a converter stands between), or null.
  TFBSourcePin* GetSource() const;
  // The converter between the source and this pin, or null.
  TRefPtr<TFBFormatConverter> GetConverter() const;
  // The type this pin receives on its connection; the null GUID when
  // unconnected.
  TGUID GetDataType() const;

  // Whether pump requests end their way here: no source pin depends on this
  // one (TFBSourcePin::AddDependent).
  bool IsTerminal() const;
};

}  // namespace qx
