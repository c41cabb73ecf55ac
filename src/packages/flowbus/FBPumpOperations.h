// The operations of pump negotiation and clocks.
//
// Pump negotiation decides which component paces a stream graph. Every
// source that can time itself (a generator, a player) sends a
// TFBPumpRequestOperation downstream before it starts. The request comes
// back answered: the elected master and a value (the master's rate). The
// answer is given in three places, in this order:
//
// 1. The request starts answered by its own sender: a source that nobody
//    else claims the pump from is its own master.
// 2. Any receiver may `Claim` the pump for itself or another component (an
//    audio renderer pacing the video); a claim replaces the answer only when
//    its priority is strictly higher.
// 3. The framework answers at every sink pin that ends the request's way: a
//    sink pin of which no source pin of its component depends
//    (`TFBSourcePin::AddDependent`). All such sink pins of one component form
//    its pump group. The group remembers every sender whose request reached
//    it (by pump type) and elects among them: the highest priority wins, and
//    of equal priorities the sender that asked first. The request is
//    answered with the group's master unless it already carries an answer of
//    strictly higher priority. Requests are answered after the receiving
//    component's own handler ran, so a claim made there competes with the
//    group's master.
//
// Ticks. While a group's master is one of its senders, every data operation
// (TFBSuppliedOperation) the master sends through the pin it sent its
// request from is one tick: right after that operation was delivered, the
// framework hands a TFBMasterPumpOperation (the master, the tick number
// counting from 1) to the pin of every other sender of the group with the
// same pump type, as an operation arriving from downstream, on the master's
// thread. A master that is not one of the group's senders (a claim) sends
// its own master-pump operations upstream.
//
// A sender leaves its groups when its pin is disconnected or shut down; a
// group forgets the senders that reached it through a sink pin that is
// disconnected. Requests are not answered again by themselves: a sender
// that was elected and is later outranked by a new sender learns it with its
// next request (every start sends one), and the remaining senders of a group
// whose master left get no ticks until they request again.
#pragma once

#include <cstdint>

#include "packages/flowbus/FBOperations.h"

namespace qx {

class TComponent;
class TFBSourcePin;

namespace detail {
struct TPinAccess;
}

// Sent downstream after a start: the stream's source begins to pump.
class TFBStartPumpOperation : public TFBNotifyOperation {};

// Who paces the stream; see above.
class TFBPumpRequestOperation : public TFBNotifyOperation {
 public:
  TFBPumpRequestOperation(TComponent* sender, std::int32_t pumpType, std::int32_t priority,
                          double rate)
      : FSender(sender),
        FPumpType(pumpType),
        FPriority(priority),
        FRate(rate),
        FMaster(sender),
        FMasterPriority(priority),
        FValue(rate) {}

  TComponent* GetSender() const noexcept { return FSender; }
  std::int32_t GetPumpType() const noexcept { return FPumpType; }
  std::int32_t GetPriority() const noexcept { return FPriority; }
  double GetRate() const noexcept { return FRate; }

  // The answer: the elected master, its priority and its value.
  TComponent* GetMaster() const noexcept { return FMaster; }
  std::int32_t GetMasterPriority() const noexcept { return FMasterPriority; }
  double GetValue() const noexcept { return FValue; }
  bool IsMaster(const TComponent* component) const noexcept { return FMaster == component; }

  // Makes `master` the answer when `priority` is higher than the answer's;
  // returns whether it did.
  bool Claim(TComponent* master, std::int32_t priority, double value) noexcept {
    if (priority <= FMasterPriority) return false;
    FMaster = master;
    FMasterPriority = priority;
    FValue = value;
    return true;
  }

  // The pin the request was first sent from; null until it was sent and
  // once that pin has shut down.
  TFBSourcePin* GetOriginPin() const;

 private:
  friend struct detail::TPinAccess;

  TComponent* FSender;
  std::int32_t FPumpType;
  std::int32_t FPriority;
  double FRate;
  TComponent* FMaster;
  std::int32_t FMasterPriority;
  double FValue;
  TRefPtr<TRefCounted> FOrigin;  // the framework's record of the origin pin
};

// One tick of the pump master, handed to the other senders of its group.
class TFBMasterPumpOperation : public TFBNotifyOperation {
 public:
  TFBMasterPumpOperation(TComponent* sender, std::int64_t count) : FSender(sender), FCount(count) {}
  TComponent* GetSender() const noexcept { return FSender; }
  std::int64_t GetCount() const noexcept { return FCount; }

 private:
  TComponent* FSender;
  std::int64_t FCount;
};

// One tick of a clock stream (packages/flowbus/FBValuePins.h).
class TFBClockOperation : public TFBNotifyOperation {
 public:
  explicit TFBClockOperation(std::int64_t count = 0) : FCount(count) {}
  std::int64_t GetCount() const noexcept { return FCount; }

 private:
  std::int64_t FCount;
};

// Sent upstream by a clock's receiver: whether it wants ticks now.
class TFBClockNeededOperation : public TFBNotifyOperation {
 public:
  explicit TFBClockNeededOperation(bool needed) : FNeeded(needed) {}
  bool IsNeeded() const noexcept { return FNeeded; }

 private:
  bool FNeeded;
};

}  // namespace qx
