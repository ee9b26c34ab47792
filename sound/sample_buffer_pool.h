// Memory for the sound output's copies of the samples it plays. A copy no
// longer played is given back and the next copy reuses it, so that a melody's
// notes do not each touch fresh pages: a long note then starts as fast as a
// short one. At most one spare buffer is kept, the largest given back, so the
// memory held is that of the longest sound copied since.
//
// Thread-safe. Buffers are copied into outside the lock.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace quillora {

class SampleBufferPool {
 public:
  // A buffer holding exactly `samples`: the spare buffer when there is one.
  // Throws std::bad_alloc when the memory for a larger buffer runs out.
  std::vector<std::uint8_t> Copy(std::span<const std::uint8_t> samples);

  // Takes back a buffer that nobody reads any more.
  void GiveBack(std::vector<std::uint8_t> buffer);

  // The capacity of the spare buffer, 0 when there is none.
  std::size_t SpareCapacity() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::uint8_t> spare_;
};

}  // namespace quillora
