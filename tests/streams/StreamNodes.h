// A component with one lock whose sink pins record what reaches them, for
// the stream suites.
#pragma once

#include <initializer_list>
#include <vector>

#include "host/Component.h"
#include "packages/flowbus/FBLock.h"
#include "packages/zenthic/ZTFBPins.h"

namespace qx::test {

struct TArrival {
  TFBPin* Pin;
  TGUID DataType;
  TFBOperationPtr Operation;
  bool LockHeld;
};

class TStreamNode : public TComponent {
 public:
  TStreamNode() : TComponent(nullptr) {}
  ~TStreamNode() override {
    Lock->BeginDestroy();
    FBShutdownPins(*this);
  }

  // The operation event every recording pin gets: records and accepts.
  TZTOperationEvent Recorder() {
    return [this](TFBPin& pin, const TGUID& type, const TFBOperationPtr& op, TFBState) {
      Arrivals.push_back({&pin, type, op, Lock->IsHeldByCurrentThread()});
      return true;
    };
  }

  // A recording sink of the signal package speaking `types` in that order.
  TZTFBSinkPin* AddSink(std::initializer_list<TGUID> types) {
    auto* pin = new TZTFBSinkPin(this, "", Lock, Recorder());
    for (const TGUID& type : types) pin->AddType(type);
    return pin;
  }

  // The operations that arrived at `pin`, in order.
  std::vector<TFBOperationPtr> At(const TFBPin* pin) const {
    std::vector<TFBOperationPtr> operations;
    for (const TArrival& arrival : Arrivals) {
      if (arrival.Pin == pin) operations.push_back(arrival.Operation);
    }
    return operations;
  }

  TRefPtr<IFBLock> Lock = FBCreateLock();
  std::vector<TArrival> Arrivals;
};

}  // namespace qx::test
