// Test support for the SIMD kernels: images with guard bytes, a differential
// run of a SIMD kernel against its scalar reference on random regions of every
// shape, a loop over the instruction sets the kernels were compiled for, and
// images with margins for the filters, whose windows reach beyond the region.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <span>
#include <type_traits>
#include <vector>

#include "dispatch/IppTypes.h"

namespace qx::kerneltest {

struct Operand {
  Ipp8u* origin;
  int step;
};

// A region of `height` rows of `rowBytes` bytes inside a buffer of random
// bytes, with guard bytes before, between and after the rows. Bottom-up, the
// operand is the last row in memory with a negative step; `offset` moves the
// pointer onto one channel of the first pixel; `lead` guard bytes come first.
class GuardedImage {
 public:
  GuardedImage(int rowBytes, int height, int padding, bool bottomUp, int offset, int lead,
               std::mt19937& random);

  Operand AsOperand();
  // Byte `x` of row `y` as the kernel numbers rows (from its origin's row).
  Ipp8u& At(int x, int y);
  // Whether every byte outside the region still holds its value in `before`.
  bool GuardsIntact(const GuardedImage& before) const;
  const std::vector<Ipp8u>& Buffer() const { return fBuffer; }

 private:
  std::size_t Index(int x, int y) const;

  int fLead;
  int fRowBytes;
  int fHeight;
  int fStride;
  bool fBottomUp;
  int fOffset;
  std::vector<Ipp8u> fBuffer;
};

// An operand is read only, or written (in place: read too).
enum class Role { kSource, kDestination };
constexpr Role kSrc = Role::kSource;
constexpr Role kDst = Role::kDestination;
constexpr Role kOneSource[] = {kSrc, kDst};
constexpr Role kInPlace[] = {kDst};
constexpr Role kTwoSources[] = {kSrc, kSrc, kDst};

// Bytes per pixel of a kernel's sources and of its destination, and whether
// their pointers address one channel of a pixel.
struct Layout {
  int srcBytes;
  int dstBytes;
  bool srcChannel = false;
  bool dstChannel = false;
};

// Images for operands with `roles`, with random paddings (every step rounded up
// to `stepAlignment`, 2 for 16-bit images; the sources on one step if
// `sharedSourceStep`, as planes) and channel pointers on a random channel. If
// `varied`, contiguous a quarter of the time and bottom-up about a sixth.
std::vector<GuardedImage> ImagesFor(std::span<const Role> roles, const Layout& layout, IppiSize roi,
                                    std::mt19937& random, bool varied, int stepAlignment = 1,
                                    bool sharedSourceStep = false);

// 1 to 70 (every tail of every vector length) and some wide rows.
std::vector<int> DifferentialWidths();

// A kernel called with the operands in role order.
using KernelCall = std::function<IppStatus(std::span<const Operand>, IppiSize)>;

// A kernel of the form (src, srcStep, dst, dstStep, roi, extra...) with its
// trailing arguments bound; 16-bit images are passed as words.
template <class S, class D, class... Extra>
KernelCall OneSource(IppStatus (*kernel)(const S*, int, D*, int, IppiSize, Extra...),
                     std::type_identity_t<Extra>... extra) {
  return [=](std::span<const Operand> op, IppiSize roi) {
    return kernel(reinterpret_cast<const S*>(op[0].origin), op[0].step,
                  reinterpret_cast<D*>(op[1].origin), op[1].step, roi, extra...);
  };
}

// A kernel of the form (image, step, roi, extra...) with its trailing
// arguments bound.
template <class... Extra>
KernelCall InPlace(IppStatus (*kernel)(Ipp8u*, int, IppiSize, Extra...),
                   std::type_identity_t<Extra>... extra) {
  return [=](std::span<const Operand> op, IppiSize roi) {
    return kernel(op[0].origin, op[0].step, roi, extra...);
  };
}

IppStatus Run(const KernelCall& kernel, std::vector<GuardedImage>& images, IppiSize roi);

// Runs `simd` and `reference` on copies of `images`: the same status, byte-
// identical buffers (guards included), and nothing written outside the regions.
void ExpectSameResults(const std::vector<GuardedImage>& images, IppiSize roi,
                       const KernelCall& simd, const KernelCall& reference);

// ExpectSameResults on every instruction set, for every differential width and
// random heights of 1 to 4 rows.
void ExpectSameAsReference(std::span<const Role> roles, const Layout& layout,
                           const KernelCall& simd, const KernelCall& reference,
                           int stepAlignment = 1);

// Runs `body` once per instruction set compiled into the kernels that this CPU
// runs, the kernels dispatching to it.
void ForEachTarget(const std::function<void()>& body);

// A filter image: a region of `width` x `height` elements inside `margin`
// elements on every side, with `extraStep` more elements at the end of each
// row, all `fill`.
template <class T>
class Canvas {
 public:
  Canvas(int width, int height, int margin, int extraStep, T fill = 0)
      : fWidth(width),
        fHeight(height),
        fMargin(margin),
        fStride(width + 2 * margin + extraStep),
        fData(static_cast<std::size_t>(fStride) * (height + 2 * margin), fill) {}

  T* Region() { return &At(0, 0); }
  int StepBytes() const { return fStride * static_cast<int>(sizeof(T)); }
  // Element (x, y) of the region; coordinates down to -margin are valid.
  T& At(int x, int y) {
    return fData[static_cast<std::size_t>(y + fMargin) * fStride + x + fMargin];
  }
  T At(int x, int y) const { return const_cast<Canvas*>(this)->At(x, y); }

  void FillRandom(std::mt19937& random, int low, int high) {
    std::uniform_int_distribution<int> value(low, high);
    for (T& element : fData) element = static_cast<T>(value(random));
  }
  // Whether every element, or every one outside the region, still holds `guard`.
  bool AllEqual(T guard, bool outsideOnly = false) const {
    for (int y = -fMargin; y < fHeight + fMargin; ++y) {
      for (int x = -fMargin; x < fStride - fMargin; ++x) {
        const bool inside = x >= 0 && x < fWidth && y >= 0 && y < fHeight;
        if (!(inside && outsideOnly) && At(x, y) != guard) return false;
      }
    }
    return true;
  }

 private:
  int fWidth;
  int fHeight;
  int fMargin;
  int fStride;
  std::vector<T> fData;
};

}  // namespace qx::kerneltest
