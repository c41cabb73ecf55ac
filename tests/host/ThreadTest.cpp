// TThread: start, terminate, wait, names and escaped exceptions.
#include <gtest/gtest.h>
#include <pthread.h>

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

TEST(ThreadTest, RunsUntilTerminatedStartsOnceAndCannotWaitForItself) {
  bool selfWaitRefused = false;
  TTestThread thread("Worker", [&](TTestThread& self) {
    try {
      self.WaitFor();
    } catch (const EThreadError&) {
      selfWaitRefused = true;
    }
    while (!self.Terminated()) self.FWake.WaitFor();
  });
  thread.Start();
  EXPECT_THROW(thread.Start(), EThreadError);
  EXPECT_FALSE(thread.Finished());
  thread.Terminate();  // wakes the wait through TerminatedSet
  thread.WaitFor();
  EXPECT_TRUE(thread.Finished());
  EXPECT_TRUE(selfWaitRefused);
  thread.WaitFor();  // waiting again returns at once
}

TEST(ThreadTest, NameIsGivenToTheSystemThreadCutTo15BytesNeverInsideACharacter) {
  // Byte 15 of the second name falls inside "ß": the name ends before it.
  for (const auto& [name, expected] : {std::pair{"QuexaFrameQueueThread", "QuexaFrameQueue"},
                                       std::pair{"Aufnahmen-Grüße", "Aufnahmen-Grü"}}) {
    std::string seen;
    TTestThread thread(name, [&](TTestThread&) {
      char buffer[16] = {};
      pthread_getname_np(pthread_self(), buffer, sizeof buffer);
      seen = buffer;
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(seen, expected);
  }
}

TEST(ThreadTest, EscapedExceptionEndsTheThreadAndIsKept) {
  TTestThread idle("Idle", [](TTestThread&) {});
  idle.WaitFor();  // never started: returns at once, and destruction is quiet
  TTestThread thread("Thrower", [](TTestThread&) { throw std::runtime_error("device lost"); });
  thread.Start();
  thread.WaitFor();
  ASSERT_NE(thread.FatalException(), nullptr);
  EXPECT_THROW(std::rethrow_exception(thread.FatalException()), std::runtime_error);
}

}  // namespace
}  // namespace qx
