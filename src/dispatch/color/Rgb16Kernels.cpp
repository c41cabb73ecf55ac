// SIMD kernels of the 16-bit RGB conversions (RGB565 and RGB555 words to and
// from 3- and 4-byte pixels, and between the two layouts).
//
// Packing and unpacking work on the low and high byte of each word as two
// byte vectors, so a vector of pixels needs only byte shifts and masks.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/color/Rgb16Kernels.cpp"
// clang-format off
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
// clang-format on

#include "dispatch/color/ColorChecks.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/color/ColorPixels.h"
#include "dispatch/color/ColorRuns.h"
#include "dispatch/color/SimdHelpers.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if QX_COLOR_VECTORS

using D8 = hn::ScalableTag<uint8_t>;
using V8 = hn::Vec<D8>;
using D16 = hn::ScalableTag<uint16_t>;
using V16 = hn::Vec<D16>;

HWY_INLINE V8 Bits(uint8_t mask) { return hn::Set(D8(), mask); }

// Vector forms of the layouts in ColorPixels.h: blue, green, red bytes to the low and
// high byte of each word, and back.
struct Rgb565Vectors {
  using Scalar = detail::Rgb565;
  static void Pack(V8 b, V8 g, V8 r, V8& low, V8& high) {
    low = hn::Or(hn::And(hn::ShiftLeft<3>(g), Bits(0xE0)), hn::ShiftRight<3>(b));
    high = hn::Or(hn::And(r, Bits(0xF8)), hn::ShiftRight<5>(g));
  }
  static void Unpack(V8 low, V8 high, V8& b, V8& g, V8& r) {
    b = hn::ShiftLeft<3>(low);
    g = hn::Or(hn::ShiftLeft<5>(high), hn::And(hn::ShiftRight<3>(low), Bits(0x1C)));
    r = hn::And(high, Bits(0xF8));
  }
};

struct Rgb555Vectors {
  using Scalar = detail::Rgb555;
  static void Pack(V8 b, V8 g, V8 r, V8& low, V8& high) {
    low = hn::Or(hn::And(hn::ShiftLeft<2>(g), Bits(0xE0)), hn::ShiftRight<3>(b));
    high = hn::Or(hn::And(hn::ShiftRight<1>(r), Bits(0x7C)), hn::ShiftRight<6>(g));
  }
  static void Unpack(V8 low, V8 high, V8& b, V8& g, V8& r) {
    b = hn::ShiftLeft<3>(low);
    g = hn::Or(hn::ShiftLeft<6>(high), hn::And(hn::ShiftRight<2>(low), Bits(0x38)));
    r = hn::And(hn::ShiftLeft<1>(high), Bits(0xF8));
  }
};

template <class Layout, int Channels>
std::ptrdiff_t PackVectors(const Ipp8u* src, Ipp16u* dst, std::ptrdiff_t width) {
  const D8 d8;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  uint8_t* out = reinterpret_cast<uint8_t*>(dst);
  std::ptrdiff_t x = 0;
  for (; x + lanes <= width; x += lanes) {
    V8 b, g, r, a, low, high;
    if constexpr (Channels == 3) {
      hn::LoadInterleaved3(d8, src + 3 * x, b, g, r);
    } else {
      hn::LoadInterleaved4(d8, src + 4 * x, b, g, r, a);
    }
    Layout::Pack(b, g, r, low, high);
    hn::StoreInterleaved2(low, high, d8, out + 2 * x);
  }
  return x;
}

template <class Layout, int Channels>
std::ptrdiff_t UnpackVectors(const Ipp16u* src, Ipp8u* dst, std::ptrdiff_t width) {
  const D8 d8;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  const uint8_t* in = reinterpret_cast<const uint8_t*>(src);
  std::ptrdiff_t x = 0;
  for (; x + lanes <= width; x += lanes) {
    V8 low, high, b, g, r;
    hn::LoadInterleaved2(d8, in + 2 * x, low, high);
    Layout::Unpack(low, high, b, g, r);
    if constexpr (Channels == 3) {
      hn::StoreInterleaved3(b, g, r, d8, dst + 3 * x);
    } else {
      hn::StoreInterleaved4(b, g, r, Bits(255), d8, dst + 4 * x);
    }
  }
  return x;
}

// 565 to 555: red down one bit, green's lowest bit dropped; 555 to 565: the reverse,
// with green's new lowest bit 0 and the unused bit 15 shifted out.
template <bool kTo565>
std::ptrdiff_t RepackVectors(const Ipp16u* src, Ipp16u* dst, std::ptrdiff_t width) {
  const D16 d16;
  const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d16));
  const V16 blue = hn::Set(d16, 0x001F);
  std::ptrdiff_t x = 0;
  for (; x + lanes <= width; x += lanes) {
    const V16 word = hn::LoadU(d16, src + x);
    const V16 upper = kTo565 ? hn::And(hn::ShiftLeft<1>(word), hn::Set(d16, 0xFFC0))
                             : hn::And(hn::ShiftRight<1>(word), hn::Set(d16, 0x7FE0));
    hn::StoreU(hn::Or(upper, hn::And(word, blue)), d16, dst + x);
  }
  return x;
}

#endif  // QX_COLOR_VECTORS

// --- Whole images ---------------------------------------------------------------------

template <class Layout, int Channels>
void PackImage(const Ipp8u* src, int srcStep, Ipp16u* dst, int dstStep, IppiSize size) {
  detail::ForEachRun(
      size,
      {{srcStep, Channels * std::ptrdiff_t{size.width}}, {dstStep, 2 * std::ptrdiff_t{size.width}}},
      [&](int y, std::ptrdiff_t width) {
        const Ipp8u* in = detail::RowOf(src, srcStep, y);
        Ipp16u* out = reinterpret_cast<Ipp16u*>(detail::RowOf(dst, dstStep, y));
        std::ptrdiff_t x = 0;
#if QX_COLOR_VECTORS
        x = PackVectors<Layout, Channels>(in, out, width);
#endif
        detail::PackRow<typename Layout::Scalar, Channels>(in + Channels * x, out + x, width - x);
      });
}

template <class Layout, int Channels>
void UnpackImage(const Ipp16u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size) {
  detail::ForEachRun(
      size,
      {{srcStep, 2 * std::ptrdiff_t{size.width}}, {dstStep, Channels * std::ptrdiff_t{size.width}}},
      [&](int y, std::ptrdiff_t width) {
        const Ipp16u* in = reinterpret_cast<const Ipp16u*>(detail::RowOf(src, srcStep, y));
        Ipp8u* out = detail::RowOf(dst, dstStep, y);
        std::ptrdiff_t x = 0;
#if QX_COLOR_VECTORS
        x = UnpackVectors<Layout, Channels>(in, out, width);
#endif
        detail::UnpackRow<typename Layout::Scalar, Channels>(in + x, out + Channels * x, width - x);
      });
}

template <bool kTo565>
void RepackImage(const Ipp16u* src, int srcStep, Ipp16u* dst, int dstStep, IppiSize size) {
  const std::ptrdiff_t rowBytes = 2 * std::ptrdiff_t{size.width};
  detail::ForEachRun(
      size, {{srcStep, rowBytes}, {dstStep, rowBytes}}, [&](int y, std::ptrdiff_t width) {
        const Ipp16u* in = reinterpret_cast<const Ipp16u*>(detail::RowOf(src, srcStep, y));
        Ipp16u* out = reinterpret_cast<Ipp16u*>(detail::RowOf(dst, dstStep, y));
        std::ptrdiff_t x = 0;
#if QX_COLOR_VECTORS
        x = RepackVectors<kTo565>(in, out, width);
#endif
        if constexpr (kTo565) {
          detail::RepackRow<detail::Rgb555, detail::Rgb565>(in + x, out + x, width - x);
        } else {
          detail::RepackRow<detail::Rgb565, detail::Rgb555>(in + x, out + x, width - x);
        }
      });
}

#if QX_COLOR_VECTORS
using Layout565 = Rgb565Vectors;
using Layout555 = Rgb555Vectors;
#else
// The scalar target has no vector layouts; the scalar ones stand in (only their
// Scalar member is used there).
struct Layout565 {
  using Scalar = detail::Rgb565;
};
struct Layout555 {
  using Scalar = detail::Rgb555;
};
#endif

void PackRgb565(const Ipp8u* src, int srcStep, Ipp16u* dst, int dstStep, IppiSize size) {
  PackImage<Layout565, 3>(src, srcStep, dst, dstStep, size);
}
void PackRgb555(const Ipp8u* src, int srcStep, Ipp16u* dst, int dstStep, IppiSize size) {
  PackImage<Layout555, 3>(src, srcStep, dst, dstStep, size);
}
void PackRgba565(const Ipp8u* src, int srcStep, Ipp16u* dst, int dstStep, IppiSize size) {
  PackImage<Layout565, 4>(src, srcStep, dst, dstStep, size);
}
void PackRgba555(const Ipp8u* src, int srcStep, Ipp16u* dst, int dstStep, IppiSize size) {
  PackImage<Layout555, 4>(src, srcStep, dst, dstStep, size);
}
void UnpackRgb565(const Ipp16u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size) {
  UnpackImage<Layout565, 3>(src, srcStep, dst, dstStep, size);
}
void UnpackRgb555(const Ipp16u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size) {
  UnpackImage<Layout555, 3>(src, srcStep, dst, dstStep, size);
}
void UnpackRgba565(const Ipp16u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size) {
  UnpackImage<Layout565, 4>(src, srcStep, dst, dstStep, size);
}
void UnpackRgba555(const Ipp16u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size) {
  UnpackImage<Layout555, 4>(src, srcStep, dst, dstStep, size);
}
void Repack555To565(const Ipp16u* src, int srcStep, Ipp16u* dst, int dstStep, IppiSize size) {
  RepackImage<true>(src, srcStep, dst, dstStep, size);
}
void Repack565To555(const Ipp16u* src, int srcStep, Ipp16u* dst, int dstStep, IppiSize size) {
  RepackImage<false>(src, srcStep, dst, dstStep, size);
}

}  // namespace qx::fallback::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace qx::fallback {

HWY_EXPORT(PackRgb565);
HWY_EXPORT(PackRgb555);
HWY_EXPORT(PackRgba565);
HWY_EXPORT(PackRgba555);
HWY_EXPORT(UnpackRgb565);
HWY_EXPORT(UnpackRgb555);
HWY_EXPORT(UnpackRgba565);
HWY_EXPORT(UnpackRgba555);
HWY_EXPORT(Repack555To565);
HWY_EXPORT(Repack565To555);

namespace {

// Checks the arguments, then runs `image` (the dispatched kernel for the CPU).
template <class Image, class Src, class Dst>
IppStatus Convert(Image image, const Src* src, int srcStep, Dst* dst, int dstStep, IppiSize size) {
  if (IppStatus status = detail::CheckPackedArguments(src, srcStep, sizeof(Src) == 2, dst, dstStep,
                                                      sizeof(Dst) == 2, size);
      status != ippStsNoErr)
    return status;
  image(src, srcStep, dst, dstStep, size);
  return ippStsNoErr;
}

}  // namespace

IppStatus ippiRGB_8u_C3RToRGB565(const Ipp8u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                 IppiSize roiSize) {
  return Convert(HWY_DYNAMIC_DISPATCH(PackRgb565), pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB_8u_C3RToRGB555(const Ipp8u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                 IppiSize roiSize) {
  return Convert(HWY_DYNAMIC_DISPATCH(PackRgb555), pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGBA_8u_AC4RToRGB565(const Ipp8u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                   IppiSize roiSize) {
  return Convert(HWY_DYNAMIC_DISPATCH(PackRgba565), pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGBA_8u_AC4RToRGB555(const Ipp8u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                                   IppiSize roiSize) {
  return Convert(HWY_DYNAMIC_DISPATCH(PackRgba555), pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB565ToRGB_8u_C3R(const Ipp16u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                 IppiSize roiSize) {
  return Convert(HWY_DYNAMIC_DISPATCH(UnpackRgb565), pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB555ToRGB_8u_C3R(const Ipp16u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                 IppiSize roiSize) {
  return Convert(HWY_DYNAMIC_DISPATCH(UnpackRgb555), pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB565ToRGBA_8u_AC4R(const Ipp16u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize) {
  return Convert(HWY_DYNAMIC_DISPATCH(UnpackRgba565), pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB555ToRGBA_8u_AC4R(const Ipp16u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                   IppiSize roiSize) {
  return Convert(HWY_DYNAMIC_DISPATCH(UnpackRgba555), pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB555ToRGB565(const Ipp16u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                             IppiSize roiSize) {
  return Convert(HWY_DYNAMIC_DISPATCH(Repack555To565), pSrc, srcStep, pDst, dstStep, roiSize);
}
IppStatus ippiRGB565ToRGB555(const Ipp16u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                             IppiSize roiSize) {
  return Convert(HWY_DYNAMIC_DISPATCH(Repack565To555), pSrc, srcStep, pDst, dstStep, roiSize);
}

}  // namespace qx::fallback
#endif  // HWY_ONCE
