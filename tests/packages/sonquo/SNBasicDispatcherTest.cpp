// The audio package's pixel entries on a machine without IPP.
#include <gtest/gtest.h>

#include "DispatcherTableChecks.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "packages/sonquo/SNBasicDispatcher.h"

namespace qx::sonquo {
namespace {

TEST(SNBasicDispatcher, WithoutIppEveryEntryIsItsFallbackAndRefusesEmptyArguments){
    QX_SN_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_FALLBACK)
        QX_SN_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_REFUSES_EMPTY_ARGUMENTS)}

TEST(SNBasicDispatcher, EntriesWorkThroughTheTable) {
  Ipp16s samples[3] = {};
  ASSERT_EQ(ippiSet_16s_C1R(-7, samples, 2, {1, 3}), ippStsNoErr);
  EXPECT_EQ(samples[0], -7);
  EXPECT_EQ(samples[2], -7);

  const Ipp8u divisor[2] = {0, 4};
  Ipp8u dividend[2] = {9, 10};
  EXPECT_EQ(ippiDiv_8u_C1IRSfs(divisor, 2, dividend, 2, {2, 1}, 0), ippStsDivByZero);
  EXPECT_EQ(dividend[0], 255);  // a zero divisor under a non-zero dividend
  EXPECT_EQ(dividend[1], 2);    // 10 / 4 = 2.5, ties to even
}

}  // namespace
}  // namespace qx::sonquo
