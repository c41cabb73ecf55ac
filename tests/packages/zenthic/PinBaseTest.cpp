// The pin bases: buffers and pairs reach every sink as the same object, the
// connect event, and how the package's operations present themselves to
// receivers. Delivery itself (threads, locks, refusals) is the pin
// framework's and is tested there.
#include <gtest/gtest.h>

#include <vector>

#include "host/Component.h"
#include "packages/flowbus/FBValueOperations.h"
#include "packages/zenthic/ZTBufferOperations.h"
#include "packages/zenthic/ZTFBPins.h"
#include "packages/zenthic/ZTGenericBuffer.h"
#include "packages/zenthic/ZTOperations.h"
#include "packages/zenthic/ZTStreams.h"

namespace qx {
namespace {

// A component with its own lock, whose pins it shuts down when destroyed.
class TLockedComponent : public TComponent {
 public:
  TLockedComponent() : TComponent(nullptr) {}
  ~TLockedComponent() override {
    Lock->BeginDestroy();
    FBShutdownPins(*this);
  }
  TRefPtr<IFBLock> Lock = FBCreateLock();
};

// One sink of the pair stream that records every arrival (and answers true).
class TReceiver : public TLockedComponent {
 public:
  TReceiver() {
    Input->AddType(ZTBufferPairStreamID);
    Input->OnOperation = [this](TFBPin&, const TGUID&, const TFBOperationPtr& op, TFBState) {
      Arrivals.push_back(op);
      return true;
    };
  }
  TZTFBSinkPin* Input = new TZTFBSinkPin(this, "Input", Lock);
  std::vector<TFBOperationPtr> Arrivals;
};

// A paired source that lists the pins its connect event names.
class TSender : public TLockedComponent {
 public:
  TZTFBPairedSourcePin* Output = new TZTFBPairedSourcePin(
      this, "Output", Lock, [this](TZTFBSourcePin& sender) { Connected.push_back(&sender); });
  std::vector<TZTFBSourcePin*> Connected;
};

TRefPtr<IZTDataBuffer> BufferOf(std::initializer_list<std::uint8_t> bytes) {
  auto buffer = MakeRef<TZTGenericBuffer>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), buffer->ByteWrite());
  return buffer;
}

TEST(ZTPins, SubmitBufferHandsTheSameBufferToEverySink) {
  TSender sender;
  TReceiver first, second;
  sender.Output->Connect(*first.Input);
  second.Input->Connect(sender.Output);
  EXPECT_EQ(sender.Connected, (std::vector<TZTFBSourcePin*>{sender.Output, sender.Output}));

  TRefPtr<IZTDataBuffer> buffer = BufferOf({1, 2, 3});
  EXPECT_TRUE(sender.Output->SubmitBuffer(buffer));
  for (TReceiver* receiver : {&first, &second}) {
    ASSERT_EQ(receiver->Arrivals.size(), 1u);
    auto supplied = RefCast<TFBSuppliedBufferOperation>(receiver->Arrivals[0]);
    ASSERT_TRUE(supplied);
    EXPECT_EQ(supplied->GetBuffer(), buffer);
  }
  // Both sinks received one operation object.
  EXPECT_EQ(first.Arrivals[0], second.Arrivals[0]);
}

TEST(ZTPins, NothingToSendOrNobodyToReceiveIsReportedAsNotDelivered) {
  TSender sender;
  EXPECT_FALSE(sender.Output->SubmitBuffer(BufferOf({1})));
  EXPECT_FALSE(sender.Output->SubmitPair(MakeRef<TNXBufferPair>()));

  TReceiver receiver;
  sender.Output->Connect(*receiver.Input);
  EXPECT_FALSE(sender.Output->SubmitBuffer(nullptr));
  EXPECT_FALSE(sender.Output->SubmitPair(nullptr));
  EXPECT_TRUE(receiver.Arrivals.empty());
}

TEST(ZTPins, UpstreamOperationsReachTheSourceOwnerAndPairsGoDown) {
  TSender sender;
  sender.Output->OnOperation = [&](TFBPin& pin, const TGUID& type, const TFBOperationPtr& op,
                                   TFBState) {
    return &pin == sender.Output && type == ZTBufferPairStreamID &&
           RefCast<TFBZTPauseOperation>(op) != nullptr;
  };
  TReceiver receiver;
  receiver.Input->Connect(sender.Output);
  EXPECT_TRUE(receiver.Input->Notify(MakeRef<TFBZTPauseOperation>()));
  EXPECT_FALSE(receiver.Input->Notify(MakeRef<TFBZTResumeOperation>()));

  auto pair = MakeRef<TNXBufferPair>(BufferOf({1, 2}), BufferOf({3, 4}));
  EXPECT_TRUE(sender.Output->SubmitPair(pair));
  ASSERT_EQ(receiver.Arrivals.size(), 1u);
  auto supplied = RefCast<TFBSuppliedBufferPairOperation>(receiver.Arrivals[0]);
  ASSERT_TRUE(supplied);
  EXPECT_EQ(supplied->GetPair(), pair);
}

TEST(ZTOperations, ReceiversMatchingTheGeneralClassesAlsoAcceptThePackagesOwn) {
  TFBOperationPtr putBack = MakeRef<TFBInternalBufferOperation>(true, BufferOf({4, 5}));
  auto asSupplied = RefCast<TFBSuppliedBufferOperation>(putBack);
  ASSERT_TRUE(asSupplied);
  EXPECT_EQ(asSupplied->GetBuffer()->GetByteSize(), 2u);
  EXPECT_TRUE(RefCast<TFBInternalBufferOperation>(putBack)->GetFlag());

  TFBOperationPtr caption = MakeRef<TFBZTTimeSuppliedStringOperation>("hello", 1'234'567);
  auto asString = RefCast<TFBSuppliedStringOperation>(caption);
  ASSERT_TRUE(asString);
  EXPECT_EQ(asString->GetValue(), "hello");
  EXPECT_EQ(RefCast<TFBZTTimeSuppliedStringOperation>(caption)->GetTime(), 1'234'567);

  // The internal stop marks a queue position; it is not a stream stop.
  EXPECT_FALSE(RefCast<TFBStopOperation>(TFBOperationPtr(MakeRef<TZTInternalStopOperation>())));
  EXPECT_FALSE(RefCast<TFBZTResumeOperation>(TFBOperationPtr(MakeRef<TFBZTPauseOperation>())));
}

}  // namespace
}  // namespace qx
