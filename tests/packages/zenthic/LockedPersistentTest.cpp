// Locked persistents: PSetProp stores under the owner's lock and reports and
// signals only real changes. What a refused lock does is shown by the
// property types' suite, whose setters are this.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
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

}  // namespace
}  // namespace qx
