// Delivery, type agreement, converters and connection management of pins.
#include <gtest/gtest.h>

#include <atomic>

#include "TestNodes.h"
#include "packages/flowbus/FBExceptions.h"
#include "packages/flowbus/FBFormatConverter.h"
#include "packages/flowbus/FBStreamRegistry.h"

namespace qx::test {
namespace {

TFBOperationPtr Number(int n) { return MakeRef<TNumberOperation>(n); }

TEST(StreamRegistry, NamesTypesOnceAndRefusesUnknownOnes) {
  RegisterTestStreams();
  EXPECT_EQ(FBGetStreamName(StreamA), "Test stream A");
  EXPECT_NO_THROW(FBRegisterStream(StreamA, "Test stream A"));
  EXPECT_THROW(FBRegisterStream(StreamA, "Another name"), EFBError);
  EXPECT_THROW(FBRegisterStream(TGUID{}, "Null"), EFBError);

  const TGUID unknown = TGUID::Parse("{8C6D936B-C753-4DE2-B461-66D1DE82DE98}");
  EXPECT_FALSE(FBIsStreamRegistered(unknown));
  TNode node;
  EXPECT_THROW(node.AddSource("Out", {unknown}), EFBError);
  EXPECT_THROW(FBRegisterDefaultHandler(unknown, FBStreamNotify), EFBError);
  EXPECT_THROW(
      FBRegisterTypeConverter(StreamA, unknown, [](TFBSinkPin&, TFBSourcePin&) { return nullptr; }),
      EFBError);
}

TEST(PinDelivery, ReachesEverySinkInOrderOnTheSendingThread) {
  TNode source, sinks;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  TFBSinkPin* in[3] = {&sinks.AddSink("In0", {StreamA}), &sinks.AddSink("In1", {StreamA}),
                       &sinks.AddSink("In2", {StreamA})};
  for (TFBSinkPin* pin : in) pin->Connect(&out);
  ASSERT_EQ(out.GetSinks().size(), 3u);

  for (int n = 1; n <= 5; ++n) EXPECT_TRUE(out.Notify(Number(n), 0x100));

  for (const char* pin : {"In0", "In1", "In2"}) {
    EXPECT_EQ(sinks.Numbers(pin), (std::vector<int>{1, 2, 3, 4, 5})) << pin;
  }
  for (const TReceived& received : sinks.Received()) {
    EXPECT_EQ(received.Thread, std::this_thread::get_id());
    EXPECT_EQ(received.DataType, StreamA);
    // The sender's bits travel; the framework adds that three sinks share it.
    EXPECT_EQ(received.State, 0x100u | fbsShared);
  }
}

TEST(PinDelivery, ResultIsTrueWhenAnyReceiverSaysSo) {
  TNode source, yes, no;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  yes.AddSink("In", {StreamA}).Connect(&out);
  no.AddSink("In", {StreamA}).Connect(&out);
  yes.Reaction = [](TFBPin&, const TFBOperationPtr& op) { return NumberOf(op) == 1; };
  no.Reaction = [](TFBPin&, const TFBOperationPtr&) { return false; };
  EXPECT_TRUE(out.Notify(Number(1)));
  EXPECT_FALSE(out.Notify(Number(2)));
  EXPECT_FALSE(out.Notify(nullptr));
}

TEST(PinDelivery, OneSinkIsNotShared) {
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  sink.AddSink("In", {StreamA}).Connect(&out);
  out.Notify(Number(1));
  ASSERT_EQ(sink.Received().size(), 1u);
  EXPECT_EQ(sink.Received()[0].State & fbsShared, 0u);
}

TEST(PinDelivery, UpstreamOperationsReachTheSource) {
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  TFBSinkPin& in = sink.AddSink("In", {StreamA});
  in.Connect(&out);
  EXPECT_TRUE(in.Notify(MakeRef<TFBQueryStreamOperation>()));
  ASSERT_EQ(source.Received().size(), 1u);
  EXPECT_EQ(source.Received()[0].Pin, "Out");
  EXPECT_TRUE(RefCast<TFBQueryStreamOperation>(source.Received()[0].Operation));
  EXPECT_TRUE(sink.Received().empty());
}

TEST(PinDelivery, StopAndEndStopEndTheStreamNotFinalAndFinal) {
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  sink.AddSink("In", {StreamA}).Connect(&out);
  EXPECT_TRUE(out.Stop());
  EXPECT_TRUE(out.EndStop());
  const auto received = sink.Received();
  ASSERT_EQ(received.size(), 2u);
  auto stop = RefCast<TFBStopOperation>(received[0].Operation);
  auto endStop = RefCast<TFBStopOperation>(received[1].Operation);
  ASSERT_TRUE(stop && endStop);
  EXPECT_FALSE(stop->IsFinal());
  EXPECT_TRUE(endStop->IsFinal());
}

TEST(PinDelivery, APinWithoutHandlerAnswersFalse) {
  RegisterTestStreams();
  TComponent owner(nullptr);
  auto* out = new TFBSourcePin(&owner, "Out");
  auto* in = new TFBSinkPin(&owner, "In");
  out->AddType(StreamA);
  in->AddType(StreamA);
  in->Connect(out);
  EXPECT_FALSE(out->Notify(Number(1)));
  EXPECT_FALSE(in->Notify(Number(1)));
}

TEST(PinDelivery, EachConnectionGoesThroughTheHandlerOfItsType) {
  // A source speaking two types sends the numbers below 10 on connections
  // of type A only and the others on type B only.
  TNode source, sinkA, sinkB;
  TFBSourcePin& out = source.AddSource("Out", {});
  out.AddType(StreamA,
              [](IFBStream& stream, const TGUID& type, const TFBOperationPtr& op, TFBState state) {
                return NumberOf(op) < 10 && FBStreamNotify(stream, type, op, state);
              });
  out.AddType(StreamB,
              [](IFBStream& stream, const TGUID& type, const TFBOperationPtr& op, TFBState state) {
                return NumberOf(op) >= 10 && FBStreamNotify(stream, type, op, state);
              });
  sinkA.AddSink("In", {StreamA}).Connect(&out);
  sinkB.AddSink("In", {StreamB}).Connect(&out);
  for (int n : {1, 12, 3, 14}) out.Notify(Number(n));
  EXPECT_EQ(sinkA.Numbers("In"), (std::vector<int>{1, 3}));
  EXPECT_EQ(sinkB.Numbers("In"), (std::vector<int>{12, 14}));
}

TEST(PinDelivery, HeldOperationsStayWithTheSender) {
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  sink.AddSink("In", {StreamA}).Connect(&out);
  EXPECT_FALSE(out.Notify(Number(1), fbsHeld));
  EXPECT_TRUE(sink.Received().empty());
}

TEST(PinDelivery, ARegisteredDefaultHandlerServesPinsDeclaredAfterwards) {
  RegisterTestStreams();
  std::atomic<int> calls = 0;
  FBRegisterDefaultHandler(StreamC, [&](IFBStream& stream, const TGUID& type,
                                        const TFBOperationPtr& op, TFBState state) {
    ++calls;
    return FBStreamNotify(stream, type, op, state);
  });
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamC});
  TFBSinkPin& in = sink.AddSink("In", {StreamC});
  in.Connect(&out);
  out.Notify(Number(1));
  in.Notify(Number(2));
  FBRegisterDefaultHandler(StreamC, nullptr);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(sink.Numbers("In"), std::vector<int>{1});
  EXPECT_EQ(source.Numbers("Out"), std::vector<int>{2});
}

TEST(PinDelivery, HandlersMaySendBackIntoTheirOwnComponent) {
  // The sink echoes upstream from inside its handler, the source answers
  // the echo downstream again: three nested deliveries under one lock on
  // one thread, in a feedback loop of one component.
  TNode node;
  TFBSourcePin& out = node.AddSource("Out", {StreamA});
  TFBSinkPin& in = node.AddSink("In", {StreamA});
  in.Connect(&out);
  node.Reaction = [&](TFBPin& pin, const TFBOperationPtr& op) {
    EXPECT_TRUE(node.GetLock()->IsHeldByCurrentThread());
    const int n = NumberOf(op);
    if (&pin == &in && n < 3) in.Notify(Number(n + 1));
    if (&pin == &out) out.Notify(Number(n + 10));
    return true;
  };
  out.Notify(Number(1));
  EXPECT_EQ(node.Numbers("In"), (std::vector<int>{1, 12}));
  EXPECT_EQ(node.Numbers("Out"), (std::vector<int>{2}));
  EXPECT_FALSE(node.GetLock()->IsHeldByCurrentThread());
}

TEST(PinConnection, AgreesOnTheSourcesFirstChoice) {
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamB, StreamA});
  TFBSinkPin& in = sink.AddSink("In", {StreamA, StreamB});
  in.Connect(&out);
  EXPECT_EQ(in.GetDataType(), StreamB);
  out.Notify(Number(1));
  ASSERT_EQ(sink.Received().size(), 1u);
  EXPECT_EQ(sink.Received()[0].DataType, StreamB);
}

TEST(PinConnection, ASinkHasOneSourceAndASourceManySinks) {
  TNode first, second, sink;
  TFBSourcePin& out1 = first.AddSource("Out", {StreamA});
  TFBSourcePin& out2 = second.AddSource("Out", {StreamA});
  TFBSinkPin& in = sink.AddSink("In", {StreamA});
  in.Connect(&out1);
  out2.Connect(in);  // replaces the first source
  EXPECT_EQ(in.GetSource(), &out2);
  EXPECT_TRUE(out1.GetSinks().empty());
  EXPECT_FALSE(out1.IsConnected());
  out1.Notify(Number(1));
  out2.Notify(Number(2));
  EXPECT_EQ(sink.Numbers("In"), std::vector<int>{2});

  out2.Disconnect(in);
  EXPECT_EQ(in.GetSource(), nullptr);
  EXPECT_FALSE(out2.Notify(Number(3)));
  EXPECT_EQ(in.GetDataType(), TGUID{});
}

TEST(PinConnection, PinsWithoutCommonTypeStayApart) {
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  TFBSinkPin& in = sink.AddSink("In", {StreamC});
  TFBSourcePin& other = source.AddSource("Other", {StreamC});
  in.Connect(&other);
  EXPECT_THROW(in.Connect(&out), EFBError);
  EXPECT_EQ(in.GetSource(), nullptr);
  EXPECT_TRUE(out.GetSinks().empty());
}

TEST(PinConnection, DestroyingEitherComponentDropsTheConnection) {
  TNode source;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  {
    TNode sink;
    sink.AddSink("In", {StreamA}).Connect(&out);
    EXPECT_EQ(out.GetSinks().size(), 1u);
  }
  EXPECT_TRUE(out.GetSinks().empty());
  EXPECT_FALSE(out.Notify(Number(1)));

  TNode sink;
  TFBSinkPin& in = sink.AddSink("In", {StreamA});
  {
    TNode other;
    in.Connect(&other.AddSource("Out", {StreamA}));
  }
  EXPECT_EQ(in.GetSource(), nullptr);
  EXPECT_FALSE(in.Notify(Number(1)));
}

TEST(PinConnection, AShutDownPinNeitherSendsNorConnects) {
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  TFBSinkPin& in = sink.AddSink("In", {StreamA});
  in.Connect(&out);
  out.Shutdown();
  EXPECT_TRUE(out.IsShutDown());
  EXPECT_EQ(in.GetSource(), nullptr);
  EXPECT_FALSE(out.Notify(Number(1)));
  EXPECT_THROW(in.Connect(&out), EFBError);
  EXPECT_TRUE(sink.Received().empty());
}

TEST(PinConnection, DependentsMakeASinkPassPumpRequestsOn) {
  TNode filter;
  TFBSourcePin& out = filter.AddSource("Out", {StreamA});
  TFBSinkPin& in = filter.AddSink("In", {StreamA});
  EXPECT_TRUE(in.IsTerminal());
  out.AddDependent(in);
  out.AddDependent(in);
  EXPECT_EQ(out.GetDependents(), std::vector<TFBSinkPin*>{&in});
  EXPECT_FALSE(in.IsTerminal());
  out.RemoveDependent(in);
  EXPECT_TRUE(in.IsTerminal());
  out.AddDependent(in);
  out.Shutdown();
  EXPECT_TRUE(in.IsTerminal());
}

TEST(PinLocking, HandlersRunUnderThePinsLockAndNotAfterDestructionBegan) {
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  sink.AddSink("In", {StreamA}).Connect(&out);
  bool heldDuringHandler = false;
  sink.Reaction = [&](TFBPin&, const TFBOperationPtr&) {
    heldDuringHandler = sink.GetLock()->IsHeldByCurrentThread();
    return true;
  };
  EXPECT_TRUE(out.Notify(Number(1)));
  EXPECT_TRUE(heldDuringHandler);

  // Destruction begun on another thread: the operation is dropped.
  std::thread([&] { sink.GetLock()->BeginDestroy(); }).join();
  EXPECT_FALSE(out.Notify(Number(2)));
  EXPECT_EQ(sink.Numbers("In"), std::vector<int>{1});
}

// A converter from stream A to stream B that turns n into 100 + n and counts
// its instances.
class TPlusHundred : public TFBFormatConverter {
 public:
  static inline std::atomic<int> Alive = 0;
  TPlusHundred(TFBSinkPin&, TFBSourcePin&) : TFBFormatConverter(StreamA, StreamB) { ++Alive; }
  ~TPlusHundred() override { --Alive; }

 protected:
  bool SourceOperation(const TGUID& type, const TFBOperationPtr& op, TFBState state) override {
    if (const int n = NumberOf(op); n >= 0) return GetOutputPin().Notify(Number(100 + n), state);
    return TFBFormatConverter::SourceOperation(type, op, state);
  }
};

TEST(PinConverter, IsInsertedWhenTheTypesDifferAndGoesWithTheConnection) {
  RegisterTestStreams();
  FBRegisterTypeConverter<TPlusHundred>(StreamA, StreamB);
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  TFBSinkPin& in = sink.AddSink("In", {StreamB});
  in.Connect(&out);
  EXPECT_EQ(TPlusHundred::Alive, 1);
  ASSERT_TRUE(in.GetConverter());
  EXPECT_EQ(in.GetSource(), &out);  // the logical source, not the converter
  EXPECT_EQ(out.GetSinks(), std::vector<TFBSinkPin*>{&in});
  EXPECT_EQ(in.GetDataType(), StreamB);

  out.Notify(Number(7));
  out.Notify(MakeRef<TFBStopOperation>());
  const auto received = sink.Received();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(NumberOf(received[0].Operation), 107);
  EXPECT_EQ(received[0].DataType, StreamB);
  EXPECT_TRUE(RefCast<TFBStopOperation>(received[1].Operation));  // passed on unchanged

  in.Notify(Number(5));  // upstream passes back unchanged
  EXPECT_EQ(source.Numbers("Out"), std::vector<int>{5});
  EXPECT_EQ(source.Received()[0].DataType, StreamA);

  in.Disconnect();
  EXPECT_EQ(TPlusHundred::Alive, 0);
  EXPECT_TRUE(out.GetSinks().empty());
}

TEST(PinConverter, ADirectTypeIsPreferredToAConverter) {
  RegisterTestStreams();
  FBRegisterTypeConverter<TPlusHundred>(StreamA, StreamB);
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamA, StreamB});
  TFBSinkPin& in = sink.AddSink("In", {StreamB});
  in.Connect(&out);
  EXPECT_FALSE(in.GetConverter());
  out.Notify(Number(7));
  EXPECT_EQ(sink.Numbers("In"), std::vector<int>{7});
}

}  // namespace
}  // namespace qx::test
