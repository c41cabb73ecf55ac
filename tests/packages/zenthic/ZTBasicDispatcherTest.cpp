// The signal package's pixel entries on a machine without IPP.
#include <gtest/gtest.h>

#include "DispatcherTableChecks.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/color/ColorFallbacks.h"
#include "packages/zenthic/ZTBasicDispatcher.h"

namespace qx::zenthic {
namespace {

TEST(ZTBasicDispatcher, WithoutIppEveryEntryIsItsFallbackAndRefusesEmptyArguments){
    QX_ZT_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_FALLBACK)
        QX_ZT_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_REFUSES_EMPTY_ARGUMENTS)}

TEST(ZTBasicDispatcher, EntriesWorkThroughTheTable) {
  const Ipp16u words[2] = {0x1234, 0xABCD};
  Ipp16u swapped[2] = {};
  ASSERT_EQ(ippsSwapBytes_16u(words, swapped, 2), ippStsNoErr);
  EXPECT_EQ(swapped[0], 0x3412);
  EXPECT_EQ(swapped[1], 0xCDAB);

  const Ipp8u pixel[4] = {1, 2, 3, 4};
  Ipp8u image[2 * 4] = {};
  ASSERT_EQ(ippiSet_8u_C4R(pixel, image, 4, {1, 2}), ippStsNoErr);
  EXPECT_EQ(image[7], 4);
}

}  // namespace
}  // namespace qx::zenthic
