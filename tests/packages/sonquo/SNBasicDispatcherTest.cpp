// The audio package's pixel entries on a machine without IPP: each is the
// library's fallback, whose results the dispatcher suites check.
#include <gtest/gtest.h>

#include "DispatcherTableChecks.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "packages/sonquo/SNBasicDispatcher.h"

namespace qx::sonquo {
namespace {

TEST(SNBasicDispatcher, WithoutIppEveryEntryIsItsFallbackAndRefusesEmptyArguments) {
  QX_SN_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_FALLBACK)
  QX_SN_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_REFUSES_EMPTY_ARGUMENTS)
}

}  // namespace
}  // namespace qx::sonquo
