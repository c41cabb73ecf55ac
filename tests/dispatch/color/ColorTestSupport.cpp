#include "ColorTestSupport.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <random>

namespace qx::test {

GuardedImage::GuardedImage(int rowBytes, int height, int step, std::uint32_t seed)
    : fRowBytes(rowBytes),
      fHeight(height),
      fStep(step),
      fBuffer(static_cast<std::size_t>(2 * kGuard + std::ptrdiff_t{step} * height)) {
  std::mt19937 random(seed);
  for (Ipp8u& byte : fBuffer) byte = static_cast<Ipp8u>(random());
  fOriginal = fBuffer;
}

bool GuardedImage::GuardsIntact() const {
  for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(fBuffer.size()); ++i) {
    const std::ptrdiff_t offset = i - kGuard;
    const bool inRegion =
        offset >= 0 && offset < std::ptrdiff_t{fStep} * fHeight && offset % fStep < fRowBytes;
    if (!inRegion && fBuffer[i] != fOriginal[i]) return false;
  }
  return true;
}

std::vector<RegionShape> DifferentialShapes() {
  std::vector<RegionShape> shapes;
  for (int width = 1; width <= 70; ++width) {
    shapes.push_back({width, 3, width % 5 + 1, width % 3 * 2 + 1});
    shapes.push_back({width, 2, 0, 0});
  }
  for (int width : {127, 256, 1001, 1920}) shapes.push_back({width, 2, 7, 3});
  shapes.push_back({640, 4, 0, 0});
  return shapes;
}

void ForEachTarget(const std::function<void(const std::string&)>& body) {
  for (std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
    hwy::SetSupportedTargetsForTest(target);
    body(hwy::TargetName(target));
  }
  hwy::SetSupportedTargetsForTest(0);
}

}  // namespace qx::test

namespace qx::test {
namespace {

int Padded(int rowBytes, int padding, int alignment) {
  const int step = rowBytes + padding;
  return (step + alignment - 1) / alignment * alignment;
}

std::string Describe(const std::string& target, const RegionShape& shape) {
  return target + " " + std::to_string(shape.width) + "x" + std::to_string(shape.height) +
         " paddings " + std::to_string(shape.srcPadding) + "/" + std::to_string(shape.dstPadding);
}

}  // namespace

void ExpectSameAsReference(int srcPixelBytes, int dstPixelBytes, const OneSourceCall& simd,
                           const OneSourceCall& reference, int stepAlignment) {
  ForEachTarget([&](const std::string& target) {
    std::uint32_t seed = 1;
    for (const RegionShape& shape : DifferentialShapes()) {
      SCOPED_TRACE(Describe(target, shape));
      const int srcRow = shape.width * srcPixelBytes;
      const int dstRow = shape.width * dstPixelBytes;
      const GuardedImage src(srcRow, shape.height, Padded(srcRow, shape.srcPadding, stepAlignment),
                             seed++);
      const int dstStep = Padded(dstRow, shape.dstPadding, stepAlignment);
      GuardedImage fast(dstRow, shape.height, dstStep, seed);
      GuardedImage plain(dstRow, shape.height, dstStep, seed++);
      const IppiSize size{shape.width, shape.height};
      ASSERT_EQ(simd(src.Data(), src.Step(), fast.Data(), dstStep, size),
                reference(src.Data(), src.Step(), plain.Data(), dstStep, size));
      ASSERT_TRUE(fast.GuardsIntact());
      ASSERT_EQ(fast.Buffer(), plain.Buffer());
    }
  });
}

void ExpectSameAsReferenceInPlace(int pixelBytes, const InPlaceCall& simd,
                                  const InPlaceCall& reference) {
  ForEachTarget([&](const std::string& target) {
    std::uint32_t seed = 1;
    for (const RegionShape& shape : DifferentialShapes()) {
      SCOPED_TRACE(Describe(target, shape));
      const int row = shape.width * pixelBytes;
      const int step = row + shape.srcPadding;
      GuardedImage fast(row, shape.height, step, seed);
      GuardedImage plain(row, shape.height, step, seed++);
      const IppiSize size{shape.width, shape.height};
      ASSERT_EQ(simd(fast.Data(), step, size), reference(plain.Data(), step, size));
      ASSERT_TRUE(fast.GuardsIntact());
      ASSERT_EQ(fast.Buffer(), plain.Buffer());
    }
  });
}

void ExpectSameAsReference(int pixelBytes, const TwoSourceCall& simd,
                           const TwoSourceCall& reference) {
  ForEachTarget([&](const std::string& target) {
    std::uint32_t seed = 1;
    for (const RegionShape& shape : DifferentialShapes()) {
      SCOPED_TRACE(Describe(target, shape));
      const int row = shape.width * pixelBytes;
      const GuardedImage src1(row, shape.height, row + shape.srcPadding, seed++);
      const GuardedImage src2(row, shape.height, row + shape.dstPadding, seed++);
      const int dstStep = row + shape.srcPadding;
      GuardedImage fast(row, shape.height, dstStep, seed);
      GuardedImage plain(row, shape.height, dstStep, seed++);
      const IppiSize size{shape.width, shape.height};
      ASSERT_EQ(
          simd(src1.Data(), src1.Step(), src2.Data(), src2.Step(), fast.Data(), dstStep, size),
          reference(src1.Data(), src1.Step(), src2.Data(), src2.Step(), plain.Data(), dstStep,
                    size));
      ASSERT_TRUE(fast.GuardsIntact());
      ASSERT_EQ(fast.Buffer(), plain.Buffer());
    }
  });
}

}  // namespace qx::test
