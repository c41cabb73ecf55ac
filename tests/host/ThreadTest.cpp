// TThread: start, terminate, wait, names, priority and escaped exceptions.
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <stdexcept>

#include "host/Event.h"
#include "host/Exceptions.h"
#include "host/Thread.h"

namespace qx {
namespace {

// A thread whose body is given by the test; waits on its wake event between
// rounds and is woken by Terminate.
class TTestThread : public TThread {
 public:
  TTestThread(std::string name, std::function<void(TTestThread&)> body)
      : TThread(std::move(name)), FBody(std::move(body)) {}
  ~TTestThread() override {
    Terminate();
    WaitFor();
  }

  TEvent FWake;

 protected:
  void Execute() override { FBody(*this); }
  void TerminatedSet() override { FWake.SetEvent(); }

 private:
  std::function<void(TTestThread&)> FBody;
};

std::string CurrentThreadName() {
  char name[16] = {};
  pthread_getname_np(pthread_self(), name, sizeof name);
  return name;
}

TEST(ThreadTest, RunsUntilTerminatedAndWaitForReturnsAfterExecute) {
  std::atomic<int> rounds{0};
  TEvent roundDone;
  TTestThread thread("Worker", [&](TTestThread& self) {
    while (!self.Terminated()) {
      ++rounds;
      roundDone.SetEvent();
      self.FWake.WaitFor();
    }
  });
  EXPECT_FALSE(thread.Finished());
  thread.Start();
  roundDone.WaitFor();
  thread.FWake.SetEvent();
  roundDone.WaitFor();
  EXPECT_FALSE(thread.Finished());
  thread.Terminate();  // wakes the wait through TerminatedSet
  thread.WaitFor();
  EXPECT_TRUE(thread.Finished());
  EXPECT_TRUE(thread.Terminated());
  EXPECT_EQ(rounds, 2);
  EXPECT_EQ(thread.FatalException(), nullptr);
  thread.WaitFor();  // waiting again returns at once
}

TEST(ThreadTest, NameIsGivenToTheSystemThreadCutTo15BytesNeverInsideACharacter) {
  // Byte 15 of the second name falls inside "ß": the name ends before it.
  for (const auto& [name, expected] : {std::pair{"QuexaFrameQueueThread", "QuexaFrameQueue"},
                                       std::pair{"Aufnahmen-Grüße", "Aufnahmen-Grü"}}) {
    std::string seen;
    TTestThread thread(name, [&](TTestThread&) { seen = CurrentThreadName(); });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(seen, expected);
  }
}

TEST(ThreadTest, EscapedExceptionEndsTheThreadAndIsKept) {
  {
    TTestThread idle("Idle", [](TTestThread&) { throw std::logic_error("never runs"); });
    idle.WaitFor();  // never started: returns at once, and destruction is quiet
    EXPECT_EQ(idle.FatalException(), nullptr);
  }
  TTestThread thread("Thrower", [](TTestThread&) { throw std::runtime_error("device lost"); });
  thread.Start();
  thread.WaitFor();
  ASSERT_NE(thread.FatalException(), nullptr);
  try {
    std::rethrow_exception(thread.FatalException());
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "device lost");
  }
}

TEST(ThreadTest, StartingTwiceOrWaitingForItselfIsRefused) {
  bool refused = false;
  TTestThread thread("Self", [&](TTestThread& self) {
    try {
      self.WaitFor();
    } catch (const EThreadError&) {
      refused = true;
    }
  });
  thread.Start();
  EXPECT_THROW(thread.Start(), EThreadError);
  thread.WaitFor();
  EXPECT_TRUE(refused);
}

TEST(ThreadTest, LowerPriorityIsAppliedBeforeAndAfterStart) {
  std::atomic<int> niceAtStart{-100};
  int niceLater = -100;
  TTestThread thread("Nice", [&](TTestThread& self) {
    niceAtStart = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    self.FWake.WaitFor();
    niceLater = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  });
  const int processNice = getpriority(PRIO_PROCESS, 0);
  thread.SetPriority(tpLower);
  thread.Start();
  while (niceAtStart == -100) std::this_thread::yield();
  thread.SetPriority(tpIdle);  // lowering is always permitted
  thread.FWake.SetEvent();
  thread.WaitFor();
  // Without privilege a thread cannot go below the process's nice value.
  EXPECT_EQ(niceAtStart, geteuid() == 0 ? 5 : std::max(processNice, 5));
  EXPECT_EQ(niceLater, 19);
  EXPECT_EQ(thread.GetPriority(), tpIdle);
}

}  // namespace
}  // namespace qx
