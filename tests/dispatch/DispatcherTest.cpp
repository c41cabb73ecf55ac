// The library's dispatcher tables, built twice: on a machine without IPP, and
// with fake IPP libraries on LD_LIBRARY_PATH (QX_WITH_FAKE_IPP) that export
// `ippiAdd_8u_C3RSfs` and `ippiMax_8u_C1R` (image domain) and
// `ippsSwapBytes_16u_I` (both domains, with different answers).
#include <gtest/gtest.h>

#include <string_view>

#include "DispatcherTableChecks.h"
#include "FakeIpp.h"
#include "dispatch/NXIppLoader.h"
#include "dispatch/QXBasicDispatcher.h"
#include "dispatch/QXColorTwistDispatcher.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/filter/FilterFallbacks.h"

namespace qx {
namespace {

// The two programs' suites must have names of their own for CTest.
#if QX_WITH_FAKE_IPP
#define QX_SUITE DispatcherWithFakeIpp
#else
#define QX_SUITE DispatcherWithoutIpp
#endif

bool FromIpp(std::string_view name) {
  return QX_WITH_FAKE_IPP &&
         (name == "ippiAdd_8u_C3RSfs" || name == "ippiMax_8u_C1R" || name == "ippsSwapBytes_16u_I");
}

// Every other entry is its fallback, which refuses empty arguments.
#define QX_EXPECT_RESOLVED(form, name)                         \
  if (FromIpp(#name)) {                                        \
    EXPECT_NE(name, &fallback::name) << #name;                 \
  } else {                                                     \
    EXPECT_EQ(name, &fallback::name) << #name;                 \
    EXPECT_LT(test::CallWithEmptyArguments(name), 0) << #name; \
  }

TEST(QX_SUITE, EntriesComeFromIppWhereItExportsThemAndFromTheFallbacksElsewhere) {
  EXPECT_EQ(GetIPPIProcAddress("ippiAdd_8u_C3RSfs") != nullptr, QX_WITH_FAKE_IPP);
  QX_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_RESOLVED);
  QX_COLOR_TWIST_DISPATCHER_ENTRIES(QX_EXPECT_RESOLVED);
}

// The image library exports the byte swap too; the table must not take that one.
TEST(QX_SUITE, ImageEntriesCallTheImageLibraryAndByteSwapTheSignalLibrary) {
  Ipp8u max = 0;
  EXPECT_EQ(ippiMax_8u_C1R(nullptr, 0, {1, 1}, &max),
            QX_WITH_FAKE_IPP ? kFakeImageStatus : ippStsNullPtrErr);
  EXPECT_EQ(ippsSwapBytes_16u_I(nullptr, 0),
            QX_WITH_FAKE_IPP ? kFakeSignalStatus : ippStsNullPtrErr);
}

TEST(QX_SUITE, InitialisingAgainDoesNotRepeatTheLookUps) {
  const int before = detail::IppEntryLookUps();
  EXPECT_GE(before, 137 + 2);
  detail::InitializeBasicDispatcher();
  detail::InitializeColorTwistDispatcher();
  EXPECT_EQ(detail::IppEntryLookUps(), before);
}

}  // namespace
}  // namespace qx
