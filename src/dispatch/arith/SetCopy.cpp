// Set and the copies that move whole bytes in place (whole pixels, the colour
// bytes of AC4 pixels, one channel of a C4 image to another): the C library's
// and the CPU's string routines where the bytes are plain runs, the per-byte
// engine for patterns and kept bytes.
#include <cstdint>
#include <cstring>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "dispatch/arith/SetCopy.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// The lines above compile this file once per instruction set.
#include "dispatch/arith/ByteEngine-inl.h"
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace qx::fallback::detail::HWY_NAMESPACE {

struct TakeA {
  HWY_INLINE V8 operator()(D8, V8 a, V8) const { return a; }
};

void FillPattern(const ByteRegion& region) {
  ByteRegion fill = region;
  fill.a = {};
  fill.b = {};
  TakeA op;
  RunBytes<OperandA::kConstants, false>(fill, op);
}

void CopyRows(const ByteRegion& region) {
  TakeA op;
  RunBytes<OperandA::kRows, false>(region, op);
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

HWY_EXPORT(FillPattern);
HWY_EXPORT(CopyRows);

// Rows of one byte value go to the C library's memset, whose string stores
// beat vector stores on cached rows and match non-temporal ones on rows from
// memory. Copies go to memcpy, or to the string move when large (below).
// Patterns and kept bytes need the engine.
namespace {

// Copies of the streaming size and more that run top-down in both images move
// their rows with the x86-64 string move. Measured on 1920x1080 RGB frames: from
// memory it beats memcpy's vector loop by 5-10%, and non-temporal stores by as
// much; with the frames in the last-level cache it matches memcpy, where
// non-temporal stores lose 15-20%. Rows read or written bottom-up keep memcpy,
// which wins there. False when the copy is not of that kind.
bool CopyRowsWithStringMoves(const ByteRegion& region) {
#if defined(__x86_64__)
  if (region.rowBytes * region.rows < kStreamingBytes || region.a.step <= 0 ||
      region.dst.step <= 0)
    return false;
  for (std::size_t y = 0; y < region.rows; ++y) {
    void* to = region.dst.Row(y);
    const void* from = region.a.Row(y);
    std::size_t bytes = region.rowBytes;
    asm volatile("rep movsb" : "+D"(to), "+S"(from), "+c"(bytes) : : "memory");
  }
  return true;
#else
  (void)region;
  return false;
#endif
}

// Fills of one 4-byte value smaller than the streaming size run the x86-64 string
// store, which beats vector stores on rows that stay in the caches (measured: 640x480
// RGBA, 0.009 ms against 0.011 ms); larger fills keep the engine's vector stores, which
// the string store loses to there (1920x1080: 0.20 ms against 0.09 ms). False when the
// fill is not of that kind.
bool FillWordsWithStringStores(const ByteRegion& region) {
#if defined(__x86_64__)
  if (region.keeps || region.constants.period != 4 || region.rowBytes % 4 != 0 ||
      region.rowBytes * region.rows >= kStreamingBytes)
    return false;
  std::uint32_t value;
  std::memcpy(&value, region.constants.values, sizeof value);
  for (std::size_t y = 0; y < region.rows; ++y) {
    void* row = region.dst.Row(y);
    std::size_t words = region.rowBytes / 4;
    asm volatile("rep stosl" : "+D"(row), "+c"(words) : "a"(value) : "memory");
  }
  return true;
#else
  (void)region;
  return false;
#endif
}

}  // namespace

void FillBytes(const ByteRegion& original) {
  const ByteRegion region = Contiguous(original);
  if (FillWordsWithStringStores(region)) return;
  if (region.keeps || region.constants.period != 1) {
    HWY_DYNAMIC_DISPATCH(FillPattern)(region);
    return;
  }
  for (std::size_t y = 0; y < region.rows; ++y)
    std::memset(region.dst.Row(y), region.constants.values[0], region.rowBytes);
}

void CopyBytes(const ByteRegion& original) {
  const ByteRegion region = Contiguous(original);
  if (region.keeps) {
    HWY_DYNAMIC_DISPATCH(CopyRows)(region);
    return;
  }
  if (CopyRowsWithStringMoves(region)) return;
  for (std::size_t y = 0; y < region.rows; ++y)
    std::memcpy(region.dst.Row(y), region.a.Row(y), region.rowBytes);
}

namespace {

// One channel of every pixel: the pointer addresses that channel of the
// first pixel, so the bytes from it to the channel of the last pixel are the
// span worked on, with every byte but the channel's kept.
ByteRegion OneChannelOf(int pixelBytes, IppiSize size) {
  ByteRegion region;
  region.rowBytes = static_cast<std::size_t>(size.width - 1) * pixelBytes + 1;
  region.rows = static_cast<std::size_t>(size.height);
  region.constants.period = pixelBytes;
  region.keep = {{0x00, 0xFF, 0xFF, 0xFF}, pixelBytes};
  region.keeps = true;
  return region;
}

IppStatus Fill(ByteRegion region, Ipp8u* dst, int dstStep, IppiSize size, const void* value) {
  if (IppStatus status = CheckNullSizeStep({value, dst}, size, {dstStep}); status != ippStsNoErr)
    return status;
  region.dst = {dst, dstStep};
  FillBytes(region);
  return ippStsNoErr;
}

IppStatus SetPixels(PixelFormat format, const Ipp8u* value, Ipp8u* dst, int dstStep,
                    IppiSize size) {
  if (value == nullptr) return ippStsNullPtrErr;
  return Fill(WithConstants(RegionOf(format, size), format, value), dst, dstStep, size, value);
}

IppStatus SetByte(Ipp8u value, Ipp8u* dst, int dstStep, IppiSize size) {
  return SetPixels(kPixelC1, &value, dst, dstStep, size);
}

IppStatus SetChannel(int pixelBytes, Ipp8u value, Ipp8u* dst, int dstStep, IppiSize size) {
  if (dst == nullptr) return ippStsNullPtrErr;
  if (BadSize(size)) return ippStsSizeErr;
  ByteRegion region = OneChannelOf(pixelBytes, size);
  region.constants.values[0] = value;
  return Fill(region, dst, dstStep, size, &value);
}

IppStatus Copy(ByteRegion region, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep) {
  region.a = {src, srcStep};
  region.dst = {dst, dstStep};
  CopyBytes(region);
  return ippStsNoErr;
}

IppStatus CopyPixels(PixelFormat format, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                     IppiSize size) {
  if (IppStatus status = CheckNullSize({src, dst}, size); status != ippStsNoErr) return status;
  return Copy(RegionOf(format, size), src, srcStep, dst, dstStep);
}

IppStatus CopyChannel(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size) {
  if (IppStatus status = CheckNullSize({src, dst}, size); status != ippStsNoErr) return status;
  return Copy(OneChannelOf(4, size), src, srcStep, dst, dstStep);
}

}  // namespace
}  // namespace detail

using namespace detail;

QX_DEFINE_BYTE_IN_PLACE(ippiSet_8u_C1R, SetByte)
QX_DEFINE_BYTE_IN_PLACE(ippiSet_8u_C3CR, SetChannel, 3)
QX_DEFINE_BYTE_IN_PLACE(ippiSet_8u_C4CR, SetChannel, 4)
QX_DEFINE_CONST_IN_PLACE(ippiSet_8u_C3R, SetPixels, kPixelC3)
QX_DEFINE_CONST_IN_PLACE(ippiSet_8u_AC4R, SetPixels, kPixelAC4)
QX_DEFINE_CONST_IN_PLACE(ippiSet_8u_C4R, SetPixels, kPixelC4)

IppStatus ippiSet_16s_C1R(Ipp16s value, Ipp16s* pDst, int dstStep, IppiSize roiSize) {
  if (pDst == nullptr) return ippStsNullPtrErr;
  if (BadSize(roiSize)) return ippStsSizeErr;
  ByteRegion region = RegionOf({2, false}, roiSize);
  std::memcpy(region.constants.values, &value, sizeof value);  // the bytes of one pixel
  return Fill(region, reinterpret_cast<Ipp8u*>(pDst), dstStep, roiSize, &value);
}

QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C1R, CopyPixels, kPixelC1)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C3R, CopyPixels, kPixelC3)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C4R, CopyPixels, kPixelC4)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_AC4R, CopyPixels, kPixelAC4)
QX_DEFINE_ONE_SOURCE(ippiCopy_8u_C4CR, CopyChannel)

IppStatus ippsCopy_8u(const Ipp8u* pSrc, Ipp8u* pDst, int len) {
  if (IppStatus status = CheckVector({pSrc, pDst}, len); status != ippStsNoErr) return status;
  std::memmove(pDst, pSrc, static_cast<std::size_t>(len));
  return ippStsNoErr;
}

}  // namespace qx::fallback
#endif  // HWY_ONCE
