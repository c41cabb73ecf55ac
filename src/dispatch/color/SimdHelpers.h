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

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "hwy/cache_control.h"
#include "hwy/highway.h"

#define QX_COLOR_VECTORS (HWY_TARGET != HWY_SCALAR)

#if QX_COLOR_VECTORS
HWY_BEFORE_NAMESPACE();
namespace qx::fallback::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Asks for the cache lines of the `kBytes` from `p` on, some way ahead of where a loop reads
// or writes now. Conversions that read main memory otherwise ran at about half of memcpy's
// rate there: their arithmetic between loads leaves the hardware prefetcher behind. The
// YUV conversions, and gray where it stores whole vectors, ask for their destination's
// lines too, which saves them 5-20% from memory (each store no longer waits for its
// line); the lighter 16-bit conversions lose as much when they prefetch either side, and
// gray's loop of quarter-vector stores loses in cache, so each loop states what it asks
// for. A prefetch never faults, so the lines may lie past the end of the image.
template <size_t kBytes>
HWY_INLINE void PrefetchAhead(const void* p) {
  constexpr uintptr_t kAhead = 2048;
  for (uintptr_t offset = 0; offset < kBytes; offset += 64)
    hwy::Prefetch(
        reinterpret_cast<const uint8_t*>(reinterpret_cast<uintptr_t>(p) + kAhead + offset));
}

// `sum` plus the carry out of the 16-bit unsigned addition a + b: the carry of the low
// halves when 32-bit products are summed from their 16-bit halves.
template <class D16>
HWY_INLINE hn::Vec<D16> AddCarry(D16 d16, hn::Vec<D16> sum, hn::Vec<D16> a, hn::Vec<D16> b) {
  const hn::RebindToUnsigned<D16> du;
  const auto ua = hn::BitCast(du, a);
  const auto ub = hn::BitCast(du, b);
#if HWY_ARCH_X86 && HWY_TARGET <= HWY_AVX3
  // With mask registers: the sum wraps where it is below a; add one there.
  const auto wraps = hn::RebindMask(d16, hn::Lt(hn::Add(ua, ub), ua));
  return hn::IfThenElse(wraps, hn::Add(sum, hn::Set(d16, 1)), sum);
#else
  // With vector masks: the lanes where a saturating sum differs are all ones (minus one).
  const auto wraps = hn::Ne(hn::SaturatedAdd(ua, ub), hn::Add(ua, ub));
  return hn::Sub(sum, hn::BitCast(d16, hn::VecFromMask(du, wraps)));
#endif
}

// Packs 32-bit words that each hold a pixel's three bytes and a spare one into
// three-byte pixels filling the first three quarters of a vector: per 16-byte block a
// byte shuffle drops the spare bytes, then a 32-bit lane permutation closes the gap
// each block leaves.
template <class D8>
class ThreeBytePixels {
 public:
  using DU32 = hn::Repartition<uint32_t, D8>;

  explicit ThreeBytePixels(D8 d8) : dropSpare_(hn::LoadDup128(d8, kDropSpare)) {
    const DU32 du32;
    HWY_ALIGN uint32_t words[hn::MaxLanes(du32)] = {};
    for (size_t i = 0; i < hn::Lanes(du32) / 4 * 3; ++i)
      words[i] = static_cast<uint32_t>(i / 3 * 4 + i % 3);
    closeGaps_ = hn::SetTableIndices(du32, words);
  }

  hn::Vec<D8> operator()(hn::Vec<DU32> words) const {
    const D8 d8;
    const DU32 du32;
    const auto squeezed = hn::TableLookupBytesOr0(hn::BitCast(d8, words), dropSpare_);
    return hn::BitCast(d8, hn::TableLookupLanes(hn::BitCast(du32, squeezed), closeGaps_));
  }

  // Stores `count` packed vectors one after another from `out`, where `room` bytes may be
  // written. Each store's spare quarter is overwritten by the next; the last vector goes
  // through a buffer when its spare quarter would pass the room.
  void Store(const hn::Vec<D8>* packed, size_t count, uint8_t* out, std::ptrdiff_t room) const {
    const D8 d8;
    const size_t bytes = hn::Lanes(d8) / 4 * 3;
    for (size_t i = 0; i + 1 < count; ++i) hn::StoreU(packed[i], d8, out + i * bytes);
    uint8_t* last = out + (count - 1) * bytes;
    if (static_cast<std::ptrdiff_t>((count - 1) * bytes + hn::Lanes(d8)) <= room) {
      hn::StoreU(packed[count - 1], d8, last);
    } else {
      HWY_ALIGN uint8_t buffer[hn::MaxLanes(d8)];
      hn::Store(packed[count - 1], d8, buffer);
      std::memcpy(last, buffer, bytes);
    }
  }

 private:
  static constexpr uint8_t kZ = 0x80;
  alignas(16) static constexpr uint8_t kDropSpare[16] = {0,  1,  2,  4,  5,  6,  8,  9,
                                                         10, 12, 13, 14, kZ, kZ, kZ, kZ};
  hn::Vec<D8> dropSpare_;
  decltype(hn::SetTableIndices(DU32(), static_cast<const uint32_t*>(nullptr))) closeGaps_;
};

}  // namespace qx::fallback::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();
#endif  // QX_COLOR_VECTORS

#endif  // per-target guard
