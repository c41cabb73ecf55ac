// Scalar references of the kernels that move bytes without arithmetic: Set,
// Copy in all its channel arrangements, Mirror, Max and SwapBytes.
#include <algorithm>
#include <cstring>
#include <utility>

#include "dispatch/arith/ArithChecks.h"
#include "dispatch/arith/ArithReference.h"
#include "dispatch/arith/KernelDefinition.h"
#include "dispatch/arith/ReferenceLayout.h"

namespace qx::fallback::reference {
namespace {

using namespace fallback::detail;
using namespace reference::detail;

// How a copy or fill moves bytes: `bytes` bytes per pixel, taken every
// `srcStride` bytes and put every `dstStride` bytes.
struct Strides {
  int srcStride;
  int dstStride;
  int bytes;
};

void CopyPixels(Strides strides, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                IppiSize size) {
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width; ++x)
      for (int b = 0; b < strides.bytes; ++b)
        RowOf(dst, dstStep, y)[static_cast<std::ptrdiff_t>(x) * strides.dstStride + b] =
            RowOf(src, srcStep, y)[static_cast<std::ptrdiff_t>(x) * strides.srcStride + b];
}

IppStatus Copy(Strides strides, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
               IppiSize size) {
  if (IppStatus status = CheckNullSize({src, dst}, size); status != ippStsNoErr) return status;
  CopyPixels(strides, src, srcStep, dst, dstStep, size);
  return ippStsNoErr;
}

// Writes the `strides.bytes` bytes of `value` into every pixel.
IppStatus Fill(Strides strides, const void* value, void* dst, int dstStep, IppiSize size) {
  if (IppStatus status = CheckNullSizeStep({value, dst}, size, {dstStep}); status != ippStsNoErr)
    return status;
  // A source image whose every row is the value itself.
  CopyPixels({0, strides.dstStride, strides.bytes}, static_cast<const Ipp8u*>(value), 0,
             static_cast<Ipp8u*>(dst), dstStep, size);
  return ippStsNoErr;
}

IppStatus FillBytes(Strides strides, const Ipp8u* value, Ipp8u* dst, int dstStep, IppiSize size) {
  return Fill(strides, value, dst, dstStep, size);
}

IppStatus FillByte(Strides strides, Ipp8u value, Ipp8u* dst, int dstStep, IppiSize size) {
  return Fill(strides, &value, dst, dstStep, size);
}

constexpr Strides kWhole1{1, 1, 1};
constexpr Strides kWhole3{3, 3, 3};
constexpr Strides kWhole4{4, 4, 4};
constexpr Strides kColour4{4, 4, 3};

// The pixel of the source that lands at (x, y) of the destination.
std::pair<int, int> MirroredPixel(int x, int y, IppiSize size, IppiAxis axis) {
  const bool rows = axis == ippAxsHorizontal || axis == ippAxsBoth;
  const bool columns = axis == ippAxsVertical || axis == ippAxsBoth;
  return {columns ? size.width - 1 - x : x, rows ? size.height - 1 - y : y};
}

IppStatus Mirror(Layout layout, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                 IppiSize size, IppiAxis axis) {
  if (IppStatus status = CheckMirror({src, dst}, size, axis); status != ippStsNoErr) return status;
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width; ++x) {
      const auto [fromX, fromY] = MirroredPixel(x, y, size, axis);
      std::memcpy(
          RowOf(dst, dstStep, y) + static_cast<std::ptrdiff_t>(x) * layout.pixelBytes,
          RowOf(src, srcStep, fromY) + static_cast<std::ptrdiff_t>(fromX) * layout.pixelBytes,
          layout.computedBytes);
    }
  return ippStsNoErr;
}

// In place, pixels trade places with their mirror image: every pixel of the
// first half of the rows (or, mirroring within rows only, of each row's first
// half) is swapped once; with axis 2 the middle row of an odd height is
// mirrored within itself.
IppStatus MirrorInPlace(Layout layout, Ipp8u* image, int step, IppiSize size, IppiAxis axis) {
  if (IppStatus status = CheckMirror({image}, size, axis); status != ippStsNoErr) return status;
  auto swap = [&](int x, int y) {
    const auto [otherX, otherY] = MirroredPixel(x, y, size, axis);
    Ipp8u* a = RowOf(image, step, y) + static_cast<std::ptrdiff_t>(x) * layout.pixelBytes;
    Ipp8u* b = RowOf(image, step, otherY) + static_cast<std::ptrdiff_t>(otherX) * layout.pixelBytes;
    std::swap_ranges(a, a + layout.computedBytes, b);
  };
  if (axis == ippAxsVertical) {
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width / 2; ++x) swap(x, y);
    return ippStsNoErr;
  }
  for (int y = 0; y < size.height / 2; ++y)
    for (int x = 0; x < size.width; ++x) swap(x, y);
  if (axis == ippAxsBoth && size.height % 2 == 1)
    for (int x = 0; x < size.width / 2; ++x) swap(x, size.height / 2);
  return ippStsNoErr;
}

}  // namespace

// --- Set ----------------------------------------------------------------------

QX_DEFINE_BYTE_IN_PLACE(ippiSet_8u_C1R, FillByte, kWhole1)
QX_DEFINE_BYTE_IN_PLACE(ippiSet_8u_C3CR, FillByte, Strides{0, 3, 1})
QX_DEFINE_BYTE_IN_PLACE(ippiSet_8u_C4CR, FillByte, Strides{0, 4, 1})
QX_DEFINE_CONST_IN_PLACE(ippiSet_8u_C3R, FillBytes, kWhole3)
QX_DEFINE_CONST_IN_PLACE(ippiSet_8u_AC4R, FillBytes, kColour4)
QX_DEFINE_CONST_IN_PLACE(ippiSet_8u_C4R, FillBytes, kWhole4)

IppStatus ippiSet_16s_C1R(Ipp16s value, Ipp16s* pDst, int dstStep, IppiSize roiSize) {
  return Fill({0, 2, 2}, &value, pDst, dstStep, roiSize);
}

// --- Copy ---------------------------------------------------------------------

QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C1R, Copy, kWhole1)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C3R, Copy, kWhole3)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C4R, Copy, kWhole4)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_AC4R, Copy, kColour4)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C4CR, Copy, Strides{4, 4, 1})
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C1C3R, Copy, Strides{1, 3, 1})
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C1C4R, Copy, Strides{1, 4, 1})
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C3C1R, Copy, Strides{3, 1, 1})
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C4C1R, Copy, Strides{4, 1, 1})
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C3AC4R, Copy, Strides{3, 4, 3})
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_AC4C3R, Copy, Strides{4, 3, 3})

IppStatus ippiCopy_8u_P3C3R(const Ipp8u* const pSrc[3], int srcStep, Ipp8u* pDst, int dstStep,
                            IppiSize roiSize) {
  if (pSrc == nullptr) return ippStsNullPtrErr;
  if (IppStatus status = CheckNullSize({pSrc[0], pSrc[1], pSrc[2], pDst}, roiSize);
      status != ippStsNoErr)
    return status;
  // Plane c fills byte c of every pixel.
  for (int plane = 0; plane < 3; ++plane)
    CopyPixels({1, 3, 1}, pSrc[plane], srcStep, pDst + plane, dstStep, roiSize);
  return ippStsNoErr;
}

IppStatus ippsCopy_8u(const Ipp8u* pSrc, Ipp8u* pDst, int len) {
  if (IppStatus status = CheckVector({pSrc, pDst}, len); status != ippStsNoErr) return status;
  for (int i = 0; i < len; ++i) pDst[i] = pSrc[i];
  return ippStsNoErr;
}

// --- Mirror -------------------------------------------------------------------

QX_DEFINE_MIRROR(ippiMirror_8u_C1R, Mirror, kC1)
QX_DEFINE_MIRROR(ippiMirror_8u_C3R, Mirror, kC3)
QX_DEFINE_MIRROR(ippiMirror_8u_C4R, Mirror, kC4)
QX_DEFINE_MIRROR(ippiMirror_8u_AC4R, Mirror, kAC4)
QX_DEFINE_MIRROR_IN_PLACE(ippiMirror_8u_C1IR, MirrorInPlace, kC1)
QX_DEFINE_MIRROR_IN_PLACE(ippiMirror_8u_C3IR, MirrorInPlace, kC3)
QX_DEFINE_MIRROR_IN_PLACE(ippiMirror_8u_C4IR, MirrorInPlace, kC4)
QX_DEFINE_MIRROR_IN_PLACE(ippiMirror_8u_AC4IR, MirrorInPlace, kAC4)

IppStatus ippiMirror_16u_C1R(const Ipp16u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                             IppiSize roiSize, IppiAxis flip) {
  // A 16-bit pixel moves as its two bytes.
  return Mirror({2, 2}, reinterpret_cast<const Ipp8u*>(pSrc), srcStep,
                reinterpret_cast<Ipp8u*>(pDst), dstStep, roiSize, flip);
}

// --- Max, SwapBytes -----------------------------------------------------------

IppStatus ippiMax_8u_C1R(const Ipp8u* pSrc, int srcStep, IppiSize roiSize, Ipp8u* pMax) {
  if (IppStatus status = CheckNullSizeStep({pSrc, pMax}, roiSize, {srcStep}); status != ippStsNoErr)
    return status;
  Ipp8u largest = 0;
  for (int y = 0; y < roiSize.height && largest < 255; ++y)
    for (int x = 0; x < roiSize.width; ++x) largest = std::max(largest, RowOf(pSrc, srcStep, y)[x]);
  *pMax = largest;
  return ippStsNoErr;
}

IppStatus ippsSwapBytes_16u(const Ipp16u* pSrc, Ipp16u* pDst, int len) {
  if (IppStatus status = CheckVector({pSrc, pDst}, len); status != ippStsNoErr) return status;
  const auto* src = reinterpret_cast<const Ipp8u*>(pSrc);
  auto* dst = reinterpret_cast<Ipp8u*>(pDst);
  for (int i = 0; i < len; ++i) {
    const Ipp8u low = src[2 * i];
    const Ipp8u high = src[2 * i + 1];
    dst[2 * i] = high;
    dst[2 * i + 1] = low;
  }
  return ippStsNoErr;
}

IppStatus ippsSwapBytes_16u_I(Ipp16u* pSrcDst, int len) {
  return ippsSwapBytes_16u(pSrcDst, pSrcDst, len);
}

}  // namespace qx::fallback::reference
