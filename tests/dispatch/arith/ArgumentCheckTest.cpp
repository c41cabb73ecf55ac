// The argument checks of one entry of each family, for the SIMD kernel and its
// reference: which status each bad argument gives, and which check wins when
// several are bad (the order differs by family). Each call also carries a
// fault of every later check, and a refused call writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ArithTestSupport.h"

namespace qx::arithtest {
namespace {

#define QX_BOTH(name) \
  { &fallback::name, &fallback::reference::name }

TEST(ArgumentChecks, InEachFamilysOrder) {
  std::vector<Ipp8u> image(64, 7), written(64);
  const Ipp8u* s = image.data();
  Ipp8u* d = image.data() + 32;
  Ipp8u* w = written.data();
  const Ipp8u constants[4] = {1, 2, 3, 4};
  const Ipp32u counts[4] = {1, 2, 3, 4};
  for (auto add : QX_BOTH(ippiAdd_8u_C3RSfs)) {  // null, size; steps free
    EXPECT_EQ(add(s, 0, nullptr, 0, d, 0, {0, 1}, 0), ippStsNullPtrErr);
    EXPECT_EQ(add(s, 0, s, 0, d, 0, {1, 0}, 0), ippStsSizeErr);
    EXPECT_EQ(add(s, 0, s, 0, w, 0, {2, 2}, 0), ippStsNoErr);
  }
  for (auto div : QX_BOTH(ippiDiv_8u_C1RSfs)) {  // null, size, steps of at least 1
    EXPECT_EQ(div(s, 0, s, 0, nullptr, 0, {0, 1}, 0), ippStsNullPtrErr);
    EXPECT_EQ(div(s, 0, s, 0, d, 0, {-1, 1}, 0), ippStsSizeErr);
    EXPECT_EQ(div(s, 1, s, 0, d, 1, {1, 1}, 0), ippStsStepErr);
    EXPECT_EQ(div(s, 1, s, 1, w, 1, {2, 2}, 0), ippStsNoErr);
  }
  for (auto divC : QX_BOTH(ippiDivC_8u_C3IRSfs)) {  // ... then the constants
    EXPECT_EQ(divC(nullptr, d, 0, {0, 1}, 0), ippStsNullPtrErr);
  }
  for (auto absDiff : QX_BOTH(ippiAbsDiff_8u_C1R)) {  // null, size, steps of at least a row
    EXPECT_EQ(absDiff(s, 3, s, 3, nullptr, 3, {0, 1}), ippStsNullPtrErr);
    EXPECT_EQ(absDiff(s, 3, s, 3, d, 3, {4, 0}), ippStsSizeErr);
    EXPECT_EQ(absDiff(s, 4, s, 4, d, 3, {4, 1}), ippStsStepErr);
  }
  for (auto andImages : QX_BOTH(ippiAnd_8u_C3R)) {  // null, steps, size
    EXPECT_EQ(andImages(s, 0, nullptr, 0, d, 0, {0, 1}), ippStsNullPtrErr);
    EXPECT_EQ(andImages(s, 3, s, 3, d, 0, {0, 1}), ippStsStepErr);
    EXPECT_EQ(andImages(s, 3, s, 3, d, 3, {1, 0}), ippStsSizeErr);
  }
  for (auto shift : QX_BOTH(ippiLShiftC_8u_C4IR)) {  // C3 and C4 in place: size, null, steps
    EXPECT_EQ(shift(nullptr, nullptr, 0, {0, 1}), ippStsSizeErr);
    EXPECT_EQ(shift(nullptr, d, 0, {1, 1}), ippStsNullPtrErr);
    EXPECT_EQ(shift(counts, d, 0, {1, 1}), ippStsStepErr);
  }
  for (auto mirror : QX_BOTH(ippiMirror_8u_C1R)) {  // null, size, axis; steps free
    const auto axis = static_cast<IppiAxis>(3);
    EXPECT_EQ(mirror(nullptr, 0, d, 0, {0, 1}, axis), ippStsNullPtrErr);
    EXPECT_EQ(mirror(s, 0, d, 0, {1, 0}, axis), ippStsSizeErr);
    EXPECT_EQ(mirror(s, 0, d, 0, {1, 1}, axis), ippStsMirrorFlipErr);
  }
  for (auto copy : QX_BOTH(ippsCopy_8u)) {  // null, length
    EXPECT_EQ(copy(s, nullptr, 0), ippStsNullPtrErr);
    EXPECT_EQ(copy(s, d, 0), ippStsSizeErr);
  }
  for (auto copyPlanes : QX_BOTH(ippiCopy_8u_P3C3R)) {
    const Ipp8u* planes[3] = {s, nullptr, s};
    EXPECT_EQ(copyPlanes(planes, 1, d, 3, {1, 1}), ippStsNullPtrErr);
    EXPECT_EQ(copyPlanes(nullptr, 1, d, 3, {1, 1}), ippStsNullPtrErr);
  }
  for (auto max : QX_BOTH(ippiMax_8u_C1R)) {
    EXPECT_EQ(max(s, 1, {1, 1}, nullptr), ippStsNullPtrErr);
  }
  for (auto set : QX_BOTH(ippiSet_8u_C3R)) {
    EXPECT_EQ(set(constants, d, 0, {1, 1}), ippStsStepErr);
  }
  EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](Ipp8u byte) { return byte == 7; }));
}

}  // namespace
}  // namespace qx::arithtest
