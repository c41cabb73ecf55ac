// Per-target helper of the filter kernels: runs a vector body over a row in
// full vectors, then over the remaining elements one lane at a time with the
// very same body, so the tail computes exactly what the vectors do and never
// touches memory past the row.
//
// Included from Highway per-target code (after hwy/highway.h), once per target.
#if defined(QX_DISPATCH_FILTER_BLOCK_LOOP_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef QX_DISPATCH_FILTER_BLOCK_LOOP_INL_H_
#undef QX_DISPATCH_FILTER_BLOCK_LOOP_INL_H_
#else
#define QX_DISPATCH_FILTER_BLOCK_LOOP_INL_H_
#endif

#include <cstddef>

#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {

// Calls body(tag, i) for i = 0, Lanes(d), 2 * Lanes(d), ... while a full vector
// fits in `count`, then body(oneLaneTag, i) for each remaining element.
template <class D, class Body>
HWY_INLINE void ForEachBlock(D d, std::size_t count, const Body& body) {
  namespace hn = hwy::HWY_NAMESPACE;
  const std::size_t lanes = hn::Lanes(d);
  std::size_t i = 0;
  for (; i + lanes <= count; i += lanes) body(d, i);
  const hn::CappedTag<hn::TFromD<D>, 1> oneLane;
  for (; i < count; ++i) body(oneLane, i);
}

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif  // QX_DISPATCH_FILTER_BLOCK_LOOP_INL_H_
