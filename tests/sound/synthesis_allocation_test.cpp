// Running out of memory during a synthesis is reported, not fatal. This
// program replaces the global allocation functions so that the n-th
// allocation of a call can be made to fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "sound/synthesis.h"

namespace {

// Allocations still allowed before one fails; negative: no failure armed.
// Per thread, so that nothing else in the process is affected.
thread_local long allocationsBeforeFailure = -1;

void* Allocate(std::size_t size) {
  if (allocationsBeforeFailure == 0) {
    allocationsBeforeFailure = -1;
    return nullptr;
  }
  if (allocationsBeforeFailure > 0) --allocationsBeforeFailure;
  return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrThrow(std::size_t size) {
  void* memory = Allocate(size);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}

namespace quillora {
namespace {

// Fails the first, then the second, ... allocation of a synthesis until one
// runs through: every failure must give no image, and a failure-free run
// must still give the full image.
TEST(SynthesisAllocationTest, EveryFailedAllocationGivesNoImage) {
  ToneSettings settings;
  settings.Frequency = 441;
  settings.Waveform = tgTriangle;
  settings.AMAmplitudes = {20, 0, 0, 0, 30};
  settings.AMWaveforms[4] = tgNoise;

  int failuresReported = 0;
  for (long allowed = 0;; ++allowed) {
    allocationsBeforeFailure = allowed;
    std::optional<WaveImage> image = SynthesizeWaveImage(settings);
    const bool failureHappened = allocationsBeforeFailure == -1;
    allocationsBeforeFailure = -1;
    if (!failureHappened) {
      ASSERT_TRUE(image.has_value());
      EXPECT_EQ(image->BufferSize, 19276u);
      break;
    }
    EXPECT_FALSE(image.has_value()) << "allocation " << allowed << " failed";
    ++failuresReported;
  }
  // The image itself and the scratch of the periodic layers.
  EXPECT_GE(failuresReported, 2);
}

}  // namespace
}  // namespace quillora
