// The library's dispatcher with fake IPP libraries on LD_LIBRARY_PATH that
// export `ippiAdd_8u_C3RSfs` and `ippiMax_8u_C1R` (image domain) and
// `ippsSwapBytes_16u_I` (both domains, with different answers).
#include <gtest/gtest.h>

#include <string_view>

#include "DispatcherTableChecks.h"
#include "FakeIpp.h"
#include "dispatch/QXBasicDispatcher.h"
#include "dispatch/QXColorTwistDispatcher.h"
#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/filter/FilterFallbacks.h"

namespace qx {
namespace {

bool ResolvedFromIpp(std::string_view name) {
  return name == "ippiAdd_8u_C3RSfs" || name == "ippiMax_8u_C1R" || name == "ippsSwapBytes_16u_I";
}

#define QX_EXPECT_FALLBACK_UNLESS_FROM_IPP(form, name) \
  if (ResolvedFromIpp(#name)) {                        \
    EXPECT_NE(name, &fallback::name) << #name;         \
  } else {                                             \
    EXPECT_EQ(name, &fallback::name) << #name;         \
  }

TEST(DispatcherWithIpp, ExportedEntriesComeFromIppAndTheRestFromTheFallbacks) {
  QX_BASIC_DISPATCHER_ENTRIES(QX_EXPECT_FALLBACK_UNLESS_FROM_IPP);
  QX_COLOR_TWIST_DISPATCHER_ENTRIES(QX_EXPECT_FALLBACK);
}

TEST(DispatcherWithIpp, ImageEntriesCallIpp) {
  EXPECT_EQ(ippiAdd_8u_C3RSfs(nullptr, 0, nullptr, 0, nullptr, 0, {1, 1}, 0), kFakeImageStatus);
  Ipp8u max = 0;
  EXPECT_EQ(ippiMax_8u_C1R(nullptr, 0, {1, 1}, &max), kFakeImageStatus);
}

TEST(DispatcherWithIpp, ByteSwapComesFromTheSignalDomainOnly) {
  // The image library exports the name too; the table must not take that one.
  EXPECT_EQ(ippsSwapBytes_16u_I(nullptr, 0), kFakeSignalStatus);
}

}  // namespace
}  // namespace qx
