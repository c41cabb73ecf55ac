// Property objects shared between a thread that assigns them and one that
// reads them: the pairs read together are never torn.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "streams/QXRegionProperties.h"
#include "streams/QXSizeProperties.h"

namespace qx {
namespace {

TEST(PropertyThreads, SizesReadTogetherAreNeverHalfAssigned) {
  const TRefPtr<IFBLock> lock = FBCreateLock();
  TQXRectRegion region(nullptr, lock);
  TQXIntegerSize integerSize(nullptr, lock);
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
      integerSize.Assign(source);
    }
    done = true;
  });
  int torn = 0;
  long reads = 0;
  while (!done || reads == 0) {
    const IppiSize regionSize = region.GetSize();
    const IppiSize integer = integerSize.GetSize();
    torn += regionSize.width != regionSize.height;
    torn += integer.width != integer.height;
    ++reads;
  }
  writer.join();
  EXPECT_EQ(torn, 0) << "in " << reads << " reads";
}

}  // namespace
}  // namespace qx
