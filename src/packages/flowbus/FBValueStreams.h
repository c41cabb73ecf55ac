// The value streams the framework registers itself, spoken by the value pins
// (packages/flowbus/FBValuePins.h).
#pragma once

#include "host/Guid.h"

namespace qx {

// Booleans: TFBSuppliedBoolOperation.
inline constexpr TGUID FBBoolStreamID = TGUID::Parse("{39A76228-53DB-4D94-84DB-41084CAC1B4A}");
// Strings: TFBSuppliedStringOperation.
inline constexpr TGUID FBStringStreamID = TGUID::Parse("{AF52EF74-3C58-4F1C-9E3D-4AE95B72B3B2}");
// Clock ticks: TFBClockOperation downstream, TFBClockNeededOperation upstream.
inline constexpr TGUID FBClockStreamID = TGUID::Parse("{24E8382F-4C20-44F7-85CB-41B1D2306D3D}");
// 64-bit values with a range and times: TFBSuppliedInt64TimeRangeOperation.
inline constexpr TGUID FBInt64TimeRangeStreamID =
    TGUID::Parse("{3E395F61-35F5-40DE-B891-65265AC94F0C}");

}  // namespace qx
