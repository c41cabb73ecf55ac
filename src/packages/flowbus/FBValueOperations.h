// Operations that carry one value, spoken by the value pins
// (packages/flowbus/FBValuePins.h) on the framework's value streams.
//
// Each value type has its own class, so receivers tell them apart by class
// as any other operation; packages derive richer ones from them (a string
// with a time, for instance).
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "packages/flowbus/FBOperations.h"

namespace qx {

template <class V>
class TFBSuppliedValueOperation : public TFBSuppliedOperation {
 public:
  explicit TFBSuppliedValueOperation(V value) : FValue(std::move(value)) {}
  const V& GetValue() const noexcept { return FValue; }

 private:
  V FValue;
};

// A 64-bit position within a range, with the times (in days) of the range's
// ends: a player's progress (frame 120 of 0..1500, from 0 to 0.00069 days).
struct TFBInt64TimeRange {
  std::int64_t Value = 0;
  std::int64_t Min = 0;
  std::int64_t Max = 0;
  double MinTime = 0;
  double MaxTime = 0;

  friend bool operator==(const TFBInt64TimeRange&, const TFBInt64TimeRange&) = default;
};

using TFBSuppliedBoolOperation = TFBSuppliedValueOperation<bool>;
using TFBSuppliedStringOperation = TFBSuppliedValueOperation<std::string>;
using TFBSuppliedInt64TimeRangeOperation = TFBSuppliedValueOperation<TFBInt64TimeRange>;

}  // namespace qx
