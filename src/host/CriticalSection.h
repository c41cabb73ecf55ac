// TCriticalSection: a recursive lock for the few values that threads share
// (positions, counters handed to the main thread).
//
// The thread that holds it may enter it again; it is free once every `Enter`
// (or successful `TryEnter`) has had its `Leave`. Prefer the guard:
//
//   TCriticalSectionGuard guard(FPositionLock);
//   FLastFrame = frame;
#pragma once

#include <mutex>

namespace qx {

class TCriticalSection {
 public:
  TCriticalSection() = default;
  TCriticalSection(const TCriticalSection&) = delete;
  TCriticalSection& operator=(const TCriticalSection&) = delete;

  void Enter() { FMutex.lock(); }
  void Leave() { FMutex.unlock(); }
  // Enters when no other thread holds the section; false otherwise.
  bool TryEnter() { return FMutex.try_lock(); }

 private:
  std::recursive_mutex FMutex;
};

// Holds a critical section for its lifetime.
class TCriticalSectionGuard {
 public:
  explicit TCriticalSectionGuard(TCriticalSection& section) : FSection(section) {
    FSection.Enter();
  }
  ~TCriticalSectionGuard() { FSection.Leave(); }
  TCriticalSectionGuard(const TCriticalSectionGuard&) = delete;
  TCriticalSectionGuard& operator=(const TCriticalSectionGuard&) = delete;

 private:
  TCriticalSection& FSection;
};

}  // namespace qx
