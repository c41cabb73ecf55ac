#include "ArithTestSupport.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "hwy/targets.h"

namespace qx::arithtest {

GuardedImage::GuardedImage(int rowBytes, int height, int padding, bool bottomUp, int offset,
                           int lead, std::mt19937& random)
    : fLead(lead),
      fRowBytes(rowBytes),
      fHeight(height),
      fStride(rowBytes + padding),
      fBottomUp(bottomUp),
      fOffset(offset),
      fBuffer(lead + static_cast<std::size_t>(fStride) * height + kTail) {
  std::generate(fBuffer.begin(), fBuffer.end(), [&random] { return static_cast<Ipp8u>(random()); });
  fOriginal = fBuffer;
}

std::size_t GuardedImage::MemoryRow(int y) const {
  return static_cast<std::size_t>(fBottomUp ? fHeight - 1 - y : y);
}

Operand GuardedImage::AsOperand() {
  return {fBuffer.data() + fLead + MemoryRow(0) * fStride + fOffset,
          fBottomUp ? -fStride : fStride};
}

Ipp8u& GuardedImage::At(int x, int y) { return fBuffer[fLead + MemoryRow(y) * fStride + x]; }

bool GuardedImage::GuardsIntact() const {
  for (std::size_t i = 0; i < fBuffer.size(); ++i) {
    const std::size_t lead = static_cast<std::size_t>(fLead);
    const bool inRows = i >= lead && i < lead + static_cast<std::size_t>(fStride) * fHeight;
    const bool inRegion = inRows && (i - lead) % fStride < static_cast<std::size_t>(fRowBytes);
    if (!inRegion && fBuffer[i] != fOriginal[i]) return false;
  }
  return true;
}

Layout LayoutOf(std::string_view entryName) {
  const std::string name(entryName);
  if (name.find("_16u") != std::string::npos || name.find("_16s") != std::string::npos)
    return {2, 2};
  std::string suffix = name.substr(name.rfind('_') + 1);  // C3IRSfs, AC4C3R, C4CR, 8u...
  if (suffix == "8u") return {1, 1};                      // ippsCopy_8u
  for (const char* tail : {"Sfs", "R", "I"})
    if (suffix.ends_with(tail)) suffix.resize(suffix.size() - std::string_view(tail).size());
  const bool oneChannel = suffix.ends_with("C") && suffix.size() > 1 &&
                          std::isdigit(static_cast<unsigned char>(suffix[suffix.size() - 2]));
  if (oneChannel) suffix.pop_back();  // C3C, C4C: a channel of 3- or 4-byte pixels
  // Tokens AC4, C1, C3, C4 and P3 (planes of one byte), left to right.
  std::vector<int> bytes;
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (suffix.compare(i, 3, "AC4") == 0) {
      bytes.push_back(4);
      i += 2;
    } else if (i + 1 < suffix.size() && (suffix[i] == 'C' || suffix[i] == 'P')) {
      const int digit = suffix[i + 1] - '0';
      bytes.push_back(suffix[i] == 'P' ? 1 : digit);
      ++i;
    }
  }
  Layout layout{bytes.front(), bytes.back()};
  if (oneChannel) {
    layout.dstChannel = true;
    layout.srcChannel = true;  // C4CR copies channel to channel; Set has no source
  } else if (bytes.size() == 2 && bytes[0] == 1 && suffix.front() == 'C') {
    layout.dstChannel = true;  // C1C3, C1C4: a plane into a channel
  } else if (bytes.size() == 2 && bytes[1] == 1) {
    layout.srcChannel = true;  // C3C1, C4C1: a channel into a plane
  }
  return layout;
}

std::vector<GuardedImage> ImagesFor(std::span<const Role> roles, const Layout& layout, IppiSize roi,
                                    const Shape& shape, std::mt19937& random) {
  std::uniform_int_distribution<int> paddings(0, 9);
  const int sourcePadding = shape.contiguous ? 0 : paddings(random);
  std::vector<GuardedImage> images;
  for (Role role : roles) {
    const bool source = role == Role::kSource;
    const int pixelBytes = source ? layout.srcBytes : layout.dstBytes;
    const bool channel = source ? layout.srcChannel : layout.dstChannel;
    const int offset = channel ? std::uniform_int_distribution<int>(0, pixelBytes - 1)(random) : 0;
    const int padding = shape.contiguous
                            ? 0
                            : (source && shape.sharedSourceStep ? sourcePadding : paddings(random));
    // 16-bit pixels start on an even address, as their pointer type requires.
    const int lead = pixelBytes == 2 ? 66 : 67;
    images.emplace_back(roi.width * pixelBytes, roi.height, padding, shape.bottomUp, offset, lead,
                        random);
  }
  return images;
}

Arguments RandomArguments(std::mt19937& random) {
  const auto chance = [&random](double p) { return std::bernoulli_distribution(p)(random); };
  const auto uniform = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  Arguments args;
  static constexpr int kExtremeScales[] = {INT_MIN, -1000, -16, -15, -9,   -8,
                                           17,      19,    31,  32,  1000, INT_MAX};
  args.scaleFactor =
      chance(0.85) ? uniform(-10, 18) : kExtremeScales[uniform(0, std::size(kExtremeScales) - 1)];
  for (Ipp8u& constant : args.constants)
    constant = chance(0.15) ? 0 : static_cast<Ipp8u>(uniform(0, 255));
  if (chance(0.3)) {
    args.counts.fill(static_cast<Ipp32u>(uniform(0, 9)));  // one count for every channel
  } else if (chance(0.1)) {
    for (Ipp32u& count : args.counts) count = static_cast<Ipp32u>(uniform(8, 40));
  } else {
    for (Ipp32u& count : args.counts) count = static_cast<Ipp32u>(uniform(0, 9));
  }
  args.byteValue = static_cast<Ipp8u>(uniform(0, 255));
  args.intValue = uniform(-32768, 32767);
  args.axis = static_cast<IppiAxis>(chance(0.05) ? 3 : uniform(0, 2));
  return args;
}

// --- The calls of each form --------------------------------------------------------

using namespace fallback;

#define QX_FORM_CALL(KernelType)                                               \
  IppStatus Form<KernelType>::Call(KernelType* k, std::span<const Operand> op, \
                                   [[maybe_unused]] Arguments& a, IppiSize roi)

QX_FORM_CALL(TwoSourceSfsKernel) {
  return k(op[0].origin, op[0].step, op[1].origin, op[1].step, op[2].origin, op[2].step, roi,
           a.scaleFactor);
}
QX_FORM_CALL(TwoSourceKernel) {
  return k(op[0].origin, op[0].step, op[1].origin, op[1].step, op[2].origin, op[2].step, roi);
}
QX_FORM_CALL(OneSourceKernel) { return k(op[0].origin, op[0].step, op[1].origin, op[1].step, roi); }
QX_FORM_CALL(OneSourceSfsKernel) {
  return k(op[0].origin, op[0].step, op[1].origin, op[1].step, roi, a.scaleFactor);
}
QX_FORM_CALL(InPlaceKernel) { return k(op[0].origin, op[0].step, roi); }
QX_FORM_CALL(InPlaceSfsKernel) { return k(op[0].origin, op[0].step, roi, a.scaleFactor); }
QX_FORM_CALL(ConstInPlaceSfsKernel) {
  return k(a.ConstantsPointer(), op[0].origin, op[0].step, roi, a.scaleFactor);
}
QX_FORM_CALL(ConstInPlaceKernel) { return k(a.ConstantsPointer(), op[0].origin, op[0].step, roi); }
QX_FORM_CALL(ByteInPlaceKernel) { return k(a.byteValue, op[0].origin, op[0].step, roi); }
QX_FORM_CALL(ConstSourceKernel) {
  return k(op[0].origin, op[0].step, a.ConstantsPointer(), op[1].origin, op[1].step, roi);
}
QX_FORM_CALL(ShiftInPlaceKernel) { return k(a.CountsPointer(), op[0].origin, op[0].step, roi); }
QX_FORM_CALL(ShiftSourceKernel) {
  return k(op[0].origin, op[0].step, a.CountsPointer(), op[1].origin, op[1].step, roi);
}
QX_FORM_CALL(MirrorKernel) {
  return k(op[0].origin, op[0].step, op[1].origin, op[1].step, roi, a.axis);
}
QX_FORM_CALL(MirrorInPlaceKernel) { return k(op[0].origin, op[0].step, roi, a.axis); }
QX_FORM_CALL(Mirror16uKernel) {
  return k(reinterpret_cast<const Ipp16u*>(op[0].origin), op[0].step,
           reinterpret_cast<Ipp16u*>(op[1].origin), op[1].step, roi, a.axis);
}
QX_FORM_CALL(CopyPlanesKernel) {
  const Ipp8u* const planes[3] = {op[0].origin, op[1].origin, op[2].origin};
  return k(a.nullPlaneArray ? nullptr : planes, op[0].step, op[3].origin, op[3].step, roi);
}
QX_FORM_CALL(MaxKernel) {
  return k(op[0].origin, op[0].step, roi, a.nullResult ? nullptr : &a.result);
}
QX_FORM_CALL(SwapBytesInPlaceKernel) {
  return k(reinterpret_cast<Ipp16u*>(op[0].origin), roi.width);
}
QX_FORM_CALL(SwapBytesKernel) {
  return k(reinterpret_cast<const Ipp16u*>(op[0].origin), reinterpret_cast<Ipp16u*>(op[1].origin),
           roi.width);
}
QX_FORM_CALL(VectorCopyKernel) { return k(op[0].origin, op[1].origin, roi.width); }
QX_FORM_CALL(Set16sKernel) {
  return k(static_cast<Ipp16s>(a.intValue), reinterpret_cast<Ipp16s*>(op[0].origin), op[0].step,
           roi);
}
#undef QX_FORM_CALL

// --- Instruction sets --------------------------------------------------------------

std::vector<std::int64_t> KernelTargets() {
  std::vector<std::int64_t> targets = hwy::SupportedAndGeneratedTargets();
  std::erase(targets, std::int64_t{HWY_SSSE3});  // not compiled into the kernels
  return targets;
}

std::string TargetName(const ::testing::TestParamInfo<std::int64_t>& info) {
  return hwy::TargetName(info.param);
}

void PerTarget::SetUp() { hwy::SetSupportedTargetsForTest(GetParam()); }
void PerTarget::TearDown() { hwy::SetSupportedTargetsForTest(0); }

}  // namespace qx::arithtest
