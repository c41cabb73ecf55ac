// The library's dispatcher tables on a machine without IPP.
#include <gtest/gtest.h>

#include "DispatcherTableChecks.h"
#include "dispatch/NXIppLoader.h"
#include "dispatch/QXBasicDispatcher.h"
#include "dispatch/QXColorTwistDispatcher.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/filter/FilterFallbacks.h"

namespace qx {
namespace {

TEST(Dispatcher, WithoutIppEveryLookUpAnswersNull) {
  for (const char* name : {"ippiAdd_8u_C3RSfs", "ippiMax_8u_C1R", "ippsSwapBytes_16u_I"}) {
    EXPECT_EQ(GetIPPIProcAddress(name), nullptr) << name;
    EXPECT_EQ(GetIPPSProcAddress(name), nullptr) << name;
  }
}

TEST(Dispatcher, WithoutIppEveryEntryIsItsFallback) {
  QX_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_FALLBACK);
  QX_COLOR_TWIST_DISPATCHER_ENTRIES(QX_EXPECT_FALLBACK);
}

TEST(Dispatcher, EveryEntryRefusesEmptyArguments) {
  QX_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_REFUSES_EMPTY_ARGUMENTS);
  QX_COLOR_TWIST_DISPATCHER_ENTRIES(QX_EXPECT_REFUSES_EMPTY_ARGUMENTS);
}

TEST(Dispatcher, InitialisingAgainDoesNotRepeatTheLookUps) {
  const int before = detail::IppEntryLookUps();
  EXPECT_GE(before, 137 + 2);
  detail::InitializeBasicDispatcher();
  detail::InitializeColorTwistDispatcher();
  EXPECT_EQ(detail::IppEntryLookUps(), before);
}

TEST(Dispatcher, EntriesWorkThroughTheTable) {
  // One call through a resolved entry, checked against values worked out by hand.
  Ipp8u a[3] = {3, 5, 200};
  Ipp8u b[3] = {0, 0, 100};
  Ipp8u out[3] = {};
  ASSERT_EQ(ippiAdd_8u_C3RSfs(a, 3, b, 3, out, 3, {1, 1}, 1), ippStsNoErr);
  EXPECT_EQ(out[0], 2);    // 3 / 2 = 1.5, tie to even
  EXPECT_EQ(out[1], 2);    // 5 / 2 = 2.5, tie to even
  EXPECT_EQ(out[2], 150);  // 300 / 2
}

}  // namespace
}  // namespace qx
