// Value pins and the extended collection. The string and ranged pins are
// the same templates as the bool ones, on other value types.
#include <gtest/gtest.h>

#include "TestNodes.h"
#include "host/Properties.h"
#include "packages/flowbus/FBExtCollection.h"
#include "packages/flowbus/FBValuePins.h"

namespace qx::test {
namespace {

TEST(ValuePins, AStatePinMirrorsItsValueBothWaysUnderTheLocks) {
  TNode generator, filterA, filterB;
  std::vector<bool> fromOutside;
  bool locked = false;
  auto* state = new TFBBoolStatePin(&generator, "EnablePin", generator.GetLock(), true,
                                    [&](auto&, bool value) {
                                      fromOutside.push_back(value);
                                      locked = generator.GetLock()->IsHeldByCurrentThread();
                                    });
  auto* a = new TFBBoolSinkPin(&filterA, "EnablePin", filterA.GetLock());
  auto* b = new TFBBoolSinkPin(&filterB, "EnablePin", filterB.GetLock());

  a->Connect(state);  // a new sink learns the current state at once
  EXPECT_TRUE(a->GetValue());
  state->SetState(false);  // the component's side: sent, not reported back
  EXPECT_FALSE(a->GetValue());
  EXPECT_TRUE(fromOutside.empty());
  b->Connect(state);

  // A sink sets the value: the component hears it and the other sink follows.
  std::vector<bool> seenByA;
  a->OnValue = [&](auto&, bool value) { seenByA.push_back(value); };
  EXPECT_TRUE(b->Notify(MakeRef<TFBSuppliedBoolOperation>(true)));
  EXPECT_EQ(fromOutside, std::vector<bool>{true});
  EXPECT_TRUE(locked);  // reported under the receiving component's lock
  EXPECT_TRUE(state->GetState());
  EXPECT_EQ(seenByA, std::vector<bool>{true});

  // The same value again is no change: nothing travels.
  b->Notify(MakeRef<TFBSuppliedBoolOperation>(true));
  state->SetState(true);
  EXPECT_EQ(fromOutside.size(), 1u);
  EXPECT_EQ(seenByA.size(), 1u);
  EXPECT_FALSE(state->Notify(MakeRef<TFBStopOperation>()));  // to OnOperation: none
}

class TDeviceItem : public TFBExtCollectionItem {
  QX_CLASS(TDeviceItem, TFBExtCollectionItem)

 public:
  const std::string& GetDevice() const { return FDevice; }
  void SetDevice(const std::string& device) {
    if (device == FDevice) return;
    FDevice = device;
    Changed();
  }

 private:
  std::string FDevice;
};

const TClassInfo& TDeviceItem::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TDeviceItem>(
      {Property<std::string>("Device", &TDeviceItem::GetDevice, &TDeviceItem::SetDevice, "")});
  return info;
}

TEST(ExtCollection, ReportsChangesOnceOrAtTheEndOfAnUpdate) {
  TFBTypedExtCollection<TDeviceItem> devices(nullptr);
  int changes = 0;
  devices.OnChange = [&](TFBExtCollection&) { ++changes; };
  devices.Add().SetDevice("cam0");  // the addition and the item's change
  EXPECT_EQ(changes, 2);

  devices.BeginUpdate();
  devices.Add().SetDevice("cam1");
  devices.Delete(0);
  EXPECT_EQ(changes, 2);
  devices.EndUpdate();
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(devices.GetCount(), 1);
  EXPECT_EQ(devices.GetItem(0).GetDevice(), "cam1");
}

}  // namespace
}  // namespace qx::test
