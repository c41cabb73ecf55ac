// Vector helpers shared by the colour kernels' SIMD code, compiled once per
// instruction set (a per-target guard, as Highway requires of headers that
// foreach_target translation units include after hwy/highway.h).
//
// QX_COLOR_VECTORS is false for Highway's one-lane scalar target (CPUs
// without SSE4): there the kernels leave every pixel to their scalar rows.
#if defined(QX_COLOR_SIMD_HELPERS_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef QX_COLOR_SIMD_HELPERS_H_
#undef QX_COLOR_SIMD_HELPERS_H_
#else
#define QX_COLOR_SIMD_HELPERS_H_
#endif

#include "hwy/highway.h"

#define QX_COLOR_VECTORS (HWY_TARGET != HWY_SCALAR)

#if QX_COLOR_VECTORS
HWY_BEFORE_NAMESPACE();
namespace qx::fallback::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// All ones in the lanes where the 16-bit unsigned sum a + b wraps, zero elsewhere:
// subtracting it adds the carry out of the low half of a 32-bit sum.
template <class D16>
HWY_INLINE hn::Vec<D16> CarryMask(D16 d16, hn::Vec<D16> a, hn::Vec<D16> b) {
  const hn::RebindToUnsigned<D16> du;
  const auto ua = hn::BitCast(du, a);
  const auto ub = hn::BitCast(du, b);
  return hn::BitCast(d16, hn::VecFromMask(du, hn::Ne(hn::SaturatedAdd(ua, ub), hn::Add(ua, ub))));
}

// Two 16-bit vectors narrowed with saturation to 0..255 into one byte vector, in order.
template <class D8, class V16>
HWY_INLINE hn::Vec<D8> NarrowToBytes(D8 d8, V16 lower, V16 upper) {
  const hn::Half<D8> dh8;
  return hn::Combine(d8, hn::DemoteTo(dh8, upper), hn::DemoteTo(dh8, lower));
}

}  // namespace qx::fallback::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();
#endif  // QX_COLOR_VECTORS

#endif  // per-target guard
