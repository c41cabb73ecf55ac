// The signal package's pixel entries on a machine without IPP: each is the
// library's fallback, whose results the dispatcher suites check.
#include <gtest/gtest.h>

#include "DispatcherTableChecks.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/color/ColorFallbacks.h"
#include "packages/zenthic/ZTBasicDispatcher.h"

namespace qx::zenthic {
namespace {

TEST(ZTBasicDispatcher, WithoutIppEveryEntryIsItsFallbackAndRefusesEmptyArguments) {
  QX_ZT_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_FALLBACK)
  QX_ZT_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_REFUSES_EMPTY_ARGUMENTS)
}

}  // namespace
}  // namespace qx::zenthic
