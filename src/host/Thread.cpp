#include "host/Thread.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include "host/Exceptions.h"

namespace qx {
namespace {

int NiceValue(TThreadPriority priority) {
  constexpr int values[] = {19, 10, 5, 0, -5, -10, -15};
  return values[priority];
}

}  // namespace

void SetCurrentThreadName(std::string_view name) {
  constexpr std::size_t limit = 15;
  std::size_t length = std::min(name.size(), limit);
  // Never cut a UTF-8 sequence: back up over continuation bytes.
  if (length < name.size()) {
    while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  }
  pthread_setname_np(pthread_self(), std::string(name.substr(0, length)).c_str());
}

TThread::TThread(std::string name) : FName(std::move(name)) {}

TThread::~TThread() {
  Terminate();
  {
    // A thread destroying its own object cannot wait for itself.
    std::lock_guard lock(FThreadMutex);
    if (FThread.joinable() && FThreadId == std::this_thread::get_id()) FThread.detach();
  }
  WaitFor();
}

void TThread::Start() {
  std::lock_guard lock(FThreadMutex);
  if (FStarted) throw EThreadError("thread " + FName + " was started before");
  FStarted = true;
  FThread = std::thread([this] { Run(); });
  FThreadId = FThread.get_id();
}

void TThread::Run() {
  if (!FName.empty()) SetCurrentThreadName(FName);
  {
    std::lock_guard lock(FThreadMutex);
    FSystemId = static_cast<int>(gettid());
    ApplyPriority();
  }
  try {
    Execute();
  } catch (...) {
    FFatalException = std::current_exception();
  }
  {
    std::lock_guard lock(FThreadMutex);
    FSystemId = 0;
  }
  FFinished.store(true, std::memory_order_release);
}

void TThread::ApplyPriority() {
  if (FSystemId != 0) {
    // Refused (raising without privilege): the thread keeps its priority.
    setpriority(PRIO_PROCESS, static_cast<id_t>(FSystemId), NiceValue(FPriority.load()));
  }
}

void TThread::SetPriority(TThreadPriority priority) {
  std::lock_guard lock(FThreadMutex);
  FPriority.store(priority);
  ApplyPriority();
}

void TThread::Terminate() {
  FTerminated.store(true, std::memory_order_release);
  TerminatedSet();
}

void TThread::WaitFor() {
  {
    std::lock_guard lock(FThreadMutex);
    if (FThreadId == std::this_thread::get_id()) {
      throw EThreadError("thread " + FName + " cannot wait for itself");
    }
  }
  std::lock_guard join(FJoinMutex);
  std::thread thread;
  {
    std::lock_guard lock(FThreadMutex);
    thread = std::move(FThread);
  }
  if (thread.joinable()) thread.join();
}

std::exception_ptr TThread::FatalException() const {
  return Finished() ? FFatalException : nullptr;
}

}  // namespace qx
