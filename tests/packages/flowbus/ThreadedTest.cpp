// Locks and pins under several threads: waits, refusals, and disconnecting
// and destroying while other threads deliver.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "../Eventually.h"
#include "TestNodes.h"
#include "host/Event.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;

TEST(LockThreads, TwoComponentsWaitingForEachOtherRefuseOneEntry) {
  // Each thread holds its own lock and enters the other's: instead of a
  // deadlock, one entry is refused; its thread backs off and the other
  // thread gets the lock it waited for.
  TRefPtr<IFBLock> a = FBCreateLock(), b = FBCreateLock();
  std::atomic<int> holding = 0, refused = 0, granted = 0;
  auto cross = [&](IFBLock& mine, IFBLock& theirs) {
    ASSERT_TRUE(mine.Enter());
    ++holding;
    while (holding < 2) std::this_thread::yield();
    if (theirs.Enter()) {
      ++granted;
      theirs.Leave();
    } else {
      ++refused;
    }
    mine.Leave();
  };
  std::thread first(cross, std::ref(*a), std::ref(*b));
  std::thread second(cross, std::ref(*b), std::ref(*a));
  first.join();
  second.join();
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(granted, 1);
}

TEST(PinThreads, DisconnectReturnsAfterTheLastDeliveryOnAnotherThread) {
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  TFBSinkPin& in = sink.AddSink("In", {StreamA});
  in.Connect(&out);
  std::atomic<int> entered = 0, sent = 0;
  std::atomic<bool> stop = false;
  sink.Reaction = [&](TFBPin&, const TFBOperationPtr&) {
    ++entered;
    std::this_thread::sleep_for(100us);  // be inside when the disconnect comes
    return true;
  };
  std::thread sender([&] {
    for (int n = 0; !stop; ++n) {
      out.Notify(Number(n));
      ++sent;
    }
  });
  ASSERT_TRUE(Eventually([&] { return entered > 50; }));
  in.Disconnect();
  const int enteredAtReturn = entered;
  const int sentAtReturn = sent;
  ASSERT_TRUE(Eventually([&] { return sent > sentAtReturn + 200; }));
  stop = true;
  sender.join();
  EXPECT_EQ(entered, enteredAtReturn);
  // What arrived, arrived in order.
  const std::vector<int> numbers = sink.Numbers("In");
  EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
}

TEST(PinThreads, ADisconnectWaitingForAHandlerThatWaitsForItsLockRefusesTheHandler) {
  // The main thread holds the sink's lock and disconnects while another
  // thread delivers into the sink and needs that lock: the delivery is
  // refused instead of both waiting for ever.
  TNode source, sink;
  TFBSourcePin& out = source.AddSource("Out", {});
  TEvent inFlight;
  out.AddType(StreamA,
              [&](IFBStream& stream, const TGUID& type, const TFBOperationPtr& op, TFBState state) {
                inFlight.SetEvent();
                return FBStreamNotify(stream, type, op, state);
              });
  TFBSinkPin& in = sink.AddSink("In", {StreamA});
  in.Connect(&out);

  ASSERT_TRUE(sink.GetLock()->Enter());
  std::atomic<int> result = -1;
  std::thread sender([&] { result = out.Notify(Number(1)) ? 1 : 0; });
  inFlight.WaitFor();
  in.Disconnect();
  sink.GetLock()->Leave();
  sender.join();
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(sink.Received().empty());
}

TEST(PinThreads, DestroyingAReceiverWhileAnotherThreadSendsIsSafe) {
  TNode source;
  TFBSourcePin& out = source.AddSource("Out", {StreamA});
  std::atomic<bool> stop = false;
  std::thread sender([&] {
    while (!stop) out.Notify(Number(1));
  });
  for (int round = 0; round < 20; ++round) {
    auto sink = std::make_unique<TNode>();
    std::atomic<int> received = 0;
    sink->Reaction = [&](TFBPin&, const TFBOperationPtr&) {
      ++received;
      return true;
    };
    sink->AddSink("In", {StreamA}).Connect(&out);
    ASSERT_TRUE(Eventually([&] { return received > 5; }));
    sink.reset();  // BeginDestroy, pins shut down, then the members go
  }
  stop = true;
  sender.join();
  EXPECT_TRUE(out.GetSinks().empty());
}

}  // namespace
}  // namespace qx::test
