// Test support for the arithmetic, logic, copy and mirror kernels: the
// entries of each argument form with their SIMD and scalar versions, and a
// uniform way to call an entry of any form on guarded images.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

#include "KernelTestSupport.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/arith/ArithReference.h"

namespace qx::arithtest {

using namespace kerneltest;

// The layout named by an entry's suffix (C1, C3, AC4, C1C3, C4C, P3C3, 16u...).
Layout LayoutOf(std::string_view entryName);

// The non-image arguments of a call.
struct Arguments {
  int scaleFactor = 0;  // also AbsDiffC's value
  std::array<Ipp8u, 4> constants{};
  std::array<Ipp32u, 4> counts{};
  int value = 0;  // Set's pixel value
  IppiAxis axis = ippAxsHorizontal;
  Ipp8u result = 0;  // where Max stores its result
};

// Random non-image arguments, extreme scale factors and shift counts included.
Arguments RandomArguments(std::mt19937& random);

// Per argument form: the operand roles in argument order, and the call. Some
// forms share one function type (one source or one in-place source; a
// trailing scale factor or AbsDiffC's value), and so one call.
template <class Kernel>
struct Form;

#define QX_ROLE_LIST(...) __VA_ARGS__
#define QX_ARITH_FORM(KernelType, roles, ...)                                   \
  template <>                                                                   \
  struct Form<fallback::KernelType> {                                           \
    static constexpr auto kRoles = std::to_array<Role>({QX_ROLE_LIST roles});   \
    static IppStatus Call(fallback::KernelType* k, std::span<const Operand> op, \
                          [[maybe_unused]] Arguments& a, IppiSize roi) {        \
      return k(__VA_ARGS__);                                                    \
    }                                                                           \
  };
// Operand i as its pointer (cast to T* for 16-bit images) and its step.
#define QX_IMAGE(i) op[i].origin, op[i].step
#define QX_WORDS(T, i) reinterpret_cast<T*>(op[i].origin), op[i].step

QX_ARITH_FORM(TwoSourceSfsKernel, (kSrc, kSrc, kDst), QX_IMAGE(0), QX_IMAGE(1), QX_IMAGE(2), roi,
              a.scaleFactor)
QX_ARITH_FORM(TwoSourceKernel, (kSrc, kSrc, kDst), QX_IMAGE(0), QX_IMAGE(1), QX_IMAGE(2), roi)
QX_ARITH_FORM(OneSourceKernel, (kSrc, kDst), QX_IMAGE(0), QX_IMAGE(1), roi)
QX_ARITH_FORM(OneSourceSfsKernel, (kSrc, kDst), QX_IMAGE(0), QX_IMAGE(1), roi, a.scaleFactor)
QX_ARITH_FORM(InPlaceKernel, (kDst), QX_IMAGE(0), roi)
QX_ARITH_FORM(InPlaceSfsKernel, (kDst), QX_IMAGE(0), roi, a.scaleFactor)
QX_ARITH_FORM(ConstInPlaceSfsKernel, (kDst), a.constants.data(), QX_IMAGE(0), roi, a.scaleFactor)
QX_ARITH_FORM(ConstInPlaceKernel, (kDst), a.constants.data(), QX_IMAGE(0), roi)
QX_ARITH_FORM(ByteInPlaceKernel, (kDst), static_cast<Ipp8u>(a.value), QX_IMAGE(0), roi)
QX_ARITH_FORM(ConstSourceKernel, (kSrc, kDst), QX_IMAGE(0), a.constants.data(), QX_IMAGE(1), roi)
QX_ARITH_FORM(ShiftInPlaceKernel, (kDst), a.counts.data(), QX_IMAGE(0), roi)
QX_ARITH_FORM(ShiftSourceKernel, (kSrc, kDst), QX_IMAGE(0), a.counts.data(), QX_IMAGE(1), roi)
QX_ARITH_FORM(MirrorKernel, (kSrc, kDst), QX_IMAGE(0), QX_IMAGE(1), roi, a.axis)
QX_ARITH_FORM(MirrorInPlaceKernel, (kDst), QX_IMAGE(0), roi, a.axis)
QX_ARITH_FORM(Mirror16uKernel, (kSrc, kDst), QX_WORDS(const Ipp16u, 0), QX_WORDS(Ipp16u, 1), roi,
              a.axis)
QX_ARITH_FORM(CopyPlanesKernel, (kSrc, kSrc, kSrc, kDst),
              std::array<const Ipp8u*, 3>{op[0].origin, op[1].origin, op[2].origin}.data(),
              op[0].step, QX_IMAGE(3), roi)
QX_ARITH_FORM(MaxKernel, (kSrc), QX_IMAGE(0), roi, &a.result)
QX_ARITH_FORM(SwapBytesInPlaceKernel, (kDst), reinterpret_cast<Ipp16u*>(op[0].origin), roi.width)
QX_ARITH_FORM(SwapBytesKernel, (kSrc, kDst), reinterpret_cast<const Ipp16u*>(op[0].origin),
              reinterpret_cast<Ipp16u*>(op[1].origin), roi.width)
QX_ARITH_FORM(VectorCopyKernel, (kSrc, kDst), op[0].origin, op[1].origin, roi.width)
QX_ARITH_FORM(Set16sKernel, (kDst), static_cast<Ipp16s>(a.value), QX_WORDS(Ipp16s, 0), roi)
#undef QX_WORDS
#undef QX_IMAGE
#undef QX_ARITH_FORM
#undef QX_ROLE_LIST

// Calls `visit(name, simd, reference)` for every entry, with its SIMD and
// scalar kernels.
template <class Visitor>
void ForEachEntry(Visitor&& visit) {
#define QX_VISIT_ENTRY(type, name) visit(#name, &fallback::name, &fallback::reference::name);
  QX_ARITH_KERNELS(QX_VISIT_ENTRY)
#undef QX_VISIT_ENTRY
}

// Signal-domain forms: one row, its width the length.
template <class Kernel>
constexpr bool kVectorForm = std::is_same_v<Kernel, fallback::SwapBytesInPlaceKernel> ||
                             std::is_same_v<Kernel, fallback::SwapBytesKernel> ||
                             std::is_same_v<Kernel, fallback::VectorCopyKernel>;

// Images for the operands of the entry `name` of form `Kernel`; planes share one step.
template <class Kernel>
std::vector<GuardedImage> ImagesFor(std::string_view name, IppiSize roi, std::mt19937& random,
                                    bool varied = false) {
  return kerneltest::ImagesFor(Form<Kernel>::kRoles, LayoutOf(name), roi, random, varied, 1,
                               std::is_same_v<Kernel, fallback::CopyPlanesKernel>);
}

// `kernel` with the non-image arguments `args` (where Max leaves its result).
template <class Kernel>
KernelCall Bind(Kernel* kernel, Arguments& args) {
  return [kernel, &args](std::span<const Operand> operands, IppiSize roi) {
    return Form<Kernel>::Call(kernel, operands, args, roi);
  };
}

}  // namespace qx::arithtest
