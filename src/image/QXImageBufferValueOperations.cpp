// TQXImageBuffer: arithmetic, logic and shifts of every pixel with one value
// (a colour, a packed colour or a colour with alpha).
#include <array>
#include <cstdint>

#include "dispatch/QXBasicDispatcher.h"
#include "image/QXImageBuffer.h"

namespace qx {
namespace {

// Every arithmetic result is halved (scale factor 1), rounded to even.
constexpr int kHalved = 1;

// A value operand in the byte order of a pixel: blue, green, red, alpha.
struct TValueOperand {
  std::array<std::uint8_t, 4> Bytes;
  // Whether the operand has an alpha byte to apply to the alpha of RGBA32.
  bool HasAlpha;
};

TValueOperand ColorOperand(std::uint32_t color) {
  return {{QXBlueOf(color), QXGreenOf(color), QXRedOf(color), 0}, false};
}

TValueOperand PackedOperand(TQXPackedColor value) {
  const std::uint32_t v = value.Value;
  return {{QXBlueOf(v), QXGreenOf(v), QXRedOf(v), static_cast<std::uint8_t>(v >> 24)}, true};
}

// The entries of one value operation: AC4 for a colour on RGBA32 (alpha
// kept; null where the operation has none, and then C4 applies an alpha
// operand of 0), C4 for a packed colour on RGBA32, C3 for every other format.
template <class Kernel>
struct TValueKernels {
  const Kernel* AC4;
  const Kernel* C4;
  const Kernel* C3;
};

// The element of a kernel's constant array: a byte, or a 32-bit shift count.
template <class Kernel>
struct TConstantElement;
template <class Element, class... Rest>
struct TConstantElement<IppStatus (*)(const Element*, Rest...)> {
  using Type = Element;
};

// Frames the value kernels have no layout for are worked on as RGB24.
void PrepareForValue(TQXImageBuffer& image) {
  const TQXVideoFormat format = image.GetFormat();
  if (format != vfRGB24 && format != vfRGB && format != vfRGBA32) image.SetFormat(vfRGB24);
}

template <class Kernel, class... ScaleFactor>
void ApplyValue(TQXImageBuffer& image, const TValueKernels<Kernel>& kernels,
                const TValueOperand& operand, ScaleFactor... scaleFactor) {
  PrepareForValue(image);
  if (image.GetByteSize() == 0) return;
  const Kernel* kernel = kernels.C3;
  if (image.GetFormat() == vfRGBA32) {
    kernel = operand.HasAlpha || kernels.AC4 == nullptr ? kernels.C4 : kernels.AC4;
  }
  using Element = typename TConstantElement<Kernel>::Type;
  const std::array<Element, 4> constants{operand.Bytes[0], operand.Bytes[1], operand.Bytes[2],
                                         operand.Bytes[3]};
  Ipp8u* const pixels = image.Modify();
  (*kernel)(constants.data(), pixels, static_cast<int>(image.GetStep()), image.GetDimSize(),
            scaleFactor...);
}

constexpr TValueKernels<TIppiConstInPlaceSfs> kAdd{&ippiAddC_8u_AC4IRSfs, &ippiAddC_8u_C4IRSfs,
                                                   &ippiAddC_8u_C3IRSfs};
// No entry subtracts a colour and keeps alpha.
constexpr TValueKernels<TIppiConstInPlaceSfs> kSubtract{nullptr, &ippiSubC_8u_C4IRSfs,
                                                        &ippiSubC_8u_C3IRSfs};
constexpr TValueKernels<TIppiConstInPlaceSfs> kMultiply{&ippiMulC_8u_AC4IRSfs, &ippiMulC_8u_C4IRSfs,
                                                        &ippiMulC_8u_C3IRSfs};
constexpr TValueKernels<TIppiConstInPlace> kMultiplyScale{
    &ippiMulCScale_8u_AC4IR, &ippiMulCScale_8u_C4IR, &ippiMulCScale_8u_C3IR};
constexpr TValueKernels<TIppiConstInPlaceSfs> kDivide{&ippiDivC_8u_AC4IRSfs, &ippiDivC_8u_C4IRSfs,
                                                      &ippiDivC_8u_C3IRSfs};
constexpr TValueKernels<TIppiConstInPlace> kAnd{&ippiAndC_8u_AC4IR, &ippiAndC_8u_C4IR,
                                                &ippiAndC_8u_C3IR};
constexpr TValueKernels<TIppiConstInPlace> kOr{&ippiOrC_8u_AC4IR, &ippiOrC_8u_C4IR,
                                               &ippiOrC_8u_C3IR};
constexpr TValueKernels<TIppiConstInPlace> kXor{&ippiXorC_8u_AC4IR, &ippiXorC_8u_C4IR,
                                                &ippiXorC_8u_C3IR};
constexpr TValueKernels<TIppiShiftInPlace> kLShift{&ippiLShiftC_8u_AC4IR, &ippiLShiftC_8u_C4IR,
                                                   &ippiLShiftC_8u_C3IR};
constexpr TValueKernels<TIppiShiftInPlace> kRShift{&ippiRShiftC_8u_AC4IR, &ippiRShiftC_8u_C4IR,
                                                   &ippiRShiftC_8u_C3IR};

}  // namespace

// The three operand forms of value operation `name`; a colour with alpha is
// the packed colour of the two. The optional argument is the scale factor.
#define QX_VALUE_OPERATION(name, kernels, ...)                                   \
  void TQXImageBuffer::name(std::uint32_t color) {                               \
    ApplyValue(*this, kernels, ColorOperand(color) __VA_OPT__(, ) __VA_ARGS__);  \
  }                                                                              \
  void TQXImageBuffer::name(std::uint32_t color, std::uint8_t alpha) {           \
    name(QXPackedColor(color, alpha));                                           \
  }                                                                              \
  void TQXImageBuffer::name(TQXPackedColor value) {                              \
    ApplyValue(*this, kernels, PackedOperand(value) __VA_OPT__(, ) __VA_ARGS__); \
  }

QX_VALUE_OPERATION(AddValue, kAdd, kHalved)
QX_VALUE_OPERATION(SubtractValue, kSubtract, kHalved)
QX_VALUE_OPERATION(MultiplyValue, kMultiply, kHalved)
QX_VALUE_OPERATION(MultiplyScaleValue, kMultiplyScale)
QX_VALUE_OPERATION(DivideValue, kDivide, kHalved)
QX_VALUE_OPERATION(LAndValue, kAnd)
QX_VALUE_OPERATION(LOrValue, kOr)
QX_VALUE_OPERATION(LXorValue, kXor)
QX_VALUE_OPERATION(LShiftValue, kLShift)
QX_VALUE_OPERATION(RShiftValue, kRShift)

#undef QX_VALUE_OPERATION

}  // namespace qx
