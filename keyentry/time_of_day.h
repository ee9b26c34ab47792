// The local time of day, behind an interface so that tests can set it.
#pragma once

namespace quillora {

struct TimeOfDay {
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
};

class TimeOfDaySource {
 public:
  virtual ~TimeOfDaySource() = default;
  virtual TimeOfDay Now() = 0;
};

// The system's local time (its time zone included). Lives for the whole
// program.
TimeOfDaySource& SystemTimeOfDay();

}  // namespace quillora
