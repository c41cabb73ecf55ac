// TFBFormatConverter: what stands between a source and a sink that speak
// different stream types.
//
// A converter has an input pin (a sink speaking the source's type) and an
// output pin (a source speaking the sink's type). The framework builds one
// for each connection that needs it, from the factory registered for the
// pair of types (FBRegisterTypeConverter), and connects it in between; the
// converter goes away with that connection. Operations arriving at the input
// go through `SourceOperation`, which by default passes them on unchanged;
// operations coming back upstream at the output go through
// `TargetOperation`, which passes them on to the source. A converter
// overrides `SourceOperation` for the operations it converts:
//
//   class TXYToPairsConverter : public TFBFormatConverter {
//    public:
//     TXYToPairsConverter(TFBSinkPin&, TFBSourcePin&)
//         : TFBFormatConverter(IID_XYStream, IID_PairStream) {}
//    protected:
//     bool SourceOperation(const TGUID& type, const TFBOperationPtr& op, TFBState state) override {
//       if (auto points = RefCast<TXYOperation>(op)) return GetOutputPin().Notify(ToPairs(*points),
//       state); return TFBFormatConverter::SourceOperation(type, op, state);
//     }
//   };
//
// The converter's pins have no lock: its operations run on the sender's
// thread inside the sender's and receiver's own locking. Its output pin
// depends on its input, so pump requests pass through it.
#pragma once

#include "host/Component.h"
#include "host/RefCounted.h"
#include "packages/flowbus/FBSinkPin.h"
#include "packages/flowbus/FBSourcePin.h"

namespace qx {

class TFBFormatConverter : public TComponent, public TRefCounted {
  QX_CLASS(TFBFormatConverter, TComponent)

 public:
  ~TFBFormatConverter() override;

  TFBSinkPin& GetInputPin() const noexcept { return *FInput; }
  TFBSourcePin& GetOutputPin() const noexcept { return *FOutput; }

 protected:
  // Creates the input pin speaking `from` and the output pin speaking `to`.
  TFBFormatConverter(const TGUID& from, const TGUID& to);

  // An operation from the source; the base sends it on through the output.
  virtual bool SourceOperation(const TGUID& dataType, const TFBOperationPtr& operation,
                               TFBState state);
  // An operation from the sink; the base sends it on through the input.
  virtual bool TargetOperation(const TGUID& dataType, const TFBOperationPtr& operation,
                               TFBState state);

 private:
  TFBSinkPin* FInput;     // owned
  TFBSourcePin* FOutput;  // owned
};

}  // namespace qx
