// TQXImageBuffer: operations between two frames -- arithmetic, logic,
// absolute difference and alpha compositing -- over their common region.
#include "dispatch/QXBasicDispatcher.h"
#include "image/QXImageBuffer.h"
#include "image/QXImageOperands.h"
#include "packages/sonquo/SNBasicDispatcher.h"
#include "packages/zenthic/ZTBasicDispatcher.h"

namespace qx {
namespace {

using detail::CommonRegion;
using detail::TFrameInFormat;
using detail::TFrameRegion;

// Every arithmetic result is halved (scale factor 1), rounded to even.
constexpr int kHalved = 1;
// The alpha byte of an RGBA32 pixel.
constexpr int kAlpha = 3;

// 4:2:2 and 16-bit pixels have no byte per channel for the kernels.
bool LacksChannelBytes(TQXVideoFormat format) {
  return format == vfYUY2 || format == vfUYVY || format == vfRGB565 || format == vfRGB555;
}

// Brings `image` into a format the two-frame kernels work on and returns
// `other` as seen in that format: frames of different formats meet in RGBA32
// when `image` is RGBA32 and in RGB24 otherwise; 4:2:2 and 16-bit frames
// become RGB24; RGB24, RGB, RGBA32 and gray frames of the same format stay as
// they are.
TFrameInFormat PrepareTwoFrames(TQXImageBuffer& image, const IQXImageBuffer& other) {
  if (other.GetFormat() != image.GetFormat() && image.GetFormat() != vfRGBA32) {
    image.SetFormat(vfRGB24);
  }
  if (LacksChannelBytes(image.GetFormat())) image.SetFormat(vfRGB24);
  return TFrameInFormat(other, image.GetFormat());
}

// The in-place entries of one two-frame operation for each prepared format
// (RGBA32 keeping alpha, gray, RGB24 and RGB).
template <class Kernel>
struct TFrameKernels {
  const Kernel* RGBA32;
  const Kernel* Gray;
  const Kernel* RGB;
};

template <class Kernel, class... ScaleFactor>
void Combine(TQXImageBuffer& image, const IQXImageBuffer& other,
             const TFrameKernels<Kernel>& kernels, ScaleFactor... scaleFactor) {
  const TFrameInFormat operand = PrepareTwoFrames(image, other);
  const TFrameRegion region = CommonRegion(image, operand.Get());
  if (region.IsEmpty()) return;
  const TQXVideoFormat format = image.GetFormat();
  const Kernel* kernel = format == vfRGBA32      ? kernels.RGBA32
                         : format == vfGrayScale ? kernels.Gray
                                                 : kernels.RGB;
  (*kernel)(region.Operand, region.OperandStep, region.Pixels, region.Step, region.Size,
            scaleFactor...);
}

constexpr TFrameKernels<TIppiSourceInPlaceSfs> kAdd{
    &ippiAdd_8u_AC4IRSfs, &sonquo::ippiAdd_8u_C1IRSfs, &ippiAdd_8u_C3IRSfs};
constexpr TFrameKernels<TIppiSourceInPlaceSfs> kSubtract{
    &ippiSub_8u_AC4IRSfs, &sonquo::ippiSub_8u_C1IRSfs, &ippiSub_8u_C3IRSfs};
constexpr TFrameKernels<TIppiSourceInPlaceSfs> kMultiply{
    &ippiMul_8u_AC4IRSfs, &sonquo::ippiMul_8u_C1IRSfs, &ippiMul_8u_C3IRSfs};
constexpr TFrameKernels<TIppiSourceInPlace> kMultiplyScale{
    &ippiMulScale_8u_AC4IR, &ippiMulScale_8u_C1IR, &ippiMulScale_8u_C3IR};
constexpr TFrameKernels<TIppiSourceInPlaceSfs> kDivide{
    &ippiDiv_8u_AC4IRSfs, &sonquo::ippiDiv_8u_C1IRSfs, &ippiDiv_8u_C3IRSfs};
constexpr TFrameKernels<TIppiSourceInPlace> kAnd{&ippiAnd_8u_AC4IR, &ippiAnd_8u_C1IR,
                                                 &ippiAnd_8u_C3IR};
constexpr TFrameKernels<TIppiSourceInPlace> kOr{&ippiOr_8u_AC4IR, &ippiOr_8u_C1IR, &ippiOr_8u_C3IR};
constexpr TFrameKernels<TIppiSourceInPlace> kXor{&ippiXor_8u_AC4IR, &ippiXor_8u_C1IR,
                                                 &ippiXor_8u_C3IR};

}  // namespace

// X(b) combines this frame with b; X(a, b) first makes this frame share a's
// pixels. The optional argument is the scale factor.
#define QX_FRAME_OPERATION(name, kernels, ...)                                  \
  void TQXImageBuffer::name(const IQXImageBuffer& b) {                          \
    Combine(*this, b, kernels __VA_OPT__(, ) __VA_ARGS__);                      \
  }                                                                             \
  void TQXImageBuffer::name(const IQXImageBuffer& a, const IQXImageBuffer& b) { \
    Assign(a);                                                                  \
    name(b);                                                                    \
  }

QX_FRAME_OPERATION(Add, kAdd, kHalved)
QX_FRAME_OPERATION(Subtract, kSubtract, kHalved)
QX_FRAME_OPERATION(Multiply, kMultiply, kHalved)
QX_FRAME_OPERATION(MultiplyScale, kMultiplyScale)
QX_FRAME_OPERATION(Divide, kDivide, kHalved)
QX_FRAME_OPERATION(LAnd, kAnd)
QX_FRAME_OPERATION(LOr, kOr)
QX_FRAME_OPERATION(LXor, kXor)

#undef QX_FRAME_OPERATION

void TQXImageBuffer::AbsDiff(const IQXImageBuffer& b) {
  const TFrameInFormat operand = PrepareTwoFrames(*this, b);
  const TFrameRegion region = CommonRegion(*this, operand.Get());
  if (region.IsEmpty()) return;
  // The difference is the same for every byte, so rows are differenced as
  // runs of bytes.
  const IppiSize bytes{region.Size.width * static_cast<int>(FBytesPerPixel), region.Size.height};
  if (FFormat != vfRGBA32) {
    ippiAbsDiff_8u_C1R(region.Operand, region.OperandStep, region.Pixels, region.Step,
                       region.Pixels, region.Step, bytes);
    return;
  }
  // No entry keeps alpha while differencing: it is put aside and restored.
  auto alpha = MakeRef<TQXImageBuffer>(static_cast<std::uint32_t>(region.Size.width),
                                       static_cast<std::uint32_t>(region.Size.height), vfGrayScale);
  const int alphaStep = static_cast<int>(alpha->GetStep());
  ippiCopy_8u_C4C1R(region.Pixels + kAlpha, region.Step, alpha->Write(), alphaStep, region.Size);
  ippiAbsDiff_8u_C1R(region.Operand, region.OperandStep, region.Pixels, region.Step, region.Pixels,
                     region.Step, bytes);
  ippiCopy_8u_C1C4R(alpha->Read(), alphaStep, region.Pixels + kAlpha, region.Step, region.Size);
}

void TQXImageBuffer::AbsDiff(const IQXImageBuffer& a, const IQXImageBuffer& b) {
  Assign(a);
  AbsDiff(b);
}

void TQXImageBuffer::AlphaComp(const IQXImageBuffer& other, TQXAlphaCompOperation operation) {
  SetFormat(vfRGBA32);
  const TFrameInFormat upper(other, vfRGBA32);
  const TFrameRegion region = CommonRegion(*this, upper.Get());
  if (region.IsEmpty()) return;
  zenthic::ippiAlphaComp_8u_AC4R(region.Operand, region.OperandStep, region.Pixels, region.Step,
                                 region.Pixels, region.Step, region.Size,
                                 static_cast<IppiAlphaType>(operation));
}

}  // namespace qx
