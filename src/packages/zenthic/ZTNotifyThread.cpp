#include "packages/zenthic/ZTNotifyThread.h"

#include <utility>

namespace qx {

TZTNotifyThread::TZTNotifyThread(std::function<void()> handler, std::string name,
                                 TThreadPriority priority)
    : TNXThread(std::move(name), priority), FHandler(std::move(handler)) {
  Start();
}

TZTNotifyThread::~TZTNotifyThread() {
  Terminate();
  WaitFor();
}

void TZTNotifyThread::Execute() {
  for (;;) {
    WaitForWake();
    if (Terminated()) return;
    if (FHandler) FHandler();
  }
}

}  // namespace qx
