// Scalar reference colour kernels: the checks, then every row through the
// per-pixel arithmetic of ColorPixels.h.
#include "dispatch/color/ColorReference.h"

#include "dispatch/color/ColorChecks.h"
#include "dispatch/color/ColorPixels.h"

namespace qx::fallback::reference {
namespace {

using namespace qx::fallback::detail;

template <class Row>
void ForEachRow(IppiSize size, Row row) {
  for (int y = 0; y < size.height; ++y) row(y);
}

IppStatus Gray(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
               const Ipp32f* coeffs, int channels) {
  if (IppStatus status = CheckImagesAndSize({src, dst}, size); status != ippStsNoErr) return status;
  const GrayWeights weights = GrayWeightsOf(coeffs);
  ForEachRow(size, [&](int y) {
    GrayRow(RowOf(src, srcStep, y), RowOf(dst, dstStep, y), size.width, channels, weights);
  });
  return ippStsNoErr;
}

IppStatus Swap(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
               const int* order, int channels) {
  if (IppStatus status = CheckSwapArguments({src, dst}, order, size, {srcStep, dstStep});
      status != ippStsNoErr)
    return status;
  ForEachRow(size, [&](int y) {
    SwapRow(RowOf(src, srcStep, y), RowOf(dst, dstStep, y), size.width, channels, order);
  });
  return ippStsNoErr;
}

IppStatus Twist(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size,
                const Ipp32f (*twist)[4], int channels) {
  if (IppStatus status = CheckImagesSizeAndSteps({src, dst, twist}, size, {srcStep, dstStep});
      status != ippStsNoErr)
    return status;
  ForEachRow(size, [&](int y) {
    TwistRow(RowOf(src, srcStep, y), RowOf(dst, dstStep, y), size.width, channels, twist);
  });
  return ippStsNoErr;
}

IppStatus CompositeConst(const Ipp8u* src1, int src1Step, Ipp8u a1, const Ipp8u* src2, int src2Step,
                         Ipp8u a2, Ipp8u* dst, int dstStep, IppiSize size, IppiAlphaType type,
                         int channels) {
  if (IppStatus status = CheckCompositeArguments({src1, src2, dst}, size, type);
      status != ippStsNoErr)
    return status;
  ForEachRow(size, [&](int y) {
    CompositeConstRow(RowOf(src1, src1Step, y), RowOf(src2, src2Step, y), RowOf(dst, dstStep, y),
                      std::ptrdiff_t{size.width} * channels, a1, a2, type);
  });
  return ippStsNoErr;
}

template <class Layout, int Channels>
IppStatus Pack(const Ipp8u* src, int srcStep, Ipp16u* dst, int dstStep, IppiSize size) {
  if (IppStatus status = CheckPackedArguments(src, srcStep, false, dst, dstStep, true, size);
      status != ippStsNoErr)
    return status;
  ForEachRow(size, [&](int y) {
    PackRow<Layout, Channels>(RowOf(src, srcStep, y),
                              reinterpret_cast<Ipp16u*>(RowOf(dst, dstStep, y)), size.width);
  });
  return ippStsNoErr;
}

template <class Layout, int Channels>
IppStatus Unpack(const Ipp16u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size) {
  if (IppStatus status = CheckPackedArguments(src, srcStep, true, dst, dstStep, false, size);
      status != ippStsNoErr)
    return status;
  ForEachRow(size, [&](int y) {
    UnpackRow<Layout, Channels>(reinterpret_cast<const Ipp16u*>(RowOf(src, srcStep, y)),
                                RowOf(dst, dstStep, y), size.width);
  });
  return ippStsNoErr;
}

template <class From, class To>
IppStatus Repack(const Ipp16u* src, int srcStep, Ipp16u* dst, int dstStep, IppiSize size) {
  if (IppStatus status = CheckPackedArguments(src, srcStep, true, dst, dstStep, true, size);
      status != ippStsNoErr)
    return status;
  ForEachRow(size, [&](int y) {
    RepackRow<From, To>(reinterpret_cast<const Ipp16u*>(RowOf(src, srcStep, y)),
                        reinterpret_cast<Ipp16u*>(RowOf(dst, dstStep, y)), size.width);
  });
  return ippStsNoErr;
}

}  // namespace

IppStatus ippiYUV422ToRGB_8u_C2C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize) {
  if (IppStatus status = CheckImagesAndSize({pSrc, pDst}, roiSize); status != ippStsNoErr)
    return status;
  ForEachRow(roiSize, [&](int y) {
    YuvToRgbRow(RowOf(pSrc, srcStep, y), RowOf(pDst, dstStep, y), 0, roiSize.width);
  });
  return ippStsNoErr;
}

IppStatus ippiRGBToYUV422_8u_C3C2R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize) {
  if (IppStatus status = CheckImagesAndSize({pSrc, pDst}, roiSize); status != ippStsNoErr)
    return status;
  ForEachRow(roiSize, [&](int y) {
    RgbToYuvRow(RowOf(pSrc, srcStep, y), RowOf(pDst, dstStep, y), 0, roiSize.width);
  });
  return ippStsNoErr;
}

IppStatus ippiColorToGray_8u_C3C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize, const Ipp32f* coeffs) {
  return Gray(pSrc, srcStep, pDst, dstStep, roiSize, coeffs, 3);
}

IppStatus ippiColorToGray_8u_AC4C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                    IppiSize roiSize, const Ipp32f* coeffs) {
  return Gray(pSrc, srcStep, pDst, dstStep, roiSize, coeffs, 4);
}

IppStatus ippiSwapChannels_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                  IppiSize roiSize, const int* dstOrder) {
  return Swap(pSrc, srcStep, pDst, dstStep, roiSize, dstOrder, 3);
}

IppStatus ippiSwapChannels_8u_AC4R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize, const int* dstOrder) {
  return Swap(pSrc, srcStep, pDst, dstStep, roiSize, dstOrder, 4);
}

IppStatus ippiSwapChannels_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                                   const int* dstOrder) {
  return Swap(pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, dstOrder, 3);
}

IppStatus ippiColorTwist32f_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize, const Ipp32f (*twist)[4]) {
  return Twist(pSrc, srcStep, pDst, dstStep, roiSize, twist, 3);
}

IppStatus ippiColorTwist32f_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                                    const Ipp32f (*twist)[4]) {
  return Twist(pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, twist, 3);
}

IppStatus ippiColorTwist32f_8u_AC4IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                                     const Ipp32f (*twist)[4]) {
  return Twist(pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, twist, 4);
}

IppStatus ippiAlphaCompC_8u_C1R(const Ipp8u* pSrc1, int src1Step, Ipp8u alpha1, const Ipp8u* pSrc2,
                                int src2Step, Ipp8u alpha2, Ipp8u* pDst, int dstStep,
                                IppiSize roiSize, IppiAlphaType alphaType) {
  return CompositeConst(pSrc1, src1Step, alpha1, pSrc2, src2Step, alpha2, pDst, dstStep, roiSize,
                        alphaType, 1);
}

IppStatus ippiAlphaCompC_8u_C3R(const Ipp8u* pSrc1, int src1Step, Ipp8u alpha1, const Ipp8u* pSrc2,
                                int src2Step, Ipp8u alpha2, Ipp8u* pDst, int dstStep,
                                IppiSize roiSize, IppiAlphaType alphaType) {
  return CompositeConst(pSrc1, src1Step, alpha1, pSrc2, src2Step, alpha2, pDst, dstStep, roiSize,
                        alphaType, 3);
}

IppStatus ippiAlphaCompC_8u_C4R(const Ipp8u* pSrc1, int src1Step, Ipp8u alpha1, const Ipp8u* pSrc2,
                                int src2Step, Ipp8u alpha2, Ipp8u* pDst, int dstStep,
                                IppiSize roiSize, IppiAlphaType alphaType) {
  return CompositeConst(pSrc1, src1Step, alpha1, pSrc2, src2Step, alpha2, pDst, dstStep, roiSize,
                        alphaType, 4);
}

IppStatus ippiAlphaComp_8u_AC4R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step,
                                Ipp8u* pDst, int dstStep, IppiSize roiSize,
                                IppiAlphaType alphaType) {
  if (IppStatus status = CheckCompositeArguments({pSrc1, pSrc2, pDst}, roiSize, alphaType);
      status != ippStsNoErr)
    return status;
  ForEachRow(roiSize, [&](int y) {
    CompositePixelRow(RowOf(pSrc1, src1Step, y), RowOf(pSrc2, src2Step, y), RowOf(pDst, dstStep, y),
                      roiSize.width, alphaType);
  });
  return ippStsNoErr;
}

IppStatus ippiRGB_8u_C3RToRGB565(const Ipp8u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                 IppiSize roiSize) {
  return Pack<Rgb565, 3>(pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB_8u_C3RToRGB555(const Ipp8u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                 IppiSize roiSize) {
  return Pack<Rgb555, 3>(pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGBA_8u_AC4RToRGB565(const Ipp8u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                   IppiSize roiSize) {
  return Pack<Rgb565, 4>(pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGBA_8u_AC4RToRGB555(const Ipp8u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                   IppiSize roiSize) {
  return Pack<Rgb555, 4>(pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB565ToRGB_8u_C3R(const Ipp16u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                 IppiSize roiSize) {
  return Unpack<Rgb565, 3>(pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB555ToRGB_8u_C3R(const Ipp16u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                 IppiSize roiSize) {
  return Unpack<Rgb555, 3>(pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB565ToRGBA_8u_AC4R(const Ipp16u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize) {
  return Unpack<Rgb565, 4>(pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB555ToRGBA_8u_AC4R(const Ipp16u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize) {
  return Unpack<Rgb555, 4>(pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB555ToRGB565(const Ipp16u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                             IppiSize roiSize) {
  return Repack<Rgb555, Rgb565>(pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB565ToRGB555(const Ipp16u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                             IppiSize roiSize) {
  return Repack<Rgb565, Rgb555>(pSrc, srcStep, pDst, dstStep, roiSize);
}

}  // namespace qx::fallback::reference
