// Locked persistents: PSetProp stores under the owner's lock, reports and
// signals only real changes, and changes nothing when the lock refuses. The
// notify class's signal is the base's Notify, so its handler shows both.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "packages/zenthic/NXLockedPersistent.h"

namespace qx {
namespace {

// A point as the property types build it on the notify base.
class TTestPoint : public TNXLockedPersistentNotify {
 public:
  using TNXLockedPersistentNotify::TNXLockedPersistentNotify;
  bool SetX(std::uint16_t value) { return PSetProp(FX, value); }
  bool SetName(std::string value) { return PSetProp(FName, std::move(value)); }
  std::uint16_t GetX() const { return FX; }
  const std::string& GetName() const { return FName; }

 private:
  std::uint16_t FX = 0;
  std::string FName = "start";
};

TEST(LockedPersistent, SignalsOnlyRealChangesUnderTheLockAndItsHandlerMayReenter) {
  TRefPtr<IFBLock> lock = FBCreateLock();
  std::vector<std::uint16_t> seen;
  TTestPoint point(nullptr, lock, [&](TNXLockedPersistentNotify& sender) {
    EXPECT_TRUE(lock->IsHeldByCurrentThread());
    auto& self = static_cast<TTestPoint&>(sender);
    seen.push_back(self.GetX());
    // A handler that clamps the value sets it again, under the same lock.
    if (self.GetX() > 100) self.SetX(100);
  });
  EXPECT_FALSE(point.SetX(0));
  EXPECT_TRUE(point.SetX(7));
  EXPECT_FALSE(point.SetX(7));
  EXPECT_TRUE(point.SetX(250));
  EXPECT_TRUE(point.SetName("moved"));
  EXPECT_FALSE(point.SetName("moved"));
  EXPECT_EQ(point.GetX(), 100);
  EXPECT_EQ(point.GetName(), "moved");
  EXPECT_EQ(seen, (std::vector<std::uint16_t>{7, 250, 100, 100}));
  EXPECT_FALSE(lock->IsHeldByCurrentThread());
}

TEST(LockedPersistent, RefusedLockLeavesTheValueAndSignalsNothing) {
  TRefPtr<IFBLock> lock = FBCreateLock();
  int signals = 0;
  TTestPoint point(nullptr, lock, [&](TNXLockedPersistentNotify&) { ++signals; });
  std::thread([&] { lock->BeginDestroy(); }).join();
  EXPECT_FALSE(point.SetX(6));
  EXPECT_FALSE(point.SetName("late"));
  EXPECT_EQ(point.GetX(), 0);
  EXPECT_EQ(point.GetName(), "start");
  EXPECT_EQ(signals, 0);

  // Without a lock or a handler the value is simply stored.
  TTestPoint unlocked(nullptr, nullptr);
  EXPECT_TRUE(unlocked.SetX(3));
  EXPECT_EQ(unlocked.GetX(), 3);
}

}  // namespace
}  // namespace qx
