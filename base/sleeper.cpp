#include "base/sleeper.h"

#include <chrono>
#include <thread>

namespace quillora {
namespace {

class RealSleeper final : public Sleeper {
 public:
  void SleepMilliseconds(std::int64_t milliseconds) override {
    if (milliseconds > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
  }
};

}  // namespace

Sleeper& SystemSleeper() {
  static RealSleeper sleeper;
  return sleeper;
}

}  // namespace quillora
