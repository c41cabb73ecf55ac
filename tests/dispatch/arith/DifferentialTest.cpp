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
void ExpectSameAsReference(const char* name, Kernel* simd, Kernel* reference, IppiSize roi,
                           const Arguments& args, std::mt19937& random, bool varied = true) {
  SCOPED_TRACE(testing::Message() << name << " sf " << args.scaleFactor << " counts "
                                  << testing::PrintToString(args.counts) << " axis " << args.axis);
  Arguments simdArgs = args;
  Arguments referenceArgs = args;
  ExpectSameResults(ImagesFor<Kernel>(name, roi, random, varied), roi, Bind(simd, simdArgs),
                    Bind(reference, referenceArgs));
  EXPECT_EQ(simdArgs.result, referenceArgs.result);
}

TEST(SameAsReference, OnRandomImages) {
  ForEachTarget([] {
    std::mt19937 random(20240611);
    ForEachEntry([&random]<class Kernel>(const char* name, Kernel* simd, Kernel* reference) {
      for (int width : DifferentialWidths()) {
        const int height =
            kVectorForm<Kernel> ? 1 : std::uniform_int_distribution<int>(1, 4)(random);
        ExpectSameAsReference(name, simd, reference, {width, height}, RandomArguments(random),
                              random);
        if (::testing::Test::HasFatalFailure()) return;
      }
    });
  });
}

// Destinations of several megabytes take the paths for large results
// (non-temporal stores, string moves), whose rows start with an unaligned head.
TEST(SameAsReference, StreamedDestinations) {
  std::mt19937 random(7);
  Arguments args = RandomArguments(random);
  args.scaleFactor = 3;
  args.axis = ippAxsHorizontal;
#define QX_SAME(name)                                                                          \
  ExpectSameAsReference(#name, &fallback::name, &fallback::reference::name, roi, args, random, \
                        false)
  ForEachTarget([&] {
    const IppiSize roi{1283, 1201};
    QX_SAME(ippiAdd_8u_AC4RSfs);
    QX_SAME(ippiSet_8u_C3R);
    QX_SAME(ippiCopy_8u_C3R);
    QX_SAME(ippiMirror_8u_C4R);
  });
#undef QX_SAME
}

}  // namespace
}  // namespace qx::arithtest
