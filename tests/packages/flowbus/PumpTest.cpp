// Pump negotiation: elections at the end of the requests' way and the
// master's ticks handed to the other generators.
#include <gtest/gtest.h>

#include "TestNodes.h"
#include "packages/flowbus/FBPumpOperations.h"

namespace qx::test {
namespace {

// A generator as the generator bases behave: it asks for the pump, then
// either times itself (a test calls Pump) or produces one frame per new tick
// of the master it was told about.
class TGenerator : public TNode {
 public:
  // Asks for the pump at `priority` with a rate of 10 x `id` frames per second.
  TGenerator(int id, std::int32_t priority) : Id(id), Priority(priority) {
    Reaction = [this](TFBPin&, const TFBOperationPtr& op) {
      auto tick = RefCast<TFBMasterPumpOperation>(op);
      if (!tick) return false;
      Ticks.push_back(tick->GetCount());
      if (FMaster != this && tick->GetSender() == FMaster && tick->GetCount() != FLastTick) Pump();
      FLastTick = tick->GetCount();
      return false;
    };
  }

  TRefPtr<TFBPumpRequestOperation> RequestPump() {
    auto request = MakeRef<TFBPumpRequestOperation>(this, 2, Priority, 10.0 * Id);
    Out.Notify(request);
    FMaster = request->GetMaster();
    return request;
  }
  void Pump() { Out.Notify(Number(Id)); }

  const int Id;
  const std::int32_t Priority;
  TFBSourcePin& Out = AddSource("Out", {StreamA});
  std::vector<std::int64_t> Ticks;

 private:
  TComponent* FMaster = nullptr;
  std::int64_t FLastTick = 0;
};

TEST(PumpElection, TheHighestPriorityWinsAndItsTicksPumpTheOthers) {
  TGenerator g1{1, 0}, g2{2, 5}, g3{3, 5};
  TNode mixer;
  for (TGenerator* g : {&g1, &g2, &g3}) {
    mixer.AddSink("In" + std::to_string(g->Id), {StreamA}).Connect(&g->Out);
  }
  EXPECT_EQ(g1.RequestPump()->GetMaster(), &g1);  // alone so far
  EXPECT_EQ(g2.RequestPump()->GetMaster(), &g2);  // 5 beats 0
  auto third = g3.RequestPump();                  // 5 ties with g2, which asked first
  EXPECT_EQ(third->GetMaster(), &g2);
  EXPECT_EQ(third->GetMasterPriority(), 5);
  EXPECT_EQ(third->GetValue(), 20.0);  // the master's rate
  EXPECT_EQ(third->GetOriginPin(), &g3.Out);
  // An earlier sender learns the outcome with its next request.
  EXPECT_EQ(g1.RequestPump()->GetMaster(), &g2);

  for (int i = 0; i < 3; ++i) g2.Pump();
  // After each frame of the master, one frame of each other generator.
  std::vector<int> frames;
  for (const TReceived& received : mixer.Received()) {
    if (const int n = NumberOf(received.Operation); n >= 0) frames.push_back(n);
  }
  EXPECT_EQ(frames, (std::vector<int>{2, 1, 3, 2, 1, 3, 2, 1, 3}));
  EXPECT_EQ(g1.Ticks, (std::vector<std::int64_t>{1, 2, 3}));
  EXPECT_TRUE(g2.Ticks.empty());

  // A sender that leaves leaves the election; the new master counts anew.
  g2.Out.DisconnectAll();
  EXPECT_EQ(g1.RequestPump()->GetMaster(), &g3);
  g3.Pump();
  EXPECT_EQ(g1.Ticks.back(), 1);
}

TEST(PumpElection, APinWithADependentPassesRequestsOnAndAnUnansweredOneElectsItsSender) {
  // A filter that does not pass requests on: nobody answers, so each is its
  // own master although g1 asked first with a higher priority.
  TGenerator g1(1, 5), g2(2, 0);
  TNode filter;
  TFBSourcePin& out = filter.AddSource("Out", {StreamA});
  const std::vector<TFBSinkPin*> inputs{&filter.AddSink("In1", {StreamA}),
                                        &filter.AddSink("In2", {StreamA})};
  for (TGenerator* g : {&g1, &g2}) {
    out.AddDependent(*inputs[g->Id - 1]);
    inputs[g->Id - 1]->Connect(&g->Out);
  }
  out.AddDependent(*inputs[0]);  // once is enough
  EXPECT_EQ(out.GetDependents(), inputs);
  EXPECT_EQ(g1.RequestPump()->GetMaster(), &g1);
  auto unanswered = g2.RequestPump();
  EXPECT_TRUE(unanswered->IsMaster(&g2));
  EXPECT_EQ(unanswered->GetValue(), 20.0);

  // Passed on to a terminal pin further down, the requests are elected there.
  TNode display;
  display.AddSink("In", {StreamA}).Connect(&out);
  filter.Reaction = [&](TFBPin& pin, const TFBOperationPtr& op) {
    return &pin != &out && out.Notify(op);
  };
  EXPECT_EQ(g1.RequestPump()->GetMaster(), &g1);
  EXPECT_EQ(g2.RequestPump()->GetMaster(), &g1);
  g2.Out.Shutdown();
  EXPECT_EQ(unanswered->GetOriginPin(), nullptr);
  EXPECT_FALSE(inputs[0]->IsTerminal());
  out.RemoveDependent(*inputs[0]);
  EXPECT_TRUE(inputs[0]->IsTerminal());
  out.Shutdown();
  EXPECT_TRUE(inputs[1]->IsTerminal());
}

}  // namespace
}  // namespace qx::test
