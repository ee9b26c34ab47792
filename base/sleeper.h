// Waiting, behind an interface, so that code which paces itself in real time
// (the melody player, the key-entry animation) can be tested without waiting.
#pragma once

#include <cstdint>

namespace quillora {

class Sleeper {
 public:
  virtual ~Sleeper() = default;

  // Blocks the calling thread for `milliseconds` (0 or less returns at
  // once). Implementations used from several threads must be thread-safe.
  virtual void SleepMilliseconds(std::int64_t milliseconds) = 0;
};

// Sleeps on the system's monotonic clock. Thread-safe; lives for the whole
// program.
Sleeper& SystemSleeper();

}  // namespace quillora
