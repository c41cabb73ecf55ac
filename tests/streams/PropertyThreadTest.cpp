// Property objects shared between a thread that assigns them and one that
// reads them: the pairs read together are never torn.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "streams/QXRegionProperties.h"

namespace qx {
namespace {

TEST(PropertyThreads, ASizeReadTogetherIsNeverHalfAssigned) {
  TQXRectRegion region(nullptr, FBCreateLock());
  TQXRectRegion small(nullptr, FBCreateLock()), large(nullptr, FBCreateLock());
  small.SetWidth(10);
  small.SetHeight(10);
  large.SetWidth(2000);
  large.SetHeight(2000);

  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 0; i < 20000; ++i) {
      const TQXRectRegion& source = i % 2 ? large : small;
      region.Assign(source);
    }
    done = true;
  });
  int torn = 0;
  long reads = 0;
  while (!done || reads == 0) {
    const IppiSize regionSize = region.GetSize();
    torn += regionSize.width != regionSize.height;
    ++reads;
  }
  writer.join();
  EXPECT_EQ(torn, 0) << "in " << reads << " reads";
}

}  // namespace
}  // namespace qx
