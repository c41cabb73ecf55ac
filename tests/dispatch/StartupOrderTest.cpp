// This file is compiled into its test program before the dispatcher's sources,
// so that its static initialiser calls an entry while the program starts,
// before the dispatcher's own translation unit is initialised: the table must
// already be resolved by then.
#include <gtest/gtest.h>

#include "dispatch/QXBasicDispatcher.h"

namespace qx {
namespace {

// The maximum the early call found, or an error status.
IppStatus CallDuringStartUp() {
  if (ippiMax_8u_C1R == nullptr) return ippStsNullPtrErr;
  const Ipp8u pixels[4] = {7, 9, 250, 1};
  Ipp8u max = 0;
  const IppStatus status = ippiMax_8u_C1R(pixels, 2, {2, 2}, &max);
  return status == ippStsNoErr ? max : status;
}

const IppStatus gEarlyCallResult = CallDuringStartUp();

TEST(DispatcherStartup, AStaticInitialiserElsewhereSeesResolvedEntries) {
  EXPECT_EQ(gEarlyCallResult, 250);
}

}  // namespace
}  // namespace qx
