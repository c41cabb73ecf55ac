// Delivery, type agreement, converters and connection management of pins.
#include <gtest/gtest.h>

#include <atomic>

#include "TestNodes.h"
#include "packages/flowbus/FBExceptions.h"
#include "packages/flowbus/FBFormatConverter.h"
#include "packages/flowbus/FBStreamRegistry.h"

namespace qx::test {
namespace {

// A source node and a sink node, each with one pin of stream A, connected.
struct Connected : ::testing::Test {
  TNode Source, Sink;
  TFBSourcePin& Out = Source.AddSource("Out", {StreamA});
  TFBSinkPin& In = Sink.AddSink("In", {StreamA});
  void SetUp() override { In.Connect(&Out); }
};

TEST(PinDelivery, ReachesEverySinkInOrderOnTheSendingThread) {
  TNode source, sinks;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  for (const char* pin : {"In0", "In1", "In2"}) sinks.AddSink(pin, {StreamA}).Connect(&out);
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

TEST_F(Connected, ResultIsTrueWhenAnyReceiverSaysSoAndHeldOperationsStayWithTheSender) {
  EXPECT_FALSE(Out.Notify(Number(0), fbsHeld));
  TNode other;
  other.AddSink("In", {StreamA}).Connect(&Out);
  Sink.Reaction = [](TFBPin&, const TFBOperationPtr& op) { return NumberOf(op) == 1; };
  other.Reaction = [](TFBPin&, const TFBOperationPtr&) { return false; };
  EXPECT_TRUE(Out.Notify(Number(1)));
  EXPECT_FALSE(Out.Notify(Number(2)));
  EXPECT_FALSE(Out.Notify(nullptr));
  EXPECT_EQ(Sink.Numbers("In"), (std::vector<int>{1, 2}));
}

TEST(PinDelivery, EachConnectionGoesThroughTheHandlerOfItsTypeOrTheRegisteredDefault) {
  // Numbers below 10 go on connections of type A only, the others on type B
  // only; stream C's default handler, registered before the pins, counts.
  RegisterTestStreams();
  std::atomic<int> defaultCalls = 0;
  FBRegisterDefaultHandler(StreamC, [&](IFBStream& stream, const TGUID& type,
                                        const TFBOperationPtr& op, TFBState state) {
    ++defaultCalls;
    return FBStreamNotify(stream, type, op, state);
  });
  TNode source, sinkA, sinkB, sinkC;
  TFBSourcePin& out = source.AddSource("Out", {StreamC});
  for (const TGUID& type : {StreamA, StreamB}) {
    out.AddType(
        type, [](IFBStream& stream, const TGUID& t, const TFBOperationPtr& op, TFBState state) {
          return (NumberOf(op) < 10) == (t == StreamA) && FBStreamNotify(stream, t, op, state);
        });
  }
  sinkA.AddSink("In", {StreamA}).Connect(&out);
  sinkB.AddSink("In", {StreamB}).Connect(&out);
  TFBSinkPin& inC = sinkC.AddSink("In", {StreamC});
  inC.Connect(&out);
  for (int n : {1, 12, 3, 14}) out.Notify(Number(n));
  inC.Notify(Number(5));  // upstream through the default handler too
  FBRegisterDefaultHandler(StreamC, nullptr);
  EXPECT_EQ(sinkA.Numbers("In"), (std::vector<int>{1, 3}));
  EXPECT_EQ(sinkB.Numbers("In"), (std::vector<int>{12, 14}));
  EXPECT_EQ(sinkC.Numbers("In"), (std::vector<int>{1, 12, 3, 14}));
  EXPECT_EQ(source.Numbers("Out"), std::vector<int>{5});
  EXPECT_EQ(defaultCalls, 5);
}

TEST(PinDelivery, HandlersMaySendBackIntoTheirOwnComponent) {
  // The sink echoes upstream from inside its handler and the source answers
  // downstream again: nested deliveries under one lock on one thread.
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

TEST_F(Connected, ASinkHasOneSourceOfACommonType) {
  TNode second;
  TFBSourcePin& out2 = second.AddSource("Out", {StreamB, StreamA});
  TFBSinkPin& both = Sink.AddSink("Both", {StreamA, StreamB});
  both.Connect(&out2);
  EXPECT_EQ(both.GetDataType(), StreamB);  // the source's first choice

  out2.Connect(In);  // replaces the first source
  EXPECT_EQ(In.GetSource(), &out2);
  EXPECT_FALSE(Out.Notify(Number(1)));

  out2.Disconnect(In);
  EXPECT_EQ(In.GetSource(), nullptr);
  EXPECT_EQ(In.GetDataType(), TGUID{});

  TFBSinkPin& other = Sink.AddSink("Other", {StreamC});
  EXPECT_THROW(other.Connect(&Out), EFBError);
  EXPECT_EQ(other.GetSource(), nullptr);
}

TEST_F(Connected, DestroyingTheSourceOrShuttingItDownDropsTheConnection) {
  TFBSinkPin& second = Sink.AddSink("Second", {StreamA});
  {
    TNode other;
    second.Connect(&other.AddSource("Out", {StreamA}));
  }
  EXPECT_EQ(second.GetSource(), nullptr);

  Out.Shutdown();
  EXPECT_EQ(In.GetSource(), nullptr);
  EXPECT_FALSE(Out.Notify(Number(1)));
  EXPECT_THROW(In.Connect(&Out), EFBError);
}

// A converter from stream A to stream B: n becomes 100 + n.
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
  EXPECT_EQ(in.GetSource(), &out);  // the logical source, not the converter

  out.Notify(Number(7));
  out.Notify(MakeRef<TFBStopOperation>());  // not a number: passed on unchanged
  EXPECT_EQ(sink.Numbers("In"), (std::vector<int>{107, -1}));
  in.Notify(Number(5));  // upstream passes back unchanged
  EXPECT_EQ(source.Numbers("Out"), std::vector<int>{5});

  in.Disconnect();
  EXPECT_EQ(TPlusHundred::Alive, 0);
  // A direct type is preferred to a converter.
  out.AddType(StreamB);
  in.Connect(&out);
  EXPECT_FALSE(in.GetConverter());
  EXPECT_EQ(TPlusHundred::Alive, 0);
}

}  // namespace
}  // namespace qx::test
