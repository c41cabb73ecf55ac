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

TEST(Dispatcher, WithoutIppEveryEntryIsItsCallableFallback) {
  EXPECT_EQ(GetIPPIProcAddress("ippiAdd_8u_C3RSfs"), nullptr);
  EXPECT_EQ(GetIPPSProcAddress("ippsSwapBytes_16u_I"), nullptr);
  QX_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_FALLBACK);
  QX_COLOR_TWIST_DISPATCHER_ENTRIES(QX_EXPECT_FALLBACK);
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

}  // namespace
}  // namespace qx
