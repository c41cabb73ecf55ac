// The basic dispatcher: 137 pixel primitives named after IPP entries.
//
// Each entry is a function-pointer variable in namespace qx, named exactly as
// the IPP entry (`qx::ippiAdd_8u_C3RSfs`) and typed `TPtr_<entry>`, an alias
// of the entry's argument form (dispatch/IppEntryForms.h). When the library
// is loaded every variable is resolved once: to the entry exported by an
// installed IPP library when there is one, otherwise to Quexa's own kernel of
// the same contract. Callers never need to know which; both follow the IPP
// calling contract and return IPP status codes. After resolution the
// variables are never null and never change, so any thread may call them.
//
// Resolution happens before any code that includes this header runs its own
// static initialisers, so entries may be called from those too.
//
//   IppStatus status = qx::ippiAdd_8u_C3RSfs(a, aStep, b, bStep, out, outStep,
//                                             {width, height}, 0);
#pragma once

#include "dispatch/DispatcherEntry.h"
#include "dispatch/IppEntryForms.h"

namespace qx {

// Every entry, in resolution order, with its argument form. ENTRY(form, name).
#define QX_BASIC_DISPATCHER_ENTRIES(ENTRY)                                          \
  ENTRY(TIppiOneSource, ippiYUV422ToRGB_8u_C2C3R)                                   \
  ENTRY(TIppiColorTwist, ippiColorTwist32f_8u_C3R)                                  \
  ENTRY(TIppiSwapChannelsInPlace, ippiSwapChannels_8u_C3IR)                         \
  ENTRY(TIppiSwapChannels, ippiSwapChannels_8u_C3R)                                 \
  ENTRY(TIppiSwapChannels, ippiSwapChannels_8u_AC4R)                                \
  ENTRY(TIppiOneSource, ippiRGBToYUV422_8u_C3C2R)                                   \
  ENTRY(TIppiAlphaCompConst, ippiAlphaCompC_8u_C3R)                                 \
  ENTRY(TIppiAlphaCompConst, ippiAlphaCompC_8u_C1R)                                 \
  ENTRY(TIppiAlphaCompConst, ippiAlphaCompC_8u_C4R)                                 \
  ENTRY(TIppiSourceInPlaceSfs, ippiAdd_8u_C3IRSfs)                                  \
  ENTRY(TIppiSourceInPlaceSfs, ippiAdd_8u_AC4IRSfs)                                 \
  ENTRY(TIppiSourceInPlaceSfs, ippiSub_8u_C3IRSfs)                                  \
  ENTRY(TIppiSourceInPlaceSfs, ippiSub_8u_AC4IRSfs)                                 \
  ENTRY(TIppiSourceInPlaceSfs, ippiMul_8u_C3IRSfs)                                  \
  ENTRY(TIppiSourceInPlaceSfs, ippiMul_8u_AC4IRSfs)                                 \
  ENTRY(TIppiSourceInPlaceSfs, ippiDiv_8u_C3IRSfs)                                  \
  ENTRY(TIppiSourceInPlaceSfs, ippiDiv_8u_AC4IRSfs)                                 \
  ENTRY(TIppiConstInPlace, ippiSet_8u_C3R)                                          \
  ENTRY(TIppiByteInPlace, ippiSet_8u_C1R)                                           \
  ENTRY(TIppiByteInPlace, ippiSet_8u_C3CR)                                          \
  ENTRY(TIppiConstInPlace, ippiSet_8u_AC4R)                                         \
  ENTRY(TIppiByteInPlace, ippiSet_8u_C4CR)                                          \
  ENTRY(TIppiMirror, ippiMirror_8u_C3R)                                             \
  ENTRY(TIppiMirrorInPlace, ippiMirror_8u_C3IR)                                     \
  ENTRY(TIppiMirror, ippiMirror_8u_C4R)                                             \
  ENTRY(TIppiMirrorInPlace, ippiMirror_8u_C4IR)                                     \
  ENTRY(TIppiMirror16u, ippiMirror_16u_C1R)                                         \
  ENTRY(TIppiMirror, ippiMirror_8u_AC4R)                                            \
  ENTRY(TIppiMirrorInPlace, ippiMirror_8u_AC4IR)                                    \
  ENTRY(TIppiFilterWiener, ippiFilterWiener_8u_C3R)                                 \
  ENTRY(TIppiFilterWiener, ippiFilterWiener_8u_AC4R)                                \
  ENTRY(TIppiFilterWiener, ippiFilterWiener_8u_C1R)                                 \
  ENTRY(TIppiOneSource, ippiCopy_8u_C3R)                                            \
  ENTRY(TIppiOneSource, ippiCopy_8u_AC4R)                                           \
  ENTRY(TIppiOneSource, ippiCopy_8u_C4CR)                                           \
  ENTRY(TIppiOneSource, ippiCopy_8u_C1C3R)                                          \
  ENTRY(TIppiOneSource, ippiCopy_8u_C1C4R)                                          \
  ENTRY(TIppiOneSource, ippiCopy_8u_C3C1R)                                          \
  ENTRY(TIppiOneSource, ippiCopy_8u_C4C1R)                                          \
  ENTRY(TIppiTwoSourceSfs, ippiAdd_8u_C3RSfs)                                       \
  ENTRY(TIppiTwoSourceSfs, ippiAdd_8u_C4RSfs)                                       \
  ENTRY(TIppiTwoSourceSfs, ippiAdd_8u_AC4RSfs)                                      \
  ENTRY(TIppiTwoSourceSfs, ippiAdd_8u_C1RSfs)                                       \
  ENTRY(TIppiTwoSourceSfs, ippiSub_8u_C3RSfs)                                       \
  ENTRY(TIppiTwoSourceSfs, ippiSub_8u_AC4RSfs)                                      \
  ENTRY(TIppiTwoSourceSfs, ippiSub_8u_C1RSfs)                                       \
  ENTRY(TIppiTwoSourceSfs, ippiMul_8u_C3RSfs)                                       \
  ENTRY(TIppiTwoSourceSfs, ippiMul_8u_AC4RSfs)                                      \
  ENTRY(TIppiTwoSourceSfs, ippiMul_8u_C1RSfs)                                       \
  ENTRY(TIppiTwoSourceSfs, ippiDiv_8u_C3RSfs)                                       \
  ENTRY(TIppiTwoSourceSfs, ippiDiv_8u_AC4RSfs)                                      \
  ENTRY(TIppiTwoSourceSfs, ippiDiv_8u_C1RSfs)                                       \
  ENTRY(TIppiTwoSource, ippiOr_8u_C3R)                                              \
  ENTRY(TIppiTwoSource, ippiOr_8u_AC4R)                                             \
  ENTRY(TIppiTwoSource, ippiOr_8u_C1R)                                              \
  ENTRY(TIppiTwoSource, ippiAnd_8u_C3R)                                             \
  ENTRY(TIppiTwoSource, ippiAnd_8u_AC4R)                                            \
  ENTRY(TIppiTwoSource, ippiAnd_8u_C1R)                                             \
  ENTRY(TIppiTwoSource, ippiXor_8u_C3R)                                             \
  ENTRY(TIppiTwoSource, ippiXor_8u_AC4R)                                            \
  ENTRY(TIppiTwoSource, ippiXor_8u_C1R)                                             \
  ENTRY(TIppiTwoSource, ippiAbsDiff_8u_C1R)                                         \
  ENTRY(TIppiFilterWienerGetBufferSize, ippiFilterWienerGetBufferSize)              \
  ENTRY(TIppiOneSource, ippiCopy_8u_C3AC4R)                                         \
  ENTRY(TIppiOneSource, ippiCopy_8u_AC4C3R)                                         \
  ENTRY(TIppiInPlace, ippiNot_8u_C3IR)                                              \
  ENTRY(TIppiInPlace, ippiNot_8u_C4IR)                                              \
  ENTRY(TIppiInPlace, ippiNot_8u_AC4IR)                                             \
  ENTRY(TIppiSourceInPlace, ippiAnd_8u_C3IR)                                        \
  ENTRY(TIppiSourceInPlace, ippiAnd_8u_C1IR)                                        \
  ENTRY(TIppiSourceInPlace, ippiAnd_8u_C4IR)                                        \
  ENTRY(TIppiSourceInPlace, ippiAnd_8u_AC4IR)                                       \
  ENTRY(TIppiSourceInPlace, ippiOr_8u_C3IR)                                         \
  ENTRY(TIppiSourceInPlace, ippiOr_8u_C1IR)                                         \
  ENTRY(TIppiSourceInPlace, ippiOr_8u_C4IR)                                         \
  ENTRY(TIppiSourceInPlace, ippiOr_8u_AC4IR)                                        \
  ENTRY(TIppiConstInPlaceSfs, ippiAddC_8u_C3IRSfs)                                  \
  ENTRY(TIppiConstInPlaceSfs, ippiAddC_8u_AC4IRSfs)                                 \
  ENTRY(TIppiConstInPlaceSfs, ippiAddC_8u_C4IRSfs)                                  \
  ENTRY(TIppiConstInPlaceSfs, ippiSubC_8u_C3IRSfs)                                  \
  ENTRY(TIppiConstInPlaceSfs, ippiSubC_8u_C4IRSfs)                                  \
  ENTRY(TIppiConstInPlaceSfs, ippiMulC_8u_C3IRSfs)                                  \
  ENTRY(TIppiConstInPlaceSfs, ippiMulC_8u_AC4IRSfs)                                 \
  ENTRY(TIppiConstInPlaceSfs, ippiMulC_8u_C4IRSfs)                                  \
  ENTRY(TIppiByteInPlace, ippiMulCScale_8u_C1IR)                                    \
  ENTRY(TIppiConstInPlace, ippiMulCScale_8u_C3IR)                                   \
  ENTRY(TIppiConstInPlace, ippiMulCScale_8u_AC4IR)                                  \
  ENTRY(TIppiConstInPlace, ippiMulCScale_8u_C4IR)                                   \
  ENTRY(TIppiSourceInPlace, ippiMulScale_8u_C1IR)                                   \
  ENTRY(TIppiSourceInPlace, ippiMulScale_8u_C3IR)                                   \
  ENTRY(TIppiSourceInPlace, ippiMulScale_8u_AC4IR)                                  \
  ENTRY(TIppiSourceInPlace, ippiMulScale_8u_C4IR)                                   \
  ENTRY(TIppiConstInPlaceSfs, ippiDivC_8u_C3IRSfs)                                  \
  ENTRY(TIppiConstInPlaceSfs, ippiDivC_8u_C4IRSfs)                                  \
  ENTRY(TIppiConstInPlaceSfs, ippiDivC_8u_AC4IRSfs)                                 \
  ENTRY(TIppiAbsDiffConst, ippiAbsDiffC_8u_C1R)                                     \
  ENTRY(TIppiInPlaceSfs, ippiSqr_8u_C3IRSfs)                                        \
  ENTRY(TIppiInPlaceSfs, ippiSqr_8u_AC4IRSfs)                                       \
  ENTRY(TIppiShiftInPlace, ippiLShiftC_8u_C3IR)                                     \
  ENTRY(TIppiShiftInPlace, ippiLShiftC_8u_AC4IR)                                    \
  ENTRY(TIppiShiftInPlace, ippiLShiftC_8u_C4IR)                                     \
  ENTRY(TIppiShiftInPlace, ippiRShiftC_8u_C3IR)                                     \
  ENTRY(TIppiShiftInPlace, ippiRShiftC_8u_C4IR)                                     \
  ENTRY(TIppiShiftInPlace, ippiRShiftC_8u_AC4IR)                                    \
  ENTRY(TIppiOneSource, ippiNot_8u_C3R)                                             \
  ENTRY(TIppiOneSource, ippiNot_8u_AC4R)                                            \
  ENTRY(TIppiConstInPlace, ippiAndC_8u_C3IR)                                        \
  ENTRY(TIppiConstInPlace, ippiAndC_8u_C4IR)                                        \
  ENTRY(TIppiConstInPlace, ippiAndC_8u_AC4IR)                                       \
  ENTRY(TIppiConstInPlace, ippiOrC_8u_C3IR)                                         \
  ENTRY(TIppiConstInPlace, ippiOrC_8u_AC4IR)                                        \
  ENTRY(TIppiConstInPlace, ippiOrC_8u_C4IR)                                         \
  ENTRY(TIppiShiftSource, ippiLShiftC_8u_C3R)                                       \
  ENTRY(TIppiShiftSource, ippiRShiftC_8u_C3R)                                       \
  ENTRY(TIppiConstSource, ippiAndC_8u_C3R)                                          \
  ENTRY(TIppiConstSource, ippiOrC_8u_C3R)                                           \
  ENTRY(TIppiConstInPlace, ippiXorC_8u_C3IR)                                        \
  ENTRY(TIppiConstInPlace, ippiXorC_8u_AC4IR)                                       \
  ENTRY(TIppiConstInPlace, ippiXorC_8u_C4IR)                                        \
  ENTRY(TIppiSourceInPlace, ippiXor_8u_C3IR)                                        \
  ENTRY(TIppiSourceInPlace, ippiXor_8u_C1IR)                                        \
  ENTRY(TIppiSourceInPlace, ippiXor_8u_AC4IR)                                       \
  ENTRY(TIppiSourceInPlace, ippiXor_8u_C4IR)                                        \
  ENTRY(TIppiOneSourceSfs, ippiSqr_8u_C3RSfs)                                       \
  ENTRY(TIppiOneSourceSfs, ippiSqr_8u_AC4RSfs)                                      \
  ENTRY(TIppiConstSource, ippiXorC_8u_C3R)                                          \
  ENTRY(TIppiColorToGray, ippiColorToGray_8u_C3C1R)                                 \
  ENTRY(TIppiColorToGray, ippiColorToGray_8u_AC4C1R)                                \
  ENTRY(TIppiFilterSobelBorder, ippiFilterSobelHorizBorder_8u16s_C1R)               \
  ENTRY(TIppiFilterSobelBorder, ippiFilterSobelVertBorder_8u16s_C1R)                \
  ENTRY(TIppiFilterSobelGetBufferSize, ippiFilterSobelHorizGetBufferSize_8u16s_C1R) \
  ENTRY(TIppiFilterSobelGetBufferSize, ippiFilterSobelVertGetBufferSize_8u16s_C1R)  \
  ENTRY(TIppiCopyPlanes, ippiCopy_8u_P3C3R)                                         \
  ENTRY(TIppiMirrorInPlace, ippiMirror_8u_C1IR)                                     \
  ENTRY(TIppiMirror, ippiMirror_8u_C1R)                                             \
  ENTRY(TIppsSwapBytesInPlace, ippsSwapBytes_16u_I)                                 \
  ENTRY(TIppiMax, ippiMax_8u_C1R)

QX_BASIC_DISPATCHER_ENTRIES(QX_DECLARE_DISPATCHER_ENTRY)

namespace detail {

// Resolves the basic dispatcher's entries on first use; later calls do nothing.
void InitializeBasicDispatcher() noexcept;

// Makes every translation unit that includes this header resolve the table
// before its own static initialisers run.
inline const DispatcherInitializer basicDispatcherInitializer{&InitializeBasicDispatcher};

}  // namespace detail
}  // namespace qx
