// The signal package's pixel entries, resolved like the library's basic
// dispatcher (see dispatch/QXBasicDispatcher.h) and sharing its kernels.
// They live in namespace qx::zenthic because the library's own table
// repeats some IPP names.
//
//   ippiSet_8u_C4R        fill a 4-channel region with one 4-byte pixel
//   ippiCopy_8u_C4R       copy a 4-channel region
//   ippiAlphaComp_8u_AC4R composite two images by their per-pixel alpha
//   ippsSwapBytes_16u     copy 16-bit words with their bytes exchanged
//   ippsCopy_8u           copy bytes
#pragma once

#include "dispatch/DispatcherEntry.h"
#include "dispatch/IppEntryForms.h"

namespace qx::zenthic {

// ENTRY(form, name), in resolution order.
#define QX_ZT_BASIC_DISPATCHER_ENTRIES(ENTRY)  \
  ENTRY(TIppiConstInPlace, ippiSet_8u_C4R)     \
  ENTRY(TIppiOneSource, ippiCopy_8u_C4R)       \
  ENTRY(TIppiAlphaComp, ippiAlphaComp_8u_AC4R) \
  ENTRY(TIppsSwapBytes, ippsSwapBytes_16u)     \
  ENTRY(TIppsCopy, ippsCopy_8u)

QX_ZT_BASIC_DISPATCHER_ENTRIES(QX_DECLARE_DISPATCHER_ENTRY)

namespace detail {

// Resolves the signal package's entries on first use; later calls do nothing.
void InitializeBasicDispatcher() noexcept;

inline const qx::detail::DispatcherInitializer basicDispatcherInitializer{
    &InitializeBasicDispatcher};

}  // namespace detail
}  // namespace qx::zenthic
