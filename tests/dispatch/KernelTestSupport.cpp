#include "KernelTestSupport.h"

#include <algorithm>

#include "hwy/targets.h"

namespace qx::kerneltest {

GuardedImage::GuardedImage(int rowBytes, int height, int padding, bool bottomUp, int offset,
                           int lead, std::mt19937& random)
    : fLead(lead),
      fRowBytes(rowBytes),
      fHeight(height),
      fStride(rowBytes + padding),
      fBottomUp(bottomUp),
      fOffset(offset),
      fBuffer(lead + static_cast<std::size_t>(fStride) * height + 64) {
  std::generate(fBuffer.begin(), fBuffer.end(), [&random] { return static_cast<Ipp8u>(random()); });
}

std::size_t GuardedImage::Index(int x, int y) const {
  const std::size_t row = static_cast<std::size_t>(fBottomUp ? fHeight - 1 - y : y);
  return fLead + row * fStride + x;
}

Operand GuardedImage::AsOperand() {
  return {fBuffer.data() + Index(fOffset, 0), fBottomUp ? -fStride : fStride};
}

Ipp8u& GuardedImage::At(int x, int y) { return fBuffer[Index(x, y)]; }

bool GuardedImage::GuardsIntact(const GuardedImage& before) const {
  for (std::size_t i = 0; i < fBuffer.size(); ++i) {
    const std::ptrdiff_t inRows = static_cast<std::ptrdiff_t>(i) - fLead;
    const bool inRegion =
        inRows >= 0 && inRows < std::ptrdiff_t{fStride} * fHeight && inRows % fStride < fRowBytes;
    if (!inRegion && fBuffer[i] != before.fBuffer[i]) return false;
  }
  return true;
}

std::vector<GuardedImage> ImagesFor(std::span<const Role> roles, const Layout& layout, IppiSize roi,
                                    std::mt19937& random, bool varied, int stepAlignment,
                                    bool sharedSourceStep) {
  const bool contiguous = varied && std::bernoulli_distribution(0.25)(random);
  const bool bottomUp = varied && std::bernoulli_distribution(0.15)(random);
  const auto padding = [&](int rowBytes) {
    if (contiguous) return 0;
    const int step = rowBytes + std::uniform_int_distribution<int>(0, 9)(random);
    return (step + stepAlignment - 1) / stepAlignment * stepAlignment - rowBytes;
  };
  const int sourcePadding = padding(roi.width * layout.srcBytes);
  std::vector<GuardedImage> images;
  for (Role role : roles) {
    const bool source = role == kSrc;
    const int pixelBytes = source ? layout.srcBytes : layout.dstBytes;
    const bool channel = source ? layout.srcChannel : layout.dstChannel;
    const int offset = channel ? std::uniform_int_distribution<int>(0, pixelBytes - 1)(random) : 0;
    const int rowBytes = roi.width * pixelBytes;
    // An odd lead leaves every row unaligned; 16-bit pixels need an even one.
    const int lead = pixelBytes == 2 ? 66 : 67;
    images.emplace_back(rowBytes, roi.height,
                        source && sharedSourceStep ? sourcePadding : padding(rowBytes), bottomUp,
                        offset, lead, random);
  }
  return images;
}

std::vector<int> DifferentialWidths() {
  std::vector<int> widths;
  for (int width = 1; width <= 70; ++width) widths.push_back(width);
  widths.insert(widths.end(), {127, 128, 129, 255, 256, 640, 1001, 1921});
  return widths;
}

IppStatus Run(const KernelCall& kernel, std::vector<GuardedImage>& images, IppiSize roi) {
  std::vector<Operand> operands;
  for (GuardedImage& image : images) operands.push_back(image.AsOperand());
  return kernel(operands, roi);
}

void ExpectSameResults(const std::vector<GuardedImage>& images, IppiSize roi,
                       const KernelCall& simd, const KernelCall& reference) {
  SCOPED_TRACE(testing::Message() << roi.width << "x" << roi.height);
  std::vector<GuardedImage> simdImages = images;
  std::vector<GuardedImage> referenceImages = images;
  ASSERT_EQ(Run(simd, simdImages, roi), Run(reference, referenceImages, roi));
  for (std::size_t i = 0; i < images.size(); ++i) {
    ASSERT_TRUE(simdImages[i].Buffer() == referenceImages[i].Buffer()) << "operand " << i;
    ASSERT_TRUE(referenceImages[i].GuardsIntact(images[i])) << "operand " << i;
  }
}

void ExpectSameAsReference(std::span<const Role> roles, const Layout& layout,
                           const KernelCall& simd, const KernelCall& reference, int stepAlignment) {
  ForEachTarget([&] {
    std::mt19937 random(20240611);
    for (int width : DifferentialWidths()) {
      const IppiSize roi{width, std::uniform_int_distribution<int>(1, 4)(random)};
      ExpectSameResults(ImagesFor(roles, layout, roi, random, true, stepAlignment), roi, simd,
                        reference);
      if (::testing::Test::HasFatalFailure()) return;
    }
  });
}

void ForEachTarget(const std::function<void()>& body) {
  for (std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
    if (target == HWY_SSSE3) continue;  // not compiled into the kernels
    hwy::SetSupportedTargetsForTest(target);
    SCOPED_TRACE(hwy::TargetName(target));
    body();
    if (::testing::Test::HasFatalFailure()) break;
  }
  hwy::SetSupportedTargetsForTest(0);
}

}  // namespace qx::kerneltest
