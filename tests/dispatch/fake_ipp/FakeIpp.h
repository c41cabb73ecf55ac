// Shared by the fake IPP libraries and the tests that load them.
#pragma once

#include "dispatch/IppTypes.h"

// Statuses that tell a fake entry's answer from any real kernel's.
inline constexpr int kFakeImageStatus = 4242;
inline constexpr int kFakeSignalStatus = 4343;
