// Polling with a deadline, for tests that wait for another thread.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace quillora::testing_support {

// Polls `done` every millisecond until it holds (true) or `patience` has
// passed (false).
inline bool WaitUntil(
    const std::function<bool()>& done,
    std::chrono::steady_clock::duration patience = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace quillora::testing_support
