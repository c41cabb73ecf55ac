// The look-up on a machine without IPP: every answer is null, and nothing fails.
#include <gtest/gtest.h>

#include "dispatch/NXIppLoader.h"

TEST(IppLoaderAbsent, EveryLookUpAnswersNull) {
  for (const char* name : {"ippiAdd_8u_C3RSfs", "ippiMax_8u_C1R", "ippsSwapBytes_16u_I"}) {
    EXPECT_EQ(qx::GetIPPIProcAddress(name), nullptr) << name;
    EXPECT_EQ(qx::GetIPPSProcAddress(name), nullptr) << name;
  }
}
