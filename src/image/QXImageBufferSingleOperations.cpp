// TQXImageBuffer: inversion and squaring of every channel, in place or from
// a source frame.
#include "dispatch/QXBasicDispatcher.h"
#include "image/QXImageBuffer.h"
#include "image/QXImageOperands.h"
#include "packages/sonquo/IppExtraFunctions.h"
#include "packages/sonquo/SNBasicDispatcher.h"

namespace qx {
namespace {

using detail::CommonRegion;
using detail::CommonSize;
using detail::TFrameInFormat;
using detail::TFrameRegion;

// Squares are halved (scale factor 1), rounded to even.
constexpr int kHalved = 1;

using TInPlace = IppStatus (*)(Ipp8u* pixels, int step, IppiSize size);
using TFromSource = IppStatus (*)(const Ipp8u* source, int sourceStep, Ipp8u* pixels, int step,
                                  IppiSize size);

// One operation for one pixel layout: in place, and from a source.
struct TLayoutKernels {
  TInPlace InPlace;
  TFromSource FromSource;
};

// One operation for 3-byte pixels, 4-byte pixels (alpha kept) and gray
// bytes. The 16-bit formats are worked on through 3-byte pixels.
struct TChannelOperation {
  TLayoutKernels RGB;
  TLayoutKernels RGBA32;
  TLayoutKernels Gray;

  const TLayoutKernels& For(TQXVideoFormat format) const {
    return format == vfRGBA32 ? RGBA32 : format == vfGrayScale ? Gray : RGB;
  }
};

// 255 - v is |v - 255|: the one-byte inversion is a difference with 255.
constexpr TChannelOperation kInvert{
    {[](Ipp8u* p, int s, IppiSize z) { return ippiNot_8u_C3IR(p, s, z); },
     [](const Ipp8u* q, int qs, Ipp8u* p, int s, IppiSize z) {
       return ippiNot_8u_C3R(q, qs, p, s, z);
     }},
    {[](Ipp8u* p, int s, IppiSize z) { return ippiNot_8u_AC4IR(p, s, z); },
     [](const Ipp8u* q, int qs, Ipp8u* p, int s, IppiSize z) {
       return ippiNot_8u_AC4R(q, qs, p, s, z);
     }},
    {[](Ipp8u* p, int s, IppiSize z) { return ippiAbsDiffC_8u_C1R(p, s, p, s, z, 255); },
     [](const Ipp8u* q, int qs, Ipp8u* p, int s, IppiSize z) {
       return ippiAbsDiffC_8u_C1R(q, qs, p, s, z, 255);
     }}};

// A one-byte square is the byte multiplied by itself.
constexpr TChannelOperation kSquare{
    {[](Ipp8u* p, int s, IppiSize z) { return ippiSqr_8u_C3IRSfs(p, s, z, kHalved); },
     [](const Ipp8u* q, int qs, Ipp8u* p, int s, IppiSize z) {
       return ippiSqr_8u_C3RSfs(q, qs, p, s, z, kHalved);
     }},
    {[](Ipp8u* p, int s, IppiSize z) { return ippiSqr_8u_AC4IRSfs(p, s, z, kHalved); },
     [](const Ipp8u* q, int qs, Ipp8u* p, int s, IppiSize z) {
       return ippiSqr_8u_AC4RSfs(q, qs, p, s, z, kHalved);
     }},
    {[](Ipp8u* p, int s, IppiSize z) { return sonquo::ippiMul_8u_C1IRSfs(p, s, p, s, z, kHalved); },
     [](const Ipp8u* q, int qs, Ipp8u* p, int s, IppiSize z) {
       return ippiMul_8u_C1RSfs(q, qs, q, qs, p, s, z, kHalved);
     }}};

bool Is16BitFormat(TQXVideoFormat format) { return format == vfRGB565 || format == vfRGB555; }

// 4:2:2 frames have no per-channel bytes: they are worked on as RGB24.
void PrepareForChannels(TQXImageBuffer& image) {
  if (image.GetFormat() == vfYUY2 || image.GetFormat() == vfUYVY) image.SetFormat(vfRGB24);
}

// A 16-bit frame := operation(source) over their common region. The bytes of
// a 16-bit word straddle its fields, so the operation runs on 3-byte pixels
// (each field widened to a byte with zero low bits) and the result is packed
// back into the frame: every field gets the operation in its own precision.
void ApplyThroughBytes(TQXImageBuffer& image, const IQXImageBuffer& source,
                       const TChannelOperation& operation) {
  const TFrameInFormat bytes(source, vfRGB24);
  const IppiSize size = CommonSize(image, bytes.Get());
  if (size.width <= 0 || size.height <= 0) return;
  auto result = MakeRef<TQXImageBuffer>(static_cast<std::uint32_t>(size.width),
                                        static_cast<std::uint32_t>(size.height), vfRGB24);
  const int resultStep = static_cast<int>(result->GetStep());
  operation.RGB.FromSource(bytes.Get().Read(), static_cast<int>(bytes.Get().GetStep()),
                           result->Write(), resultStep, size);
  const auto pack = image.GetFormat() == vfRGB565 ? sonquo::ippiRGB_8u_C3RToRGB565
                                                  : sonquo::ippiRGB_8u_C3RToRGB555;
  auto* const words = reinterpret_cast<Ipp16u*>(image.Modify());
  pack(result->Read(), resultStep, words, static_cast<int>(image.GetStep()), size);
}

void ApplyInPlace(TQXImageBuffer& image, const TChannelOperation& operation) {
  PrepareForChannels(image);
  if (Is16BitFormat(image.GetFormat())) return ApplyThroughBytes(image, image, operation);
  if (image.GetByteSize() == 0) return;
  Ipp8u* const pixels = image.Modify();
  operation.For(image.GetFormat())
      .InPlace(pixels, static_cast<int>(image.GetStep()), image.GetDimSize());
}

// The source is read in this frame's format (after this frame's own
// preparation); a converted source is a temporary, so it never changes.
void ApplyFromSource(TQXImageBuffer& image, const IQXImageBuffer& source,
                     const TChannelOperation& operation) {
  PrepareForChannels(image);
  if (Is16BitFormat(image.GetFormat())) return ApplyThroughBytes(image, source, operation);
  const TFrameInFormat operand(source, image.GetFormat());
  const TFrameRegion region = CommonRegion(image, operand.Get());
  if (region.IsEmpty()) return;
  operation.For(image.GetFormat())
      .FromSource(region.Operand, region.OperandStep, region.Pixels, region.Step, region.Size);
}

}  // namespace

void TQXImageBuffer::LNot() { ApplyInPlace(*this, kInvert); }

void TQXImageBuffer::LNot(const IQXImageBuffer& source) { ApplyFromSource(*this, source, kInvert); }

void TQXImageBuffer::Sqr() { ApplyInPlace(*this, kSquare); }

void TQXImageBuffer::Sqr(const IQXImageBuffer& source) { ApplyFromSource(*this, source, kSquare); }

}  // namespace qx
