// Waiting for another thread's effect in the package suites without hanging.
#pragma once

#include <chrono>
#include <thread>

namespace qx::test {

// Polls `condition` every millisecond until it holds; false after 20 s instead of hanging.
template <class F>
bool Eventually(F condition) {
  using namespace std::chrono_literals;
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

}  // namespace qx::test
