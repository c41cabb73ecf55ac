#include "packages/flowbus/FBFormatConverter.h"

namespace qx {

const TClassInfo& TFBFormatConverter::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBFormatConverter>();
  return info;
}

TFBFormatConverter::TFBFormatConverter(const TGUID& from, const TGUID& to)
    : TComponent(nullptr),
      FInput(new TFBSinkPin(this, "Input")),
      FOutput(new TFBSourcePin(this, "Output")) {
  FInput->AddType(from);
  FOutput->AddType(to);
  FOutput->AddDependent(*FInput);
  FInput->OnOperation = [this](TFBPin&, const TGUID& dataType, const TFBOperationPtr& operation,
                               TFBState state) {
    return SourceOperation(dataType, operation, state);
  };
  FOutput->OnOperation = [this](TFBPin&, const TGUID& dataType, const TFBOperationPtr& operation,
                                TFBState state) {
    return TargetOperation(dataType, operation, state);
  };
}

TFBFormatConverter::~TFBFormatConverter() {
  FInput->Shutdown();
  FOutput->Shutdown();
}

bool TFBFormatConverter::SourceOperation(const TGUID&, const TFBOperationPtr& operation,
                                         TFBState state) {
  return FOutput->Notify(operation, state);
}

bool TFBFormatConverter::TargetOperation(const TGUID&, const TFBOperationPtr& operation,
                                         TFBState state) {
  return FInput->Notify(operation, state);
}

}  // namespace qx
