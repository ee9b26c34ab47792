// A call that may block, run on a thread of its own with a deadline, so that
// a test whose call never returns fails at the deadline instead of hanging
// until CTest's timeout kills it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>

namespace quillora::testing_support {

class BlockingCall {
 public:
  // Starts `call`. `release` must make a blocked call return (stop the sound
  // it waits for, for instance); it runs only when the call is still blocked
  // at the end of the test.
  BlockingCall(std::function<void()> call, std::function<void()> release)
      : release_(std::move(release)), thread_([this, call = std::move(call)] {
          call();
          std::lock_guard lock(mutex_);
          returned_ = true;
          changed_.notify_all();
        }) {}

  BlockingCall(const BlockingCall&) = delete;
  BlockingCall& operator=(const BlockingCall&) = delete;

  // A call still blocked here is a failure: it is released and joined. One
  // that cannot be released leaves a thread that still uses the test's
  // objects, so the program ends at once with a message.
  ~BlockingCall() {
    if (!ReturnsWithin(std::chrono::seconds(0))) {
      ADD_FAILURE() << "a blocking call was still blocked at the end";
      if (release_) release_();
      if (!ReturnsWithin(std::chrono::seconds(10))) {
        std::fprintf(stderr, "a blocking call could not be released\n");
        std::_Exit(1);
      }
    }
    thread_.join();
  }

  // True once the call has returned, waiting up to `patience` for it.
  bool ReturnsWithin(std::chrono::steady_clock::duration patience) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, patience, [this] { return returned_; });
  }

 private:
  std::function<void()> release_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool returned_ = false;
  std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace quillora::testing_support
