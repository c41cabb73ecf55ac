// The dispatcher is compiled into this test program after EarlyCaller.cpp, so
// the early call runs before the dispatcher's own translation unit is
// initialised; the table must already be resolved by then.
#include <gtest/gtest.h>

#include "EarlyCaller.h"

TEST(DispatcherStartup, AStaticInitialiserElsewhereSeesResolvedEntries) {
  EXPECT_EQ(gEarlyCallResult, 250);
}
