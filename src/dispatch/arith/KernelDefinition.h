// Macros that define a kernel with the exact argument list of its entry form
// (dispatch/IppEntryForms.h) as a call of a shared implementation: the
// implementation receives the macro's extra leading arguments (a layout, an
// operation...) followed by the entry's own arguments in their IPP order.
//
//   QX_DEFINE_TWO_SOURCE_SFS(ippiAdd_8u_C3RSfs, ScaledTwoSources<Sum>, kC3)
//
// defines ippiAdd_8u_C3RSfs(pSrc1, src1Step, pSrc2, src2Step, pDst, dstStep,
// roiSize, scaleFactor) as ScaledTwoSources<Sum>(kC3, pSrc1, ..., scaleFactor).
#pragma once

#include "dispatch/IppTypes.h"

#define QX_DEFINE_TWO_SOURCE_SFS(name, impl, ...)                                                 \
  IppStatus name(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst, \
                 int dstStep, IppiSize roiSize, int scaleFactor) {                                \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrc1, src1Step, pSrc2, src2Step, pDst, dstStep,       \
                roiSize, scaleFactor);                                                            \
  }

#define QX_DEFINE_TWO_SOURCE(name, impl, ...)                                                     \
  IppStatus name(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst, \
                 int dstStep, IppiSize roiSize) {                                                 \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrc1, src1Step, pSrc2, src2Step, pDst, dstStep,       \
                roiSize);                                                                         \
  }

#define QX_DEFINE_SOURCE_IN_PLACE_SFS(name, impl, ...)                                             \
  IppStatus name(const Ipp8u* pSrc, int srcStep, Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, \
                 int scaleFactor) {                                                                \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrc, srcStep, pSrcDst, srcDstStep, roiSize,            \
                scaleFactor);                                                                      \
  }

#define QX_DEFINE_SOURCE_IN_PLACE(name, impl, ...)                                       \
  IppStatus name(const Ipp8u* pSrc, int srcStep, Ipp8u* pSrcDst, int srcDstStep,         \
                 IppiSize roiSize) {                                                     \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrc, srcStep, pSrcDst, srcDstStep, roiSize); \
  }

#define QX_DEFINE_ONE_SOURCE(name, impl, ...)                                                  \
  IppStatus name(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) { \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrc, srcStep, pDst, dstStep, roiSize);             \
  }

#define QX_DEFINE_ONE_SOURCE_SFS(name, impl, ...)                                               \
  IppStatus name(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize,    \
                 int scaleFactor) {                                                             \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrc, srcStep, pDst, dstStep, roiSize, scaleFactor); \
  }

#define QX_DEFINE_IN_PLACE(name, impl, ...)                               \
  IppStatus name(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize) {      \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrcDst, srcDstStep, roiSize); \
  }

#define QX_DEFINE_IN_PLACE_SFS(name, impl, ...)                                        \
  IppStatus name(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, int scaleFactor) {  \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrcDst, srcDstStep, roiSize, scaleFactor); \
  }

#define QX_DEFINE_CONST_IN_PLACE_SFS(name, impl, ...)                                         \
  IppStatus name(const Ipp8u* value, Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,        \
                 int scaleFactor) {                                                           \
    return impl(__VA_ARGS__ __VA_OPT__(, ) value, pSrcDst, srcDstStep, roiSize, scaleFactor); \
  }

#define QX_DEFINE_CONST_IN_PLACE(name, impl, ...)                                        \
  IppStatus name(const Ipp8u* value, Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize) { \
    return impl(__VA_ARGS__ __VA_OPT__(, ) value, pSrcDst, srcDstStep, roiSize);         \
  }

#define QX_DEFINE_BYTE_IN_PLACE(name, impl, ...)                                  \
  IppStatus name(Ipp8u value, Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize) { \
    return impl(__VA_ARGS__ __VA_OPT__(, ) value, pSrcDst, srcDstStep, roiSize);  \
  }

#define QX_DEFINE_CONST_SOURCE(name, impl, ...)                                                \
  IppStatus name(const Ipp8u* pSrc, int srcStep, const Ipp8u* value, Ipp8u* pDst, int dstStep, \
                 IppiSize roiSize) {                                                           \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrc, srcStep, value, pDst, dstStep, roiSize);      \
  }

#define QX_DEFINE_SHIFT_IN_PLACE(name, impl, ...)                                         \
  IppStatus name(const Ipp32u* value, Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize) { \
    return impl(__VA_ARGS__ __VA_OPT__(, ) value, pSrcDst, srcDstStep, roiSize);          \
  }

#define QX_DEFINE_SHIFT_SOURCE(name, impl, ...)                                                 \
  IppStatus name(const Ipp8u* pSrc, int srcStep, const Ipp32u* value, Ipp8u* pDst, int dstStep, \
                 IppiSize roiSize) {                                                            \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrc, srcStep, value, pDst, dstStep, roiSize);       \
  }

#define QX_DEFINE_MIRROR(name, impl, ...)                                                    \
  IppStatus name(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize, \
                 IppiAxis flip) {                                                            \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrc, srcStep, pDst, dstStep, roiSize, flip);     \
  }

#define QX_DEFINE_MIRROR_IN_PLACE(name, impl, ...)                                  \
  IppStatus name(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, IppiAxis flip) { \
    return impl(__VA_ARGS__ __VA_OPT__(, ) pSrcDst, srcDstStep, roiSize, flip);     \
  }
