#include "sound/sample_buffer_pool.h"

#include <utility>

namespace quillora {

std::vector<std::uint8_t> SampleBufferPool::Copy(
    std::span<const std::uint8_t> samples) {
  std::vector<std::uint8_t> buffer;
  {
    std::lock_guard lock(mutex_);
    buffer.swap(spare_);
  }
  // Too small a buffer is freed before the larger one is allocated.
  if (buffer.capacity() < samples.size()) buffer = {};
  buffer.assign(samples.begin(), samples.end());
  return buffer;
}

void SampleBufferPool::GiveBack(std::vector<std::uint8_t> buffer) {
  std::lock_guard lock(mutex_);
  if (buffer.capacity() > spare_.capacity()) buffer.swap(spare_);
  // The smaller buffer is freed on return, with the lock released.
}

std::size_t SampleBufferPool::SpareCapacity() const {
  std::lock_guard lock(mutex_);
  return spare_.capacity();
}

}  // namespace quillora
