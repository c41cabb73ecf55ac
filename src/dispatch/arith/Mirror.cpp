// Mirror, out of place and in place. Reversing the rows is a copy that walks
// the source upwards (a negative step) on the per-byte engine; reversing the
// pixels within rows loads whole vectors of pixels from one end and stores
// them reversed at the other, with the middle pixels of a row, fewer than a
// vector, moved one by one.
#include <algorithm>
#include <cstring>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/arith/Mirror.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// The lines above compile this file once per instruction set.
#include "dispatch/arith/ByteRegion.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D8 = hn::ScalableTag<uint8_t>;
using V8 = hn::Vec<D8>;

// The bytes of a vector in reverse order.
HWY_INLINE V8 ReverseBytes(V8 v) {
#if HWY_TARGET == HWY_SCALAR
  return v;
#else
  const D8 d;
  alignas(16) static constexpr uint8_t kBackwards[16] = {15, 14, 13, 12, 11, 10, 9, 8,
                                                         7,  6,  5,  4,  3,  2,  1, 0};
  return hn::ReverseBlocks(d, hn::TableLookupBytes(v, hn::LoadDup128(d, kBackwards)));
#endif
}

// A vector's worth of pixels of kBytes bytes: how many, how to load, store and
// reverse them, and, for 4-byte pixels, how to keep the alpha bytes of
// another set.
template <int kBytes>
struct Pixels;

template <>
struct Pixels<1> {
  using V = V8;
  static std::size_t Count() { return hn::Lanes(D8()); }
  static V Load(const uint8_t* p) { return hn::LoadU(D8(), p); }
  static void Store(V v, uint8_t* p) { hn::StoreU(v, D8(), p); }
  static V Reverse(V v) { return ReverseBytes(v); }
};

template <>
struct Pixels<2> {
  using D = hn::ScalableTag<uint16_t>;
  using V = hn::Vec<D>;
  static std::size_t Count() { return hn::Lanes(D()); }
  // Rows of 16-bit pixels may start at any byte: unaligned vector accesses.
  static V Load(const uint8_t* p) { return hn::LoadU(D(), reinterpret_cast<const uint16_t*>(p)); }
  static void Store(V v, uint8_t* p) { hn::StoreU(v, D(), reinterpret_cast<uint16_t*>(p)); }
  static V Reverse(V v) { return hn::Reverse(D(), v); }
};

template <>
struct Pixels<3> {
  struct V {
    V8 c0, c1, c2;
  };
  static std::size_t Count() { return hn::Lanes(D8()); }
  static V Load(const uint8_t* p) {
    V v;
    hn::LoadInterleaved3(D8(), p, v.c0, v.c1, v.c2);
    return v;
  }
  static void Store(V v, uint8_t* p) { hn::StoreInterleaved3(v.c0, v.c1, v.c2, D8(), p); }
  static V Reverse(V v) { return {ReverseBytes(v.c0), ReverseBytes(v.c1), ReverseBytes(v.c2)}; }
};

template <>
struct Pixels<4> {
  using D = hn::ScalableTag<uint32_t>;
  using V = hn::Vec<D>;
  static std::size_t Count() { return hn::Lanes(D()); }
  static V Load(const uint8_t* p) { return hn::LoadU(D(), reinterpret_cast<const uint32_t*>(p)); }
  static void Store(V v, uint8_t* p) { hn::StoreU(v, D(), reinterpret_cast<uint32_t*>(p)); }
  static V Reverse(V v) { return hn::Reverse(D(), v); }
  // `colour` with the alpha bytes (the top byte of each little-endian lane)
  // of `alpha`.
  static V KeepAlpha(V colour, V alpha) {
    const V alphaBits = hn::Set(D(), 0xFF000000u);
    return hn::Or(hn::And(alphaBits, alpha), hn::AndNot(alphaBits, colour));
  }
};

#if HWY_TARGET == HWY_AVX3_DL
// For the 3-byte mirror below, with byte permutations across whole vectors (VBMI).
// 64 destination pixels (three vectors) come from the 64 source pixels of three
// vectors A B C: destination byte j is channel j % 3 of pixel j / 3, source byte
// 3 (63 - j / 3) + j % 3. The first destination vector takes its bytes from B and C,
// the third from A and B, the second from B and C except its byte 62, A's last.
struct ReverseChunk {
  uint8_t index[3][64];
};

constexpr ReverseChunk MakeReverseChunk() {
  ReverseChunk chunk{};
  constexpr int kFirstTable[3] = {64, 64, 0};  // source byte of each vector's first table
  for (int v = 0; v < 3; ++v)
    for (int t = 0; t < 64; ++t) {
      const int j = 64 * v + t;
      const int from = 3 * (63 - j / 3) + j % 3 - kFirstTable[v];
      chunk.index[v][t] = static_cast<uint8_t>(from < 0 ? 0 : from);  // < 0: taken from A
    }
  return chunk;
}

alignas(64) constexpr ReverseChunk kReverseChunk = MakeReverseChunk();

// Writes the whole row once it has 64 pixels, 64 at a time (the last 64 overlap the
// ones before and rewrite the same bytes); returns the row byte reached. Loads and
// stores step by whole vectors, aligned when the row and its length are.
HWY_INLINE std::size_t ReverseColourBytes(const uint8_t* src, uint8_t* dst, std::size_t width) {
  if (width < 64) return 3;
  const __m512i first = _mm512_load_si512(kReverseChunk.index[0]);
  const __m512i second = _mm512_load_si512(kReverseChunk.index[1]);
  const __m512i third = _mm512_load_si512(kReverseChunk.index[2]);
  const __m512i lastByte = _mm512_set1_epi8(63);
  constexpr __mmask64 kByte62 = __mmask64{1} << 62;
  const std::size_t rowBytes = 3 * width;
  const auto chunk = [&](std::size_t o) {  // destination bytes o to o + 191
    const uint8_t* from = src + (rowBytes - 192 - o);
    const __m512i a = _mm512_loadu_si512(from);
    const __m512i b = _mm512_loadu_si512(from + 64);
    const __m512i c = _mm512_loadu_si512(from + 128);
    const __m512i middle = _mm512_permutex2var_epi8(b, second, c);
    _mm512_storeu_si512(dst + o, _mm512_permutex2var_epi8(b, first, c));
    _mm512_storeu_si512(dst + o + 64, _mm512_mask_permutexvar_epi8(middle, kByte62, lastByte, a));
    _mm512_storeu_si512(dst + o + 128, _mm512_permutex2var_epi8(a, third, b));
  };
  std::size_t o = 0;
  for (; o + 192 <= rowBytes; o += 192) chunk(o);
  if (o < rowBytes) chunk(rowBytes - 192);
  return rowBytes;
}
#elif HWY_TARGET != HWY_SCALAR
// Reverses a row of 3-byte pixels a vector of destination bytes at a time.
// Destination byte t of a vector starting at row byte o belongs to pixel
// (o + t) / 3, channel c = (o + t) % 3, and comes from source byte
// K - t + 2c with K = 3 * (width - 1) - o. Within each 16-byte block of the
// vector those source bytes span at most 20, starting 16 * block + 15 below
// K: two loads 4 bytes apart, their blocks in reverse order, cover every
// block's span, and a byte shuffle per load (indices depending only on t and
// c) picks the bytes. The pattern repeats with o modulo 3.
struct ColourShuffles {
  uint8_t low[3][HWY_MAX_BYTES];   // from the first load, 0x80 where the second serves
  uint8_t high[3][HWY_MAX_BYTES];  // from the second load, 0x80 where the first serves
};

constexpr ColourShuffles MakeColourShuffles() {
  ColourShuffles shuffles{};
  for (std::size_t phase = 0; phase < 3; ++phase) {
    for (std::size_t t = 0; t < HWY_MAX_BYTES; ++t) {
      const std::size_t channel = (phase + t) % 3;
      // Offset of the source byte from the start of its block's span, 0 to 19.
      const std::size_t offset = 16 * (t / 16) + 15 - t + 2 * channel;
      shuffles.low[phase][t] = offset < 16 ? static_cast<uint8_t>(offset) : 0x80;
      shuffles.high[phase][t] = offset < 16 ? 0x80 : static_cast<uint8_t>(offset - 4);
    }
  }
  return shuffles;
}

alignas(HWY_MAX_BYTES) constexpr ColourShuffles kColourShuffles = MakeColourShuffles();

// Writes destination bytes from 3 on (pixel 0 is left to the caller) up to
// the row's last two bytes, once the row has room for a whole vector; returns
// the row byte reached.
HWY_INLINE std::size_t ReverseColourBytes(const uint8_t* src, uint8_t* dst, std::size_t width) {
  const D8 d;
  const std::size_t lanes = hn::Lanes(d);
  const std::size_t rowBytes = 3 * width;
  // The spans of a vector at o reach from K - lanes + 1 to K + 4: K + 4 stays
  // below the row end for o >= 2, K - lanes + 1 at or above its start for
  // o <= last.
  if (rowBytes < lanes + 5) return 3;
  const std::size_t last = rowBytes - lanes - 2;
  const auto vector = [&](std::size_t o, V8 low, V8 high) {
    const std::size_t k = rowBytes - 3 - o;
    const V8 first = hn::ReverseBlocks(d, hn::LoadU(d, src + k + 1 - lanes));
    const V8 second = hn::ReverseBlocks(d, hn::LoadU(d, src + k + 5 - lanes));
    hn::StoreU(hn::Or(hn::TableLookupBytesOr0(first, low), hn::TableLookupBytesOr0(second, high)),
               d, dst + o);
  };
  const auto shuffles = [&](std::size_t o, int which) {
    const std::size_t phase = o % 3;
    return hn::Load(d, which == 0 ? kColourShuffles.low[phase] : kColourShuffles.high[phase]);
  };
  // Three vectors in a row see the three phases; they keep their shuffles.
  const V8 low0 = shuffles(3, 0), low1 = shuffles(3 + lanes, 0), low2 = shuffles(3 + 2 * lanes, 0);
  const V8 high0 = shuffles(3, 1), high1 = shuffles(3 + lanes, 1),
           high2 = shuffles(3 + 2 * lanes, 1);
  std::size_t o = 3;
  for (; o + 3 * lanes <= last; o += 3 * lanes) {
    vector(o, low0, high0);
    vector(o + lanes, low1, high1);
    vector(o + 2 * lanes, low2, high2);
  }
  for (; o < last; o += lanes) vector(o, shuffles(o, 0), shuffles(o, 1));
  vector(last, shuffles(last, 0), shuffles(last, 1));  // overlaps; rewrites the same bytes
  return rowBytes - 2;
}
#endif

// Moves pixels of kBytes bytes, of which the first kCopied are written.
template <int kBytes, int kCopied>
struct Mover {
  using P = Pixels<kBytes>;
  static constexpr bool kKeepsAlpha = kCopied < kBytes;

  static void Put(uint8_t* at, typename P::V pixels) {
    if constexpr (kKeepsAlpha) pixels = P::KeepAlpha(pixels, P::Load(at));
    P::Store(pixels, at);
  }
  static void CopyOne(const uint8_t* from, uint8_t* to) { std::memcpy(to, from, kCopied); }
  static void SwapOne(uint8_t* a, uint8_t* b) { std::swap_ranges(a, a + kCopied, b); }

  // dst pixel x = src pixel width - 1 - x.
  static void ReverseRow(const uint8_t* src, uint8_t* dst, std::size_t width) {
    const std::size_t lanes = P::Count();
    std::size_t x = 0;
#if HWY_TARGET != HWY_SCALAR
    if constexpr (kBytes == 3) {
      const std::size_t done = ReverseColourBytes(src, dst, width);
      // The pixel the vectors left unfinished and every one after it.
      CopyOne(src + kBytes * (width - 1), dst);
      for (std::size_t byte = done; byte < kBytes * width; ++byte)
        dst[byte] = src[kBytes * (width - 1 - byte / kBytes) + byte % kBytes];
      return;
    }
#endif
    for (; x + lanes <= width; x += lanes)
      Put(dst + kBytes * x, P::Reverse(P::Load(src + kBytes * (width - x - lanes))));
    for (; x < width; ++x) CopyOne(src + kBytes * (width - 1 - x), dst + kBytes * x);
  }

  // Exchanges pixel x of row a with pixel width - 1 - x of row b (distinct
  // rows), or with pixel x when not `reversed`.
  static void ExchangeRows(uint8_t* a, uint8_t* b, std::size_t width, bool reversed) {
    const std::size_t lanes = P::Count();
    std::size_t x = 0;
    for (; x + lanes <= width; x += lanes) {
      uint8_t* atA = a + kBytes * x;
      uint8_t* atB = b + kBytes * (reversed ? width - x - lanes : x);
      const auto pixelsA = P::Load(atA);
      const auto pixelsB = P::Load(atB);
      Put(atA, reversed ? P::Reverse(pixelsB) : pixelsB);
      Put(atB, reversed ? P::Reverse(pixelsA) : pixelsA);
    }
    for (; x < width; ++x) SwapOne(a + kBytes * x, b + kBytes * (reversed ? width - 1 - x : x));
  }

  // Reverses the pixels of one row in place: vectors from both ends while
  // they do not meet, then single pixels up to the middle.
  static void ReverseInPlace(uint8_t* row, std::size_t width) {
    const std::size_t lanes = P::Count();
    std::size_t x = 0;
    for (; 2 * (x + lanes) <= width; x += lanes) {
      uint8_t* left = row + kBytes * x;
      uint8_t* right = row + kBytes * (width - x - lanes);
      const auto pixelsLeft = P::Load(left);
      const auto pixelsRight = P::Load(right);
      Put(left, P::Reverse(pixelsRight));
      Put(right, P::Reverse(pixelsLeft));
    }
    for (; x < width / 2; ++x) SwapOne(row + kBytes * x, row + kBytes * (width - 1 - x));
  }
};

template <int kBytes, int kCopied>
void ReverseWithin(const Rows<const uint8_t>& src, const Rows<uint8_t>& dst, std::size_t width,
                   std::size_t height) {
  for (std::size_t y = 0; y < height; ++y)
    Mover<kBytes, kCopied>::ReverseRow(src.Row(y), dst.Row(y), width);
}

template <int kBytes, int kCopied>
void MirrorInPlaceAs(const Rows<uint8_t>& image, std::size_t width, std::size_t height, int axis) {
  using M = Mover<kBytes, kCopied>;
  if (axis == ippAxsVertical) {
    for (std::size_t y = 0; y < height; ++y) M::ReverseInPlace(image.Row(y), width);
    return;
  }
  const bool reversed = axis == ippAxsBoth;
  for (std::size_t y = 0; y < height / 2; ++y)
    M::ExchangeRows(image.Row(y), image.Row(height - 1 - y), width, reversed);
  if (reversed && height % 2 == 1) M::ReverseInPlace(image.Row(height / 2), width);
}

// `layout` is the bytes of a pixel, 1 to 4, or 0 for 4 bytes of which the
// alpha byte is kept.

// dst row y = src row y with its pixels in reverse order.
void ReversePixels(Rows<const uint8_t> src, Rows<uint8_t> dst, std::size_t width,
                   std::size_t height, int layout) {
  switch (layout) {
    case 1:
      return ReverseWithin<1, 1>(src, dst, width, height);
    case 2:
      return ReverseWithin<2, 2>(src, dst, width, height);
    case 3:
      return ReverseWithin<3, 3>(src, dst, width, height);
    case 4:
      return ReverseWithin<4, 4>(src, dst, width, height);
    default:
      return ReverseWithin<4, 3>(src, dst, width, height);
  }
}

void MirrorInPlace(Rows<uint8_t> image, std::size_t width, std::size_t height, int layout,
                   int axis) {
  switch (layout) {
    case 1:
      return MirrorInPlaceAs<1, 1>(image, width, height, axis);
    case 3:
      return MirrorInPlaceAs<3, 3>(image, width, height, axis);
    case 4:
      return MirrorInPlaceAs<4, 4>(image, width, height, axis);
    default:
      return MirrorInPlaceAs<4, 3>(image, width, height, axis);
  }
}

}  // namespace qx::fallback::detail::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "dispatch/arith/ArithChecks.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/arith/ByteKernels.h"
#include "dispatch/arith/KernelDefinition.h"

namespace qx::fallback {
namespace detail {

HWY_EXPORT(ReversePixels);
HWY_EXPORT(MirrorInPlace);

namespace {

// A pixel layout of the mirror kernels: bytes per pixel, 0 for AC4.
int LayoutOf(PixelFormat format) { return format.keepAlpha ? 0 : format.bytes; }

IppStatus MirrorImage(PixelFormat format, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                      IppiSize size, IppiAxis axis) {
  if (IppStatus status = CheckMirror({src, dst}, size, axis); status != ippStsNoErr) return status;
  Rows<const Ipp8u> source{src, srcStep};
  if (axis == ippAxsHorizontal) {
    // The source is read downwards and the destination written from its last row
    // upwards: rows read upwards from main memory cost a third more (measured), each
    // starting below the last, where the hardware prefetcher has not been.
    const Rows<Ipp8u> target{dst, dstStep};
    ByteRegion region = RegionOf(format, size);
    region.a = source;
    region.dst = {target.Row(static_cast<std::size_t>(size.height - 1)), -target.step};
    CopyBytes(region);
    return ippStsNoErr;
  }
  // Reversing both axes reads the source from its last row upwards.
  if (axis == ippAxsBoth) source = {source.Row(size.height - 1), -source.step};
  HWY_DYNAMIC_DISPATCH(ReversePixels)
  (source, Rows<Ipp8u>{dst, dstStep}, static_cast<std::size_t>(size.width),
   static_cast<std::size_t>(size.height), LayoutOf(format));
  return ippStsNoErr;
}

IppStatus MirrorImageInPlace(PixelFormat format, Ipp8u* image, int step, IppiSize size,
                             IppiAxis axis) {
  if (IppStatus status = CheckMirror({image}, size, axis); status != ippStsNoErr) return status;
  HWY_DYNAMIC_DISPATCH(MirrorInPlace)
  (Rows<Ipp8u>{image, step}, static_cast<std::size_t>(size.width),
   static_cast<std::size_t>(size.height), LayoutOf(format), axis);
  return ippStsNoErr;
}

}  // namespace
}  // namespace detail

using namespace detail;

QX_DEFINE_MIRROR(ippiMirror_8u_C1R, MirrorImage, kPixelC1)
QX_DEFINE_MIRROR(ippiMirror_8u_C3R, MirrorImage, kPixelC3)
QX_DEFINE_MIRROR(ippiMirror_8u_C4R, MirrorImage, kPixelC4)
QX_DEFINE_MIRROR(ippiMirror_8u_AC4R, MirrorImage, kPixelAC4)
QX_DEFINE_MIRROR_IN_PLACE(ippiMirror_8u_C1IR, MirrorImageInPlace, kPixelC1)
QX_DEFINE_MIRROR_IN_PLACE(ippiMirror_8u_C3IR, MirrorImageInPlace, kPixelC3)
QX_DEFINE_MIRROR_IN_PLACE(ippiMirror_8u_C4IR, MirrorImageInPlace, kPixelC4)
QX_DEFINE_MIRROR_IN_PLACE(ippiMirror_8u_AC4IR, MirrorImageInPlace, kPixelAC4)

IppStatus ippiMirror_16u_C1R(const Ipp16u* pSrc, int srcStep, Ipp16u* pDst, int dstStep,
                             IppiSize roiSize, IppiAxis flip) {
  return MirrorImage({2, false}, reinterpret_cast<const Ipp8u*>(pSrc), srcStep,
                     reinterpret_cast<Ipp8u*>(pDst), dstStep, roiSize, flip);
}

}  // namespace qx::fallback
#endif  // HWY_ONCE
