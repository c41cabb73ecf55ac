// Test support for the colour kernels: images with guard bytes, the region
// shapes of the differential tests, and a loop over every instruction set the
// kernels were compiled for that this CPU runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dispatch/IppTypes.h"

namespace qx::test {

// A region of `height` rows of `rowBytes` bytes, rows `step` bytes apart, inside a
// larger buffer. Everything is filled with pseudo-random bytes from `seed`; bytes
// outside the region (before, between and after the rows) are remembered so that
// a test can tell whether anything wrote there.
class GuardedImage {
 public:
  GuardedImage(int rowBytes, int height, int step, std::uint32_t seed);

  Ipp8u* Data() { return fBuffer.data() + kGuard; }
  const Ipp8u* Data() const { return fBuffer.data() + kGuard; }
  Ipp16u* Words() { return reinterpret_cast<Ipp16u*>(Data()); }
  int Step() const { return fStep; }
  int RowBytes() const { return fRowBytes; }
  int Height() const { return fHeight; }
  Ipp8u* Row(int y) { return Data() + std::ptrdiff_t{y} * fStep; }
  const Ipp8u* Row(int y) const { return Data() + std::ptrdiff_t{y} * fStep; }

  // True while every byte outside the region holds its original value.
  bool GuardsIntact() const;
  // The whole buffer, guards included.
  const std::vector<Ipp8u>& Buffer() const { return fBuffer; }

 private:
  static constexpr std::ptrdiff_t kGuard = 64;
  int fRowBytes;
  int fHeight;
  int fStep;
  std::vector<Ipp8u> fBuffer;
  std::vector<Ipp8u> fOriginal;
};

// A region to test: size in pixels and the bytes each row's step adds beyond the
// region's own row bytes (0 makes the rows contiguous).
struct RegionShape {
  int width;
  int height;
  int srcPadding;
  int dstPadding;
};

// Widths 1..70 with odd paddings, a few wide rows, and contiguous rows.
std::vector<RegionShape> DifferentialShapes();

// Runs `body` once per instruction set this CPU has among those the kernels were
// built for, with the kernels dispatching to it; `body` receives its name.
void ForEachTarget(const std::function<void(const std::string&)>& body);

}  // namespace qx::test

namespace qx::test {

// Kernel calls with the images reduced to plain byte pointers (16-bit images are
// passed as their bytes; the callers cast).
using OneSourceCall =
    std::function<IppStatus(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize)>;
using InPlaceCall = std::function<IppStatus(Ipp8u* image, int step, IppiSize)>;
using TwoSourceCall = std::function<IppStatus(const Ipp8u* src1, int src1Step, const Ipp8u* src2,
                                              int src2Step, Ipp8u* dst, int dstStep, IppiSize)>;

// For every instruction set and region shape: `simd` and `reference` return the same
// status and leave byte-identical destination buffers (guards included), and
// neither writes outside the region. Pixel sizes are in bytes; `stepAlignment`
// rounds the paddings up to a multiple (2 for 16-bit images).
void ExpectSameAsReference(int srcPixelBytes, int dstPixelBytes, const OneSourceCall& simd,
                           const OneSourceCall& reference, int stepAlignment = 1);
void ExpectSameAsReferenceInPlace(int pixelBytes, const InPlaceCall& simd,
                                  const InPlaceCall& reference);
void ExpectSameAsReference(int pixelBytes, const TwoSourceCall& simd,
                           const TwoSourceCall& reference);

}  // namespace qx::test
