// The pin bases: buffers reach every sink on the sender's thread as the same
// object, a refused lock drops the delivery, the connect event, pairs, and
// how the package's operations present themselves to receivers.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
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

// What a sink's operation event saw.
struct TArrival {
  TFBOperationPtr Operation;
  std::thread::id Thread;
  bool LockHeld = false;
};

// A component with its own lock and one sink of the pair stream that
// records every arrival (and answers true).
class TReceiver : public TComponent {
 public:
  TReceiver() : TComponent(nullptr) {
    Input = new TZTFBSinkPin(
        this, "Input", Lock, [this](TFBPin&, const TGUID&, const TFBOperationPtr& op, TFBState) {
          Arrivals.push_back({op, std::this_thread::get_id(), Lock->IsHeldByCurrentThread()});
          return true;
        });
    Input->AddType(ZTBufferPairStreamID);
  }
  ~TReceiver() override {
    Lock->BeginDestroy();
    FBShutdownPins(*this);
  }

  TRefPtr<IFBLock> Lock = FBCreateLock();
  TZTFBSinkPin* Input;
  std::vector<TArrival> Arrivals;
};

class TSender : public TComponent {
 public:
  TSender() : TComponent(nullptr) {
    Output = new TZTFBPairedSourcePin(
        this, "Output", Lock, [this](TZTFBSourcePin& sender) { Connected.push_back(&sender); });
  }
  ~TSender() override {
    Lock->BeginDestroy();
    FBShutdownPins(*this);
  }

  TRefPtr<IFBLock> Lock = FBCreateLock();
  TZTFBPairedSourcePin* Output;
  std::vector<TZTFBSourcePin*> Connected;
};

TRefPtr<IZTDataBuffer> BufferOf(std::initializer_list<std::uint8_t> bytes) {
  auto buffer = MakeRef<TZTGenericBuffer>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), buffer->ByteWrite());
  return buffer;
}

TEST(ZTPins, SubmitBufferHandsTheSameBufferToEverySinkOnTheCallersThread) {
  TSender sender;
  TReceiver first, second;
  sender.Output->Connect(*first.Input);
  second.Input->Connect(sender.Output);
  EXPECT_EQ(sender.Connected.size(), 2u);

  TRefPtr<IZTDataBuffer> buffer = BufferOf({1, 2, 3});
  const std::uint8_t* bytes = buffer->ByteRead();
  EXPECT_TRUE(sender.Output->SubmitBuffer(buffer));

  for (TReceiver* receiver : {&first, &second}) {
    ASSERT_EQ(receiver->Arrivals.size(), 1u);
    const TArrival& arrival = receiver->Arrivals[0];
    EXPECT_EQ(arrival.Thread, std::this_thread::get_id());
    EXPECT_TRUE(arrival.LockHeld);
    auto supplied = RefCast<TFBSuppliedBufferOperation>(arrival.Operation);
    ASSERT_TRUE(supplied);
    EXPECT_EQ(supplied->GetBuffer(), buffer);
    EXPECT_EQ(supplied->GetBuffer()->ByteRead(), bytes);
  }
  // Both sinks received one operation object.
  EXPECT_EQ(first.Arrivals[0].Operation, second.Arrivals[0].Operation);
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

TEST(ZTPins, ASinkWhoseOwnerIsBeingDestroyedDropsTheBufferAndTheOthersGetIt) {
  TSender sender;
  TReceiver dying, alive;
  sender.Output->Connect(*dying.Input);
  sender.Output->Connect(*alive.Input);
  // Another thread begins the destruction and keeps the lock.
  std::thread([&] { dying.Lock->BeginDestroy(); }).join();

  EXPECT_TRUE(sender.Output->SubmitBuffer(BufferOf({9})));
  EXPECT_TRUE(dying.Arrivals.empty());
  EXPECT_EQ(alive.Arrivals.size(), 1u);

  sender.Output->Disconnect(*alive.Input);
  EXPECT_FALSE(sender.Output->SubmitBuffer(BufferOf({9})));
}

TEST(ZTPins, UpstreamOperationsReachTheSourceOwnerUnderItsLock) {
  TSender sender;
  bool heldInHandler = false;
  sender.Output->OnOperation = [&](TFBPin& pin, const TGUID& type, const TFBOperationPtr& op,
                                   TFBState) {
    heldInHandler = sender.Lock->IsHeldByCurrentThread();
    return &pin == sender.Output && type == ZTBufferPairStreamID &&
           RefCast<TFBZTPauseOperation>(op) != nullptr;
  };
  TReceiver receiver;
  receiver.Input->Connect(sender.Output);
  EXPECT_TRUE(receiver.Input->Notify(MakeRef<TFBZTPauseOperation>()));
  EXPECT_TRUE(heldInHandler);
  EXPECT_FALSE(receiver.Input->Notify(MakeRef<TFBZTResumeOperation>()));
}

TEST(ZTPins, PairsTravelOnThePairStreamAndStopsEndIt) {
  TSender sender;
  TReceiver receiver;
  sender.Output->Connect(*receiver.Input);
  EXPECT_EQ(receiver.Input->GetDataType(), ZTBufferPairStreamID);

  auto pair = MakeRef<TNXBufferPair>(BufferOf({1, 2}), BufferOf({3, 4}));
  EXPECT_TRUE(sender.Output->SubmitPair(pair));
  EXPECT_TRUE(sender.Output->EndStop());
  ASSERT_EQ(receiver.Arrivals.size(), 2u);
  auto supplied = RefCast<TFBSuppliedBufferPairOperation>(receiver.Arrivals[0].Operation);
  ASSERT_TRUE(supplied);
  EXPECT_EQ(supplied->GetPair(), pair);
  auto stop = RefCast<TFBStopOperation>(receiver.Arrivals[1].Operation);
  ASSERT_TRUE(stop);
  EXPECT_TRUE(stop->IsFinal());
}

TEST(ZTPins, HeldOperationsStayWithTheSender) {
  TSender sender;
  TReceiver receiver;
  sender.Output->Connect(*receiver.Input);
  EXPECT_FALSE(sender.Output->SubmitBuffer(BufferOf({5}), fbsHeld));
  EXPECT_TRUE(receiver.Arrivals.empty());
}

TEST(ZTOperations, ReceiversMatchingTheGeneralClassesAlsoAcceptThePackagesOwn) {
  TFBOperationPtr putBack = MakeRef<TFBInternalBufferOperation>(true, BufferOf({4, 5}));
  auto asSupplied = RefCast<TFBSuppliedBufferOperation>(putBack);
  ASSERT_TRUE(asSupplied);
  EXPECT_EQ(asSupplied->GetBuffer()->GetByteSize(), 2u);
  EXPECT_TRUE(RefCast<TFBInternalBufferOperation>(putBack)->GetFlag());
  EXPECT_FALSE(MakeRef<TFBInternalBufferOperation>(false, BufferOf({1}))->GetFlag());

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
