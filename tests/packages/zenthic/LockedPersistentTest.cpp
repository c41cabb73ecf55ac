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

TEST(LockedPersistent, ReportsAndSignalsOnlyRealChangesWhileHoldingTheLock) {
  TComponent owner(nullptr);
  TRefPtr<IFBLock> lock = FBCreateLock();
  std::vector<std::uint16_t> seen;
  TTestPoint point(&owner, lock, [&](TNXLockedPersistentNotify& sender) {
    EXPECT_EQ(sender.GetLock(), lock.Get());
    EXPECT_TRUE(lock->IsHeldByCurrentThread());
    seen.push_back(static_cast<TTestPoint&>(sender).GetX());
  });
  EXPECT_EQ(point.GetOwner(), &owner);

  EXPECT_FALSE(point.SetX(0));
  EXPECT_TRUE(point.SetX(7));
  EXPECT_FALSE(point.SetX(7));
  EXPECT_TRUE(point.SetX(65535));
  EXPECT_TRUE(point.SetName("moved"));
  EXPECT_FALSE(point.SetName("moved"));
  EXPECT_EQ(point.GetX(), 65535);
  EXPECT_EQ(point.GetName(), "moved");
  EXPECT_EQ(seen, (std::vector<std::uint16_t>{7, 65535, 65535}));
  EXPECT_FALSE(lock->IsHeldByCurrentThread());
}

TEST(LockedPersistent, ChangeHandlerMayReenterTheOwnersLockedCode) {
  TRefPtr<IFBLock> lock = FBCreateLock();
  int signals = 0;
  TTestPoint point(nullptr, lock, [&](TNXLockedPersistentNotify& sender) {
    ++signals;
    // A handler that clamps the value sets it again, under the same lock.
    auto& self = static_cast<TTestPoint&>(sender);
    if (self.GetX() > 100) self.SetX(100);
  });
  EXPECT_TRUE(point.SetX(250));
  EXPECT_EQ(point.GetX(), 100);
  EXPECT_EQ(signals, 2);
}

TEST(LockedPersistent, RefusedLockLeavesTheValueAndSignalsNothing) {
  TRefPtr<IFBLock> lock = FBCreateLock();
  int signals = 0;
  TTestPoint point(nullptr, lock, [&](TNXLockedPersistentNotify&) { ++signals; });
  EXPECT_TRUE(point.SetX(5));

  std::thread([&] { lock->BeginDestroy(); }).join();
  EXPECT_FALSE(point.SetX(6));
  EXPECT_FALSE(point.SetName("late"));
  EXPECT_EQ(point.GetX(), 5);
  EXPECT_EQ(point.GetName(), "start");
  EXPECT_EQ(signals, 1);

  // Without a lock or a handler the value is simply stored.
  TTestPoint unlocked(nullptr, nullptr);
  EXPECT_FALSE(unlocked.SetX(0));
  EXPECT_TRUE(unlocked.SetX(3));
  EXPECT_EQ(unlocked.GetX(), 3);
}

}  // namespace
}  // namespace qx
