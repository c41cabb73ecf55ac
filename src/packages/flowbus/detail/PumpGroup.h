// Internal: the pump groups that answer pump requests and hand the master's
// ticks on (the rules are in packages/flowbus/FBPumpOperations.h).
#pragma once

#include <cstdint>
#include <vector>

#include "host/RefCounted.h"
#include "packages/flowbus/FBPumpOperations.h"

namespace qx {
class TFBSinkPin;
class TFBSourcePin;
}  // namespace qx

namespace qx::detail {

class TPinCore;

// A master's tick for one other sender.
struct TTick {
  TRefPtr<TPinCore> Target;  // the sender's origin pin
  TComponent* Master = nullptr;
  std::int64_t Count = 0;
};

// The election of one component's terminal sink pins. Every member runs
// with the framework mutex held.
class TPumpGroup final : public TRefCounted {
 public:
  // Records the request's sender (reaching the group through `arrival`) and
  // answers the request.
  void Elect(TFBPumpRequestOperation& request, const TPinCore& arrival);
  void ForgetArrival(const TPinCore& arrival);
  void ForgetOrigin(const TPinCore& origin);
  // When `origin` is the pin of this group's master for some pump type:
  // counts a tick and appends one for every other sender of that type.
  void CollectTicks(const TPinCore& origin, std::vector<TTick>& ticks);

 private:
  struct TCandidate {
    TComponent* Sender;
    std::int32_t PumpType;
    std::int32_t Priority;
    double Rate;
    TRefPtr<TPinCore> Origin;  // null when the request had none
    const TPinCore* Arrival;
  };
  struct TMastership {
    std::int32_t PumpType;
    TComponent* Master;  // null: the master is not one of the group's senders
    std::int64_t Ticks;
  };

  const TCandidate* Best(std::int32_t pumpType) const;
  TMastership& MastershipOf(std::int32_t pumpType);
  void DropMissingMasters();

  std::vector<TCandidate> FCandidates;  // in the order they first asked
  std::vector<TMastership> FMasterships;
};

// The group of the component (or pin without owner) `key`; with the mutex held.
TRefPtr<TPumpGroup> JoinPumpGroup(const void* key);
void LeavePumpGroup(const void* key);

// Without the mutex: the election at `sink` when requests end there.
void ElectAtSink(TFBSinkPin& sink, TFBPumpRequestOperation& request);
// Without the mutex: hands on the ticks of a data operation `pin` just sent.
void HandOnMasterTicks(TFBSourcePin& pin);

}  // namespace qx::detail
