// The colour-twist dispatcher: the two in-place colour-twist entries, kept
// in a table of their own and resolved exactly like the basic dispatcher's
// (see dispatch/QXBasicDispatcher.h).
//
// Each destination channel k of a pixel becomes
//   twist[k][0] * s0 + twist[k][1] * s1 + twist[k][2] * s2 + twist[k][3],
// rounded and saturated to a byte; the AC4 form keeps the alpha byte.
#pragma once

#include "dispatch/DispatcherEntry.h"
#include "dispatch/IppEntryForms.h"

namespace qx {

// ENTRY(form, name), in resolution order.
#define QX_COLOR_TWIST_DISPATCHER_ENTRIES(ENTRY)           \
  ENTRY(TIppiColorTwistInPlace, ippiColorTwist32f_8u_C3IR) \
  ENTRY(TIppiColorTwistInPlace, ippiColorTwist32f_8u_AC4IR)

QX_COLOR_TWIST_DISPATCHER_ENTRIES(QX_DECLARE_DISPATCHER_ENTRY)

namespace detail {

// Resolves the colour-twist entries on first use; later calls do nothing.
void InitializeColorTwistDispatcher() noexcept;

inline const DispatcherInitializer colorTwistDispatcherInitializer{&InitializeColorTwistDispatcher};

}  // namespace detail
}  // namespace qx
