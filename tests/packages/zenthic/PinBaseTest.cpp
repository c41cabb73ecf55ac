// The pin bases (delivery itself is the pin framework's, tested there) and
// the locked persistents (refused locks are shown by the property types).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/Component.h"
#include "packages/zenthic/NXLockedPersistent.h"
#include "packages/zenthic/ZTBufferOperations.h"
#include "packages/zenthic/ZTFBPins.h"
#include "packages/zenthic/ZTGenericBuffer.h"
#include "packages/zenthic/ZTStreams.h"

namespace qx {
namespace {

// A component with its own lock, a paired source that lists the pins its
// connect event names and a sink of the pair stream that records every
// arrival (and answers true).
class TPinNode : public TComponent {
 public:
  TPinNode() : TComponent(nullptr) {
    Input->AddType(ZTBufferPairStreamID);
    Input->OnOperation = [this](TFBPin&, const TGUID&, const TFBOperationPtr& op, TFBState) {
      Arrivals.push_back(op);
      return true;
    };
  }
  ~TPinNode() override {
    Lock->BeginDestroy();
    FBShutdownPins(*this);
  }
  TRefPtr<IFBLock> Lock = FBCreateLock();
  TZTFBSinkPin* Input = new TZTFBSinkPin(this, "Input", Lock);
  TZTFBPairedSourcePin* Output = new TZTFBPairedSourcePin(
      this, "Output", Lock, [this](TZTFBSourcePin& sender) { Connected.push_back(&sender); });
  std::vector<TFBOperationPtr> Arrivals;
  std::vector<TZTFBSourcePin*> Connected;
};

TRefPtr<IZTDataBuffer> BufferOf(std::initializer_list<std::uint8_t> bytes) {
  auto buffer = MakeRef<TZTGenericBuffer>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), buffer->ByteWrite());
  return buffer;
}

TEST(ZTPins, SubmitHandsTheSameBufferOrPairToEverySink) {
  TPinNode sender;
  EXPECT_FALSE(sender.Output->SubmitBuffer(BufferOf({1})));  // nobody to receive
  TPinNode first, second;
  sender.Output->Connect(*first.Input);
  second.Input->Connect(sender.Output);
  EXPECT_EQ(sender.Connected, (std::vector<TZTFBSourcePin*>{sender.Output, sender.Output}));
  EXPECT_FALSE(sender.Output->SubmitBuffer(nullptr));
  EXPECT_FALSE(sender.Output->SubmitPair(nullptr));

  TRefPtr<IZTDataBuffer> buffer = BufferOf({1, 2, 3});
  EXPECT_TRUE(sender.Output->SubmitBuffer(buffer));
  auto supplied = RefCast<TFBSuppliedBufferOperation>(first.Arrivals.at(0));
  ASSERT_TRUE(supplied);
  EXPECT_EQ(supplied->GetBuffer(), buffer);

  auto pair = MakeRef<TNXBufferPair>(BufferOf({1, 2}), BufferOf({3, 4}));
  EXPECT_TRUE(sender.Output->SubmitPair(pair));
  ASSERT_EQ(first.Arrivals.size(), 2u);
  auto suppliedPair = RefCast<TFBSuppliedBufferPairOperation>(first.Arrivals[1]);
  ASSERT_TRUE(suppliedPair);
  EXPECT_EQ(suppliedPair->GetPair(), pair);
  // Both sinks received the same operation objects.
  EXPECT_EQ(second.Arrivals, first.Arrivals);
}

// A point as the property types build it on the notify base.
class TTestPoint : public TNXLockedPersistentNotify {
 public:
  using TNXLockedPersistentNotify::TNXLockedPersistentNotify;
  bool SetX(std::uint16_t value) { return PSetProp(FX, value); }
  std::uint16_t GetX() const { return FX; }

 private:
  std::uint16_t FX = 0;
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
  EXPECT_EQ(point.GetX(), 100);
  EXPECT_EQ(seen, (std::vector<std::uint16_t>{7, 250, 100}));
  EXPECT_FALSE(lock->IsHeldByCurrentThread());
}

}  // namespace
}  // namespace qx
