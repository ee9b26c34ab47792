#include "keyentry/time_of_day.h"

#include <ctime>

namespace quillora {
namespace {

class SystemClock final : public TimeOfDaySource {
 public:
  TimeOfDay Now() override {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_hour, local.tm_min};
  }
};

}  // namespace

TimeOfDaySource& SystemTimeOfDay() {
  static SystemClock clock;
  return clock;
}

}  // namespace quillora
