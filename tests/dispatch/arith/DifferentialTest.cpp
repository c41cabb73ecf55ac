// Every SIMD kernel against its scalar reference, on every instruction set:
// same status and byte-identical buffers (guards included) for random images
// of every differential width, random paddings (odd included), contiguous and
// bottom-up rows, channel pointers on any channel, and random scale factors,
// constants, shift counts and axes.
#include <gtest/gtest.h>

#include "ArithTestSupport.h"

namespace qx::arithtest {
namespace {

template <class Kernel>
void ExpectSameAsReference(const Entry<Kernel>& entry, IppiSize roi, const Shape& shape,
                           const Arguments& args, std::mt19937& random) {
  SCOPED_TRACE(testing::Message() << entry.name << (shape.contiguous ? " contiguous" : "")
                                  << (shape.bottomUp ? " bottom-up" : "") << " sf "
                                  << args.scaleFactor << " counts "
                                  << testing::PrintToString(args.counts) << " axis " << args.axis);
  Arguments simdArgs = args;
  Arguments referenceArgs = args;
  ExpectSameResults(ImagesFor<Kernel>(LayoutOf(entry.name), roi, shape, random), roi,
                    Bind(entry.simd, simdArgs), Bind(entry.reference, referenceArgs));
  EXPECT_EQ(simdArgs.result, referenceArgs.result);
}

template <class Kernel>
class SameAsReference : public ::testing::Test {};
TYPED_TEST_SUITE(SameAsReference, AllForms);

TYPED_TEST(SameAsReference, OnRandomImages) {
  std::mt19937 random(20240611);
  ForEachTarget([&random] {
    for (const Entry<TypeParam>& entry : EntriesOf<TypeParam>()) {
      for (int width : DifferentialWidths()) {
        const int height =
            kVectorForm<TypeParam> ? 1 : std::uniform_int_distribution<int>(1, 4)(random);
        ExpectSameAsReference(entry, {width, height}, RandomShape(random), RandomArguments(random),
                              random);
        if (::testing::Test::HasFatalFailure()) return;
      }
    }
  });
}

// Destinations of several megabytes take the non-temporal path, whose rows
// start with an unaligned head.
TEST(SameAsReferenceLarge, StreamedDestinations) {
  std::mt19937 random(7);
  Arguments args = RandomArguments(random);
  args.scaleFactor = 3;
  args.axis = ippAxsHorizontal;
#define QX_ENTRY(name) Entry{#name, &fallback::name, &fallback::reference::name}
  ForEachTarget([&] {
    const IppiSize roi{1283, 1201};
    ExpectSameAsReference(QX_ENTRY(ippiAdd_8u_AC4RSfs), roi, {}, args, random);
    ExpectSameAsReference(QX_ENTRY(ippiSet_8u_C3R), roi, {}, args, random);
    ExpectSameAsReference(QX_ENTRY(ippiCopy_8u_C3R), roi, {}, args, random);
    ExpectSameAsReference(QX_ENTRY(ippiMirror_8u_C4R), roi, {}, args, random);
  });
#undef QX_ENTRY
}

}  // namespace
}  // namespace qx::arithtest
