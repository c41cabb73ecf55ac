// Copies that move bytes between pixels of different sizes: a plane into one
// channel (C1C3R, C1C4R), one channel into a plane (C3C1R, C4C1R), colour
// bytes into or out of 4-byte pixels (C3AC4R, AC4C3R) and three planes into
// 3-byte pixels (P3C3R). Vectors cover the pixels whose every byte lies in
// the region; the rest, at most a vector's worth per row, are copied one by
// one.
#include <cstddef>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/arith/ChannelCopy.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// The lines above compile this file once per instruction set.
#include "dispatch/arith/PixelRows.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Runs vectors(src, dst, x) for groups of `lanes` pixels starting at pixel x
// while the group's last byte, `span(lanes)` bytes on, stays in the row, and
// one(src, dst, x) for each pixel after that.
template <class Vectors, class One>
HWY_INLINE void WalkPixels(const PixelRows& rows, std::size_t lanes, std::size_t reach,
                           const Vectors& vectors, const One& one) {
  for (std::size_t y = 0; y < rows.rows; ++y) {
    const Ipp8u* src = rows.src.Row(y);
    Ipp8u* dst = rows.dst.Row(y);
    std::size_t x = 0;
    // Pixels x .. x + lanes - 1 are safe when x + lanes + reach <= width.
    for (; x + lanes + reach <= rows.width; x += lanes) vectors(src, dst, x);
    for (; x < rows.width; ++x) one(src, dst, x);
  }
}

// A plane into channel 0 of the 4-byte pixels at `dst`: bytes widened to
// 32-bit lanes and merged under a mask, the other channels kept. (Highway's
// one-lane scalar target copies pixel by pixel.)
void PlaneToChannelOf4(const PixelRows& rows) {
  const auto one = [](const Ipp8u* src, Ipp8u* dst, std::size_t x) { dst[4 * x] = src[x]; };
#if HWY_TARGET == HWY_SCALAR
  WalkPixels(rows, 1, 0, one, one);
#else
  const hn::ScalableTag<uint32_t> d32;
  const hn::Rebind<uint8_t, decltype(d32)> dPlane;
  const hn::Repartition<uint8_t, decltype(d32)> d8;
  const auto channel = hn::MaskFromVec(hn::BitCast(d8, hn::Set(d32, 0xFF)));
  // The last pixel's window would reach 3 bytes past the channel.
  WalkPixels(
      rows, hn::Lanes(d32), 1,
      [&](const Ipp8u* src, Ipp8u* dst, std::size_t x) {
        const auto bytes = hn::BitCast(d8, hn::PromoteTo(d32, hn::LoadU(dPlane, src + x)));
        Ipp8u* out = dst + 4 * x;
        hn::StoreU(hn::IfThenElse(channel, bytes, hn::LoadU(d8, out)), d8, out);
      },
      one);
#endif
}

void ChannelOf4ToPlane(const PixelRows& rows) {
  const auto one = [](const Ipp8u* src, Ipp8u* dst, std::size_t x) { dst[x] = src[4 * x]; };
#if HWY_TARGET == HWY_SCALAR
  WalkPixels(rows, 1, 0, one, one);
#else
  const hn::ScalableTag<uint32_t> d32;
  const hn::Rebind<uint8_t, decltype(d32)> dPlane;
  const hn::Repartition<uint8_t, decltype(d32)> d8;
  WalkPixels(
      rows, hn::Lanes(d32), 1,
      [&](const Ipp8u* src, Ipp8u* dst, std::size_t x) {
        const auto pixels = hn::BitCast(d32, hn::LoadU(d8, src + 4 * x));
        hn::StoreU(hn::TruncateTo(dPlane, pixels), dPlane, dst + x);
      },
      one);
#endif
}

void PlaneToChannelOf3(const PixelRows& rows) {
  const hn::ScalableTag<uint8_t> d;
  WalkPixels(
      rows, hn::Lanes(d), 1,
      [&](const Ipp8u* src, Ipp8u* dst, std::size_t x) {
        hn::Vec<decltype(d)> c0, c1, c2;
        hn::LoadInterleaved3(d, dst + 3 * x, c0, c1, c2);
        hn::StoreInterleaved3(hn::LoadU(d, src + x), c1, c2, d, dst + 3 * x);
      },
      [](const Ipp8u* src, Ipp8u* dst, std::size_t x) { dst[3 * x] = src[x]; });
}

void ChannelOf3ToPlane(const PixelRows& rows) {
  const hn::ScalableTag<uint8_t> d;
  WalkPixels(
      rows, hn::Lanes(d), 1,
      [&](const Ipp8u* src, Ipp8u* dst, std::size_t x) {
        hn::Vec<decltype(d)> c0, c1, c2;
        hn::LoadInterleaved3(d, src + 3 * x, c0, c1, c2);
        hn::StoreU(c0, d, dst + x);
      },
      [](const Ipp8u* src, Ipp8u* dst, std::size_t x) { dst[x] = src[3 * x]; });
}

void ColourToAC4(const PixelRows& rows) {
  const hn::ScalableTag<uint8_t> d;
  WalkPixels(
      rows, hn::Lanes(d), 0,
      [&](const Ipp8u* src, Ipp8u* dst, std::size_t x) {
        hn::Vec<decltype(d)> c0, c1, c2, alpha;
        hn::LoadInterleaved3(d, src + 3 * x, c0, c1, c2);
        hn::LoadInterleaved4(d, dst + 4 * x, alpha, alpha, alpha, alpha);
        hn::StoreInterleaved4(c0, c1, c2, alpha, d, dst + 4 * x);
      },
      [](const Ipp8u* src, Ipp8u* dst, std::size_t x) {
        for (int c = 0; c < 3; ++c) dst[4 * x + c] = src[3 * x + c];
      });
}

void AC4ToColour(const PixelRows& rows) {
  const hn::ScalableTag<uint8_t> d;
  WalkPixels(
      rows, hn::Lanes(d), 0,
      [&](const Ipp8u* src, Ipp8u* dst, std::size_t x) {
        hn::Vec<decltype(d)> c0, c1, c2, alpha;
        hn::LoadInterleaved4(d, src + 4 * x, c0, c1, c2, alpha);
        hn::StoreInterleaved3(c0, c1, c2, d, dst + 3 * x);
      },
      [](const Ipp8u* src, Ipp8u* dst, std::size_t x) {
        for (int c = 0; c < 3; ++c) dst[3 * x + c] = src[4 * x + c];
      });
}

// Three planes (sharing the source step) into 3-byte pixels; `rows.src`
// walks plane 0.
void PlanesToPixels(const PixelRows& rows, const Ipp8u* plane1, const Ipp8u* plane2) {
  const hn::ScalableTag<uint8_t> d;
  const std::size_t lanes = hn::Lanes(d);
  const Rows<const Ipp8u> rows1{plane1, rows.src.step};
  const Rows<const Ipp8u> rows2{plane2, rows.src.step};
  for (std::size_t y = 0; y < rows.rows; ++y) {
    const Ipp8u* p0 = rows.src.Row(y);
    const Ipp8u* p1 = rows1.Row(y);
    const Ipp8u* p2 = rows2.Row(y);
    Ipp8u* dst = rows.dst.Row(y);
    std::size_t x = 0;
    for (; x + lanes <= rows.width; x += lanes)
      hn::StoreInterleaved3(hn::LoadU(d, p0 + x), hn::LoadU(d, p1 + x), hn::LoadU(d, p2 + x), d,
                            dst + 3 * x);
    for (; x < rows.width; ++x) {
      dst[3 * x] = p0[x];
      dst[3 * x + 1] = p1[x];
      dst[3 * x + 2] = p2[x];
    }
  }
}

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "dispatch/arith/ArithChecks.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/arith/KernelDefinition.h"

namespace qx::fallback {
namespace detail {

HWY_EXPORT(PlaneToChannelOf4);
HWY_EXPORT(ChannelOf4ToPlane);
HWY_EXPORT(PlaneToChannelOf3);
HWY_EXPORT(ChannelOf3ToPlane);
HWY_EXPORT(ColourToAC4);
HWY_EXPORT(AC4ToColour);
HWY_EXPORT(PlanesToPixels);

namespace {

using Kernel = void (*)(const PixelRows&);

Kernel PlaneTo4() { return HWY_DYNAMIC_DISPATCH(PlaneToChannelOf4); }
Kernel From4ToPlane() { return HWY_DYNAMIC_DISPATCH(ChannelOf4ToPlane); }
Kernel PlaneTo3() { return HWY_DYNAMIC_DISPATCH(PlaneToChannelOf3); }
Kernel From3ToPlane() { return HWY_DYNAMIC_DISPATCH(ChannelOf3ToPlane); }
Kernel ThreeToFour() { return HWY_DYNAMIC_DISPATCH(ColourToAC4); }
Kernel FourToThree() { return HWY_DYNAMIC_DISPATCH(AC4ToColour); }

template <Kernel (*Select)()>
IppStatus Reshape(int srcBytes, int dstBytes, const Ipp8u* src, int srcStep, Ipp8u* dst,
                  int dstStep, IppiSize size) {
  if (IppStatus status = CheckNullSize({src, dst}, size); status != ippStsNoErr) return status;
  Select()(PixelRows(src, srcStep, srcBytes, dst, dstStep, dstBytes, size));
  return ippStsNoErr;
}

}  // namespace
}  // namespace detail

using namespace detail;

QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C1C3R, Reshape<PlaneTo3>, 1, 3)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C1C4R, Reshape<PlaneTo4>, 1, 4)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C3C1R, Reshape<From3ToPlane>, 3, 1)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C4C1R, Reshape<From4ToPlane>, 4, 1)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C3AC4R, Reshape<ThreeToFour>, 3, 4)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_AC4C3R, Reshape<FourToThree>, 4, 3)

IppStatus ippiCopy_8u_P3C3R(const Ipp8u* const pSrc[3], int srcStep, Ipp8u* pDst, int dstStep,
                            IppiSize roiSize) {
  if (pSrc == nullptr) return ippStsNullPtrErr;
  if (IppStatus status = CheckNullSize({pSrc[0], pSrc[1], pSrc[2], pDst}, roiSize);
      status != ippStsNoErr)
    return status;
  HWY_DYNAMIC_DISPATCH(PlanesToPixels)
  (PixelRows(pSrc[0], srcStep, 1, pDst, dstStep, 3, roiSize), pSrc[1], pSrc[2]);
  return ippStsNoErr;
}

}  // namespace qx::fallback
#endif  // HWY_ONCE
