// Every SIMD kernel against its scalar reference, on every instruction set:
// same status and byte-identical buffers (guards included) for random images
// of widths 1 to 70 and some wide ones, random paddings (odd included),
// contiguous and bottom-up rows, channel pointers on any channel, and random
// scale factors, constants, shift counts and axes.
#include <gtest/gtest.h>

#include <sstream>

#include "ArithTestSupport.h"
#include "hwy/targets.h"

namespace qx::arithtest {
namespace {

std::string Describe(IppiSize roi, const Shape& shape, const Arguments& args) {
  std::ostringstream text;
  text << roi.width << "x" << roi.height << (shape.contiguous ? " contiguous" : "")
       << (shape.bottomUp ? " bottom-up" : "") << " sf " << args.scaleFactor << " constants "
       << int{args.constants[0]} << "," << int{args.constants[1]} << "," << int{args.constants[2]}
       << "," << int{args.constants[3]} << " counts " << args.counts[0] << "," << args.counts[1]
       << "," << args.counts[2] << "," << args.counts[3] << " byte " << int{args.byteValue}
       << " int " << args.intValue << " axis " << args.axis;
  return text.str();
}

template <class Kernel>
void ExpectSameAsReference(const Entry<Kernel>& entry, IppiSize roi, const Shape& shape,
                           const Arguments& args, std::mt19937& random) {
  SCOPED_TRACE(Describe(roi, shape, args));
  std::vector<GuardedImage> simdImages =
      ImagesFor<Kernel>(LayoutOf(entry.name), roi, shape, random);
  std::vector<GuardedImage> referenceImages = simdImages;
  Arguments simdArgs = args;
  Arguments referenceArgs = args;
  const IppStatus simdStatus = CallWith(entry.simd, simdImages, simdArgs, roi);
  const IppStatus referenceStatus = CallWith(entry.reference, referenceImages, referenceArgs, roi);
  ASSERT_EQ(simdStatus, referenceStatus);
  EXPECT_EQ(simdArgs.result, referenceArgs.result);
  for (std::size_t i = 0; i < simdImages.size(); ++i) {
    ASSERT_TRUE(simdImages[i].Buffer() == referenceImages[i].Buffer()) << "operand " << i;
    ASSERT_TRUE(referenceImages[i].GuardsIntact()) << "operand " << i;
  }
}

template <class Kernel>
void ExpectEveryEntrySameAsReference() {
  std::mt19937 random(20240611);
  std::vector<int> widths;
  for (int width = 1; width <= 70; ++width) widths.push_back(width);
  widths.insert(widths.end(), {127, 128, 129, 255, 256, 640, 1001, 1921});
  for (std::int64_t target : KernelTargets()) {
    hwy::SetSupportedTargetsForTest(target);
    SCOPED_TRACE(hwy::TargetName(target));
    for (const Entry<Kernel>& entry : EntriesOf<Kernel>()) {
      SCOPED_TRACE(entry.name);
      for (int width : widths) {
        Shape shape;
        shape.contiguous = std::bernoulli_distribution(0.25)(random);
        shape.bottomUp = std::bernoulli_distribution(0.15)(random);
        const int height =
            kVectorForm<Kernel> ? 1 : std::uniform_int_distribution<int>(1, 4)(random);
        ExpectSameAsReference(entry, {width, height}, shape, RandomArguments(random), random);
        if (::testing::Test::HasFatalFailure()) break;
      }
    }
  }
  hwy::SetSupportedTargetsForTest(0);
}

template <class Kernel>
class SameAsReference : public ::testing::Test {};

using namespace fallback;
using Forms =
    ::testing::Types<TwoSourceSfsKernel, TwoSourceKernel, OneSourceKernel, OneSourceSfsKernel,
                     InPlaceKernel, InPlaceSfsKernel, ConstInPlaceSfsKernel, ConstInPlaceKernel,
                     ByteInPlaceKernel, ConstSourceKernel, ShiftInPlaceKernel, ShiftSourceKernel,
                     MirrorKernel, MirrorInPlaceKernel, Mirror16uKernel, CopyPlanesKernel,
                     MaxKernel, SwapBytesInPlaceKernel, SwapBytesKernel, VectorCopyKernel,
                     Set16sKernel>;
TYPED_TEST_SUITE(SameAsReference, Forms);

TYPED_TEST(SameAsReference, OnRandomImages) { ExpectEveryEntrySameAsReference<TypeParam>(); }

// Destinations of several megabytes take the non-temporal path, whose rows
// start with an unaligned head.
TEST(SameAsReferenceLarge, StreamedDestinations) {
  std::mt19937 random(7);
  const IppiSize roi{1283, 1201};
  const Shape shape;
  Arguments args = RandomArguments(random);
  args.scaleFactor = 3;
  args.axis = ippAxsHorizontal;
  for (std::int64_t target : KernelTargets()) {
    hwy::SetSupportedTargetsForTest(target);
    SCOPED_TRACE(hwy::TargetName(target));
    ExpectSameAsReference<TwoSourceSfsKernel>(
        {"ippiAdd_8u_AC4RSfs", fallback::ippiAdd_8u_AC4RSfs, reference::ippiAdd_8u_AC4RSfs}, roi,
        shape, args, random);
    ExpectSameAsReference<ConstInPlaceKernel>(
        {"ippiSet_8u_C3R", fallback::ippiSet_8u_C3R, reference::ippiSet_8u_C3R}, roi, shape, args,
        random);
    ExpectSameAsReference<OneSourceKernel>(
        {"ippiCopy_8u_C3R", fallback::ippiCopy_8u_C3R, reference::ippiCopy_8u_C3R}, roi, shape,
        args, random);
    ExpectSameAsReference<MirrorKernel>(
        {"ippiMirror_8u_C4R", fallback::ippiMirror_8u_C4R, reference::ippiMirror_8u_C4R}, roi,
        shape, args, random);
  }
  hwy::SetSupportedTargetsForTest(0);
}

}  // namespace
}  // namespace qx::arithtest
