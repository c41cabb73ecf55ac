// Enumerations of the signal package used as published properties.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/EnumNames.h"

namespace qx {

// What times a component that pumps data.
enum TZTClockSource : std::uint8_t {
  csInternalTimer,  // its own clock generator (ZTClockGen.h)
  csClockPin        // the ticks arriving on its clock pin
};

// On which thread a receiver handles what arrives.
enum TZTSynchronizeType : std::uint8_t {
  stNone,       // on the delivering thread
  stLock,       // on the delivering thread, under the receiver's lock (which the
                // library's sink bases take for every frame anyway)
  stMainThread  // on the user-interface thread, through a main-thread queue
};

}  // namespace qx

template <>
struct qx::TEnumNames<qx::TZTClockSource> {
  static constexpr std::string_view TypeName = "TZTClockSource";
  static constexpr TEnumValueName<TZTClockSource> Values[] = {{csInternalTimer, "csInternalTimer"},
                                                              {csClockPin, "csClockPin"}};
};

template <>
struct qx::TEnumNames<qx::TZTSynchronizeType> {
  static constexpr std::string_view TypeName = "TZTSynchronizeType";
  static constexpr TEnumValueName<TZTSynchronizeType> Values[] = {
      {stNone, "stNone"}, {stLock, "stLock"}, {stMainThread, "stMainThread"}};
};
