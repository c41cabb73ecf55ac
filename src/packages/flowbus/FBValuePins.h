// The value pins: pins that carry one value rather than a stream of data.
//
// - TFBBoolSinkPin, TFBStringSinkPin: receive values; each value arriving
//   runs `OnValue` (under the pin's lock, on the sender's thread) and is kept
//   as `GetValue`. Other operations go to `OnOperation`.
// - TFBBoolStatePin, TFBInt64TimeRangedStatePin: source pins that mirror a
//   value of their component both ways. `SetState` (the component's side)
//   stores the value and sends it to every connected sink; a sink connected
//   later receives the current value at once. A value sent upstream by a
//   connected sink becomes the state: `OnValue` runs and the other sinks
//   receive it. A value equal to the state is neither sent nor reported, so
//   two pins that mirror each other do not echo.
// - TFBClockSinkPin: receives clock ticks (`OnClock`) and tells its source
//   whether it wants them (`SetClockNeeded`).
//
//   FEnablePin = new TFBBoolSinkPin(this, "EnablePin", FLock,
//                                   [this](auto&, bool enabled) { SetEnabled(enabled); });
//
// Events are set before the pin is connected.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "packages/flowbus/FBPumpOperations.h"
#include "packages/flowbus/FBSinkPin.h"
#include "packages/flowbus/FBSourcePin.h"
#include "packages/flowbus/FBValueOperations.h"
#include "packages/flowbus/FBValueStreams.h"

namespace qx {

// The stream each value type travels on.
template <class V>
struct TFBValueStream;
template <>
struct TFBValueStream<bool> {
  static constexpr const TGUID& ID = FBBoolStreamID;
};
template <>
struct TFBValueStream<std::string> {
  static constexpr const TGUID& ID = FBStringStreamID;
};
template <>
struct TFBValueStream<TFBInt64TimeRange> {
  static constexpr const TGUID& ID = FBInt64TimeRangeStreamID;
};

namespace detail {

// A value guarded for reading from any thread.
template <class V>
class TFBGuardedValue {
 public:
  explicit TFBGuardedValue(V value = {}) : FValue(std::move(value)) {}
  V Get() const {
    std::lock_guard guard(FMutex);
    return FValue;
  }
  // Stores `value`; false when it was the value already.
  bool Change(const V& value) {
    std::lock_guard guard(FMutex);
    if (FValue == value) return false;
    FValue = value;
    return true;
  }

 private:
  mutable std::mutex FMutex;
  V FValue;
};

}  // namespace detail

template <class V>
class TFBValueSinkPin : public TFBSinkPin {
 public:
  using TValueEvent = std::function<void(TFBValueSinkPin& sender, const V& value)>;

  TFBValueSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                  TValueEvent onValue = {})
      : TFBSinkPin(owner, name, std::move(lock)), OnValue(std::move(onValue)) {
    AddType(TFBValueStream<V>::ID);
  }
  ~TFBValueSinkPin() override { Shutdown(); }

  // The last value received; V{} before the first.
  V GetValue() const { return FValue.Get(); }

  TValueEvent OnValue;

 protected:
  bool DispatchData(const TGUID& dataType, const TFBOperationPtr& operation,
                    TFBState state) override {
    const auto* value = dynamic_cast<const TFBSuppliedValueOperation<V>*>(operation.Get());
    if (!value) return TFBSinkPin::DispatchData(dataType, operation, state);
    FValue.Change(value->GetValue());
    if (OnValue) OnValue(*this, value->GetValue());
    return true;
  }

 private:
  detail::TFBGuardedValue<V> FValue;
};

template <class V>
class TFBStatePin : public TFBSourcePin {
 public:
  using TValueEvent = std::function<void(TFBStatePin& sender, const V& value)>;

  TFBStatePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock, V initial = {},
              TValueEvent onValue = {})
      : TFBSourcePin(owner, name, std::move(lock)),
        OnValue(std::move(onValue)),
        FState(std::move(initial)) {
    AddType(TFBValueStream<V>::ID);
  }
  ~TFBStatePin() override { Shutdown(); }

  V GetState() const { return FState.Get(); }
  // Stores the state and sends it to the sinks, unless it is the state already.
  void SetState(const V& value) {
    if (FState.Change(value)) Notify(MakeRef<TFBSuppliedValueOperation<V>>(value));
  }

  // A connected sink changed the value.
  TValueEvent OnValue;

 protected:
  bool Receive(IFBStream* stream, const TGUID& dataType, const TFBOperationPtr& operation,
               TFBState state) override {
    const auto* value = dynamic_cast<const TFBSuppliedValueOperation<V>*>(operation.Get());
    if (!value) return TFBSourcePin::Receive(stream, dataType, operation, state);
    if (!FState.Change(value->GetValue())) return true;
    if (OnValue) OnValue(*this, value->GetValue());
    Send(operation, state, stream ? &stream->GetRemotePin() : nullptr);
    return true;
  }

  void SinkConnected(IFBStream& stream) override {
    SendThrough(stream, MakeRef<TFBSuppliedValueOperation<V>>(GetState()), 0);
  }

 private:
  detail::TFBGuardedValue<V> FState;
};

class TFBBoolSinkPin : public TFBValueSinkPin<bool> {
  QX_CLASS(TFBBoolSinkPin, TFBValueSinkPin<bool>)

 public:
  using TFBValueSinkPin::TFBValueSinkPin;
};

class TFBStringSinkPin : public TFBValueSinkPin<std::string> {
  QX_CLASS(TFBStringSinkPin, TFBValueSinkPin<std::string>)

 public:
  using TFBValueSinkPin::TFBValueSinkPin;
};

class TFBBoolStatePin : public TFBStatePin<bool> {
  QX_CLASS(TFBBoolStatePin, TFBStatePin<bool>)

 public:
  using TFBStatePin::TFBStatePin;
};

class TFBInt64TimeRangedStatePin : public TFBStatePin<TFBInt64TimeRange> {
  QX_CLASS(TFBInt64TimeRangedStatePin, TFBStatePin<TFBInt64TimeRange>)

 public:
  using TFBStatePin::TFBStatePin;
};

class TFBClockSinkPin : public TFBSinkPin {
  QX_CLASS(TFBClockSinkPin, TFBSinkPin)

 public:
  using TClockEvent = std::function<void(TFBClockSinkPin& sender, std::int64_t count)>;

  TFBClockSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock,
                  TClockEvent onClock = {});
  ~TFBClockSinkPin() override;

  // Sends a TFBClockNeededOperation upstream; returns the source's answer.
  bool SetClockNeeded(bool needed);

  // A tick arrived (TFBClockOperation); other operations go to OnOperation.
  TClockEvent OnClock;

 protected:
  bool DispatchData(const TGUID& dataType, const TFBOperationPtr& operation,
                    TFBState state) override;
};

}  // namespace qx
