// Test support for the arithmetic, logic, copy and mirror kernels: images with
// guard bytes, the entries of each argument form with their SIMD and scalar
// versions, a uniform way to call an entry of any form, and a loop over the
// instruction sets the kernels were compiled for.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/arith/ArithReference.h"

namespace qx::arithtest {

// An image operand as a kernel receives it.
struct Operand {
  Ipp8u* origin;
  int step;
};

// A region of `height` rows of `rowBytes` bytes inside a buffer of random
// bytes, with guard bytes before, between and after the rows. Kernels get the
// region's first row and a positive step, or, bottom-up, its last row in
// memory and a negative step; `offset` moves the pointer into the first pixel
// (to address one channel). `lead` guard bytes come first (odd numbers leave
// every row unaligned).
class GuardedImage {
 public:
  GuardedImage(int rowBytes, int height, int padding, bool bottomUp, int offset, int lead,
               std::mt19937& random);

  Operand AsOperand();
  // Byte `x` of row `y` as the kernel numbers rows (from its origin's row).
  Ipp8u& At(int x, int y);
  int RowBytes() const { return fRowBytes; }
  int Height() const { return fHeight; }
  // Whether every byte outside the region still holds its first value.
  bool GuardsIntact() const;
  const std::vector<Ipp8u>& Buffer() const { return fBuffer; }

 private:
  std::size_t MemoryRow(int y) const;

  static constexpr int kTail = 64;
  int fLead;
  int fRowBytes;
  int fHeight;
  int fStride;
  bool fBottomUp;
  int fOffset;
  std::vector<Ipp8u> fBuffer;
  std::vector<Ipp8u> fOriginal;
};

// How an entry's operands are laid out: bytes per pixel of its sources and of
// its destination, and whether their pointers address one channel of a pixel.
struct Layout {
  int srcBytes;
  int dstBytes;
  bool srcChannel = false;
  bool dstChannel = false;
};

// The layout named by an entry's suffix (C1, C3, AC4, C1C3, C4C, P3C3, 16u...).
Layout LayoutOf(std::string_view entryName);

// What an operand of a form is: read only, or written (in place: read too).
enum class Role { kSource, kDestination };

// The non-image arguments of a call; pointers may be set to null by tests.
struct Arguments {
  int scaleFactor = 0;  // also AbsDiffC's value
  std::array<Ipp8u, 4> constants{};
  std::array<Ipp32u, 4> counts{};
  Ipp8u byteValue = 0;
  int intValue = 0;
  IppiAxis axis = ippAxsHorizontal;
  bool nullConstants = false;
  bool nullPlaneArray = false;
  bool nullResult = false;
  Ipp8u result = 0;  // where Max stores its result

  const Ipp8u* ConstantsPointer() const { return nullConstants ? nullptr : constants.data(); }
  const Ipp32u* CountsPointer() const { return nullConstants ? nullptr : counts.data(); }
};

// Per argument form: the operand roles in argument order, and the call. Some
// forms share one function type (one source or one in-place source; a
// trailing scale factor or AbsDiffC's value), and so one call.
template <class Kernel>
struct Form;

#define QX_ARITH_FORM(KernelType, ...)                                               \
  template <>                                                                        \
  struct Form<fallback::KernelType> {                                                \
    static constexpr auto kRoles = std::to_array<Role>({__VA_ARGS__});               \
    static IppStatus Call(fallback::KernelType* kernel, std::span<const Operand> op, \
                          Arguments& args, IppiSize roi);                            \
  };

constexpr Role kSrc = Role::kSource;
constexpr Role kDst = Role::kDestination;

QX_ARITH_FORM(TwoSourceSfsKernel, kSrc, kSrc, kDst)
QX_ARITH_FORM(TwoSourceKernel, kSrc, kSrc, kDst)
QX_ARITH_FORM(OneSourceKernel, kSrc, kDst)
QX_ARITH_FORM(OneSourceSfsKernel, kSrc, kDst)
QX_ARITH_FORM(InPlaceKernel, kDst)
QX_ARITH_FORM(InPlaceSfsKernel, kDst)
QX_ARITH_FORM(ConstInPlaceSfsKernel, kDst)
QX_ARITH_FORM(ConstInPlaceKernel, kDst)
QX_ARITH_FORM(ByteInPlaceKernel, kDst)
QX_ARITH_FORM(ConstSourceKernel, kSrc, kDst)
QX_ARITH_FORM(ShiftInPlaceKernel, kDst)
QX_ARITH_FORM(ShiftSourceKernel, kSrc, kDst)
QX_ARITH_FORM(MirrorKernel, kSrc, kDst)
QX_ARITH_FORM(MirrorInPlaceKernel, kDst)
QX_ARITH_FORM(Mirror16uKernel, kSrc, kDst)
QX_ARITH_FORM(CopyPlanesKernel, kSrc, kSrc, kSrc, kDst)
QX_ARITH_FORM(MaxKernel, kSrc)
QX_ARITH_FORM(SwapBytesInPlaceKernel, kDst)
QX_ARITH_FORM(SwapBytesKernel, kSrc, kDst)
QX_ARITH_FORM(VectorCopyKernel, kSrc, kDst)
QX_ARITH_FORM(Set16sKernel, kDst)
#undef QX_ARITH_FORM

// One entry: its name and its SIMD and scalar kernels.
template <class Kernel>
struct Entry {
  const char* name;
  Kernel* simd;
  Kernel* reference;
};

// Every entry of the family whose form is `Kernel`.
template <class Kernel>
std::vector<Entry<Kernel>> EntriesOf() {
  std::vector<Entry<Kernel>> entries;
#define QX_COLLECT_ENTRY(type, name)                    \
  if constexpr (std::is_same_v<fallback::type, Kernel>) \
    entries.push_back({#name, &fallback::name, &fallback::reference::name});
  QX_ARITH_KERNELS(QX_COLLECT_ENTRY)
#undef QX_COLLECT_ENTRY
  return entries;
}

// Signal-domain forms: one row, its width the length.
template <class Kernel>
constexpr bool kVectorForm = std::is_same_v<Kernel, fallback::SwapBytesInPlaceKernel> ||
                             std::is_same_v<Kernel, fallback::SwapBytesKernel> ||
                             std::is_same_v<Kernel, fallback::VectorCopyKernel>;

// How the images of one call are shaped: rows without gaps (every step is
// the row), rows stored bottom-up (negative steps), and whether all sources
// share one step (planes).
struct Shape {
  bool contiguous = false;
  bool bottomUp = false;
  bool sharedSourceStep = false;
};

// Images for operands with `roles`, sized by `layout`, channel pointers
// placed on a random channel.
std::vector<GuardedImage> ImagesFor(std::span<const Role> roles, const Layout& layout, IppiSize roi,
                                    const Shape& shape, std::mt19937& random);

template <class Kernel>
std::vector<GuardedImage> ImagesFor(const Layout& layout, IppiSize roi, Shape shape,
                                    std::mt19937& random) {
  shape.sharedSourceStep = std::is_same_v<Kernel, fallback::CopyPlanesKernel>;
  return ImagesFor(Form<Kernel>::kRoles, layout, roi, shape, random);
}

// Random non-image arguments.
Arguments RandomArguments(std::mt19937& random);

// Calls `kernel` with the images' operands.
template <class Kernel>
IppStatus CallWith(Kernel* kernel, std::vector<GuardedImage>& images, Arguments& args,
                   IppiSize roi) {
  std::vector<Operand> operands;
  for (GuardedImage& image : images) operands.push_back(image.AsOperand());
  return Form<Kernel>::Call(kernel, operands, args, roi);
}

// Every instruction set compiled into the kernels that this CPU runs.
std::vector<std::int64_t> KernelTargets();
std::string TargetName(const ::testing::TestParamInfo<std::int64_t>& info);

// A test that runs once per instruction set, the kernels dispatching to it.
class PerTarget : public ::testing::TestWithParam<std::int64_t> {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace qx::arithtest
