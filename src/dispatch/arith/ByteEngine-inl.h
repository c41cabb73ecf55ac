// The SIMD row engine of the per-byte kernels, compiled once per instruction
// set (include it after hwy/foreach_target.h, like highway.h; it has no
// include guard of the usual kind for that reason).
//
// A kernel supplies an operation, `V8 op(D8 d, V8 a, V8 b)`, that maps whole
// vectors of bytes; the engine walks a ByteRegion with it: operand `a` comes
// from the first source's rows or from the channel constants laid out with
// the row's phase, `b` from the second source's rows (or is zero), and the
// bytes the region keeps (AC4 alpha, the other channels of a one-channel
// write) keep their destination values. Row ends shorter than a vector go
// through a small buffer, so nothing outside the region is read or written.
// Large results of sources other than the destination are written with
// non-temporal stores, then fenced.
#if defined(QUEXA_DISPATCH_ARITH_BYTE_ENGINE_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef QUEXA_DISPATCH_ARITH_BYTE_ENGINE_INL_H_
#undef QUEXA_DISPATCH_ARITH_BYTE_ENGINE_INL_H_
#else
#define QUEXA_DISPATCH_ARITH_BYTE_ENGINE_INL_H_
#endif

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "dispatch/arith/ByteRegion.h"
#include "hwy/cache_control.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D8 = hn::ScalableTag<uint8_t>;
using V8 = hn::Vec<D8>;
using M8 = hn::Mask<D8>;

// Where operand `a` of a per-byte operation comes from.
enum class OperandA { kRows, kConstants };

namespace engine {

// Vectors per group of the row loop: a group holds a whole number of 3- and
// of 4-byte pixels, so the pattern of constants and alpha bytes repeats from
// one group to the next (Highway's scalar target has one-byte vectors).
constexpr std::size_t kGroupVectors = HWY_TARGET == HWY_SCALAR ? 12 : 3;

// The constants and the kept bytes of a row from its first byte on, long
// enough for a whole vector at any offset within a group: the pattern of
// offset i is the one at i modulo the group's bytes.
struct RowPatterns {
  static constexpr std::size_t kBytes = (kGroupVectors + 1) * HWY_MAX_BYTES;
  HWY_ALIGN uint8_t constants[kBytes];
  HWY_ALIGN uint8_t keep[kBytes];

  RowPatterns(const ByteRegion& region, bool usesConstants) {
    if (usesConstants) Repeat(region.constants, constants);
    if (region.keeps) Repeat(region.keep, keep);
  }

 private:
  static void Repeat(const BytePattern& pattern, uint8_t* bytes) {
    for (std::size_t i = 0, phase = 0; i < kBytes; ++i) {
      bytes[i] = pattern.values[phase];
      if (++phase == static_cast<std::size_t>(pattern.period)) phase = 0;
    }
  }
};

// An operation that declares kOneInKeptBytesOfA gets 1 in the bytes of `a`
// that the destination keeps (division: no zero divisor is seen there).
template <class Op>
constexpr bool kOneInKeptBytesOfA = requires {
  Op::kOneInKeptBytesOfA;
};

template <OperandA kA, bool kReadsB, bool kKeeps, class Op>
class RowWalker {
 public:
  RowWalker(const RowPatterns& patterns, Op& op) : fPatterns(patterns), fOp(op) {}

  template <bool kStream>
  HWY_INLINE void Row(const uint8_t* a, const uint8_t* b, uint8_t* out, std::size_t n) const {
    const D8 d;
    const std::size_t lanes = hn::Lanes(d);
    // A local copy: byte stores may alias anything, so the compiler would
    // otherwise reload the operation's fields after every store.
    Op op = fOp;
    std::size_t i = 0;
    if (kStream) {  // non-temporal stores need aligned vectors
      const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(out) % lanes;
      if (misalignment != 0) {
        i = std::min(n, lanes - misalignment);
        Partial(op, a, b, out, 0, i);
      }
    }
    V8 constants[kGroupVectors];
    M8 keep[kGroupVectors];
    for (std::size_t j = 0; j < kGroupVectors; ++j) {
      constants[j] = Constants(d, i + j * lanes);
      keep[j] = Keep(d, i + j * lanes);
    }
    for (; i + kGroupVectors * lanes <= n; i += kGroupVectors * lanes)
      for (std::size_t j = 0; j < kGroupVectors; ++j)
        Whole<kStream>(d, op, a, b, out, i + j * lanes, constants[j], keep[j]);
    for (std::size_t j = 0; i + lanes <= n; ++j, i += lanes)
      Whole<kStream>(d, op, a, b, out, i, constants[j], keep[j]);
    if (i < n) Partial(op, a, b, out, i, n - i);
    fOp = op;
  }

 private:
  HWY_INLINE V8 Constants(D8 d, std::size_t offset) const {
    if (kA != OperandA::kConstants) return hn::Zero(d);
    return hn::LoadU(d, fPatterns.constants + offset % (kGroupVectors * hn::Lanes(d)));
  }

  HWY_INLINE M8 Keep(D8 d, std::size_t offset) const {
    if (!kKeeps) return hn::FirstN(d, 0);
    return hn::MaskFromVec(hn::LoadU(d, fPatterns.keep + offset % (kGroupVectors * hn::Lanes(d))));
  }

  static HWY_INLINE V8 Apply(D8 d, Op& op, V8 va, V8 vb, M8 keep) {
    if constexpr (kKeeps && kOneInKeptBytesOfA<Op>) va = hn::IfThenElse(keep, hn::Set(d, 1), va);
    return op(d, va, vb);
  }

  template <bool kStream>
  static HWY_INLINE void Whole(D8 d, Op& op, const uint8_t* a, const uint8_t* b, uint8_t* out,
                               std::size_t i, V8 constants, M8 keep) {
    const V8 va = kA == OperandA::kRows ? hn::LoadU(d, a + i) : constants;
    const V8 vb = kReadsB ? hn::LoadU(d, b + i) : hn::Zero(d);
    V8 result = Apply(d, op, va, vb, keep);
    if (kKeeps) {  // never streamed
#if HWY_TARGET <= HWY_AVX3
      hn::BlendedStore(result, hn::Not(keep), d, out + i);  // a masked store
#else
      hn::StoreU(hn::IfThenElse(keep, hn::LoadU(d, out + i), result), d, out + i);
#endif
    } else if (kStream) {
      hn::Stream(result, d, out + i);
    } else {
      hn::StoreU(result, d, out + i);
    }
  }

  // `count` bytes from offset i, fewer than a vector, through a buffer. Unused
  // lanes of the inputs hold 1 (a harmless divisor).
  HWY_INLINE void Partial(Op& op, const uint8_t* a, const uint8_t* b, uint8_t* out, std::size_t i,
                          std::size_t count) const {
    const D8 d;
    HWY_ALIGN uint8_t bufferA[HWY_MAX_BYTES];
    HWY_ALIGN uint8_t bufferB[HWY_MAX_BYTES];
    HWY_ALIGN uint8_t bufferOut[HWY_MAX_BYTES];
    V8 va = Constants(d, i);
    if (kA == OperandA::kRows) {
      std::memset(bufferA, 1, sizeof bufferA);
      std::memcpy(bufferA, a + i, count);
      va = hn::Load(d, bufferA);
    }
    V8 vb = hn::Zero(d);
    if (kReadsB) {
      std::memset(bufferB, 1, sizeof bufferB);
      std::memcpy(bufferB, b + i, count);
      vb = hn::Load(d, bufferB);
    }
    const M8 keep = Keep(d, i);
    V8 result = Apply(d, op, va, vb, keep);
    if (kKeeps) {
      std::memset(bufferOut, 0, sizeof bufferOut);
      std::memcpy(bufferOut, out + i, count);
      result = hn::IfThenElse(keep, hn::Load(d, bufferOut), result);
    }
    hn::Store(result, d, bufferOut);
    std::memcpy(out + i, bufferOut, count);
  }

  const RowPatterns& fPatterns;
  Op& fOp;
};

}  // namespace engine

// Runs `op` over every row of the region. `a` is read from the region's first
// source or from its constants as kA says; `b` only when kReadsB.
template <OperandA kA, bool kReadsB, class Op>
HWY_INLINE void RunBytes(const ByteRegion& original, Op& op) {
  const ByteRegion region = Contiguous(original);
  const engine::RowPatterns patterns(region, kA == OperandA::kConstants);
  const bool stream = ShouldStream(region);
  const auto walk = [&](const auto& walker) {
    for (std::size_t y = 0; y < region.rows; ++y) {
      const uint8_t* a = kA == OperandA::kRows ? region.a.Row(y) : nullptr;
      const uint8_t* b = kReadsB ? region.b.Row(y) : nullptr;
      if (stream) {
        walker.template Row<true>(a, b, region.dst.Row(y), region.rowBytes);
      } else {
        walker.template Row<false>(a, b, region.dst.Row(y), region.rowBytes);
      }
    }
  };
  if (region.keeps) {
    walk(engine::RowWalker<kA, kReadsB, true, Op>(patterns, op));
  } else {
    walk(engine::RowWalker<kA, kReadsB, false, Op>(patterns, op));
  }
  if (stream) hwy::FlushStream();
}

// Runs an operation of two operands whose `a` comes from the region's first
// source when it has rows, else from its constants. A stateful operation
// passed as an lvalue keeps its state.
template <class Op>
HWY_INLINE void RunOnOperands(const ByteRegion& region, Op&& op) {
  if (region.a.origin != nullptr) {
    RunBytes<OperandA::kRows, true>(region, op);
  } else {
    RunBytes<OperandA::kConstants, true>(region, op);
  }
}

// Byte pairs widened to 16-bit lanes, worked on there and narrowed back
// (results must be at most 255). Vectors split into their even- and
// odd-numbered bytes, which keeps every byte in its place.
#if HWY_TARGET == HWY_SCALAR
using D16 = hn::Rebind<uint16_t, D8>;
using V16 = hn::Vec<D16>;

template <class F>
HWY_INLINE V8 Widened(V8 a, V8 b, const F& f) {
  const D16 d16;
  return hn::TruncateTo(D8(), f(hn::PromoteTo(d16, a), hn::PromoteTo(d16, b)));
}
#else
using D16 = hn::Repartition<uint16_t, D8>;
using V16 = hn::Vec<D16>;

HWY_INLINE V16 EvenBytes(V8 v) {
  const D16 d16;
  return hn::And(hn::BitCast(d16, v), hn::Set(d16, 0x00FF));
}
HWY_INLINE V16 OddBytes(V8 v) { return hn::ShiftRight<8>(hn::BitCast(D16(), v)); }
HWY_INLINE V8 JoinBytes(V16 even, V16 odd) {
  return hn::BitCast(D8(), hn::Or(even, hn::ShiftLeft<8>(odd)));
}

template <class F>
HWY_INLINE V8 Widened(V8 a, V8 b, const F& f) {
  return JoinBytes(f(EvenBytes(a), EvenBytes(b)), f(OddBytes(a), OddBytes(b)));
}
#endif

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif  // include guard toggle
