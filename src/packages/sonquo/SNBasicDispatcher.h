// The audio package's pixel entries, resolved like the library's basic
// dispatcher (see dispatch/QXBasicDispatcher.h) and sharing its kernels.
// They live in namespace qx::sonquo because the library's own table repeats
// some IPP names.
//
//   ippiCopy_8u_C1R       copy a 1-channel region
//   ippiSet_16s_C1R       fill a region of signed 16-bit pixels
//   ippiSet_8u_C1R        fill a 1-channel region
//   ippiAdd/Sub/Mul/Div_8u_C1IRSfs  in-place scaled arithmetic on 1-channel regions
#pragma once

#include "dispatch/DispatcherEntry.h"
#include "dispatch/IppEntryForms.h"

namespace qx::sonquo {

// ENTRY(form, name), in resolution order.
#define QX_SN_BASIC_DISPATCHER_ENTRIES(ENTRY)      \
  ENTRY(TIppiOneSource, ippiCopy_8u_C1R)           \
  ENTRY(TIppiSet16s, ippiSet_16s_C1R)              \
  ENTRY(TIppiByteInPlace, ippiSet_8u_C1R)          \
  ENTRY(TIppiSourceInPlaceSfs, ippiAdd_8u_C1IRSfs) \
  ENTRY(TIppiSourceInPlaceSfs, ippiSub_8u_C1IRSfs) \
  ENTRY(TIppiSourceInPlaceSfs, ippiMul_8u_C1IRSfs) \
  ENTRY(TIppiSourceInPlaceSfs, ippiDiv_8u_C1IRSfs)

QX_SN_BASIC_DISPATCHER_ENTRIES(QX_DECLARE_DISPATCHER_ENTRY)

namespace detail {

// Resolves the audio package's entries on first use; later calls do nothing.
void InitializeBasicDispatcher() noexcept;

inline const qx::detail::DispatcherInitializer basicDispatcherInitializer{
    &InitializeBasicDispatcher};

}  // namespace detail
}  // namespace qx::sonquo
