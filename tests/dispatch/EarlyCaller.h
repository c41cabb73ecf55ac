#pragma once

#include "dispatch/IppTypes.h"

inline constexpr qx::IppStatus kEntryWasNull = -1000;

// What an entry call made during static initialisation returned: the maximum
// it found, or an error status.
extern const qx::IppStatus gEarlyCallResult;
