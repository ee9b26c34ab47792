#include "tests/support/failing_allocator.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace quillora::testing_support {
namespace {

// Allocations still allowed before one fails; negative: none armed.
thread_local long allocationsBeforeFailure = -1;
thread_local bool armedFailureHappened = false;
thread_local std::size_t largestAllowed = SIZE_MAX;

}  // namespace

void FailAllocationAfter(long allowed) {
  allocationsBeforeFailure = allowed;
  armedFailureHappened = false;
}

void FailAllocationsAbove(std::size_t bytes) { largestAllowed = bytes; }

void StopFailingAllocations() {
  allocationsBeforeFailure = -1;
  largestAllowed = SIZE_MAX;
}

bool ArmedFailureHappened() { return armedFailureHappened; }

namespace {

void* Allocate(std::size_t size) {
  if (size > largestAllowed) return nullptr;
  if (allocationsBeforeFailure == 0) {
    allocationsBeforeFailure = -1;
    armedFailureHappened = true;
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
}  // namespace quillora::testing_support

using quillora::testing_support::Allocate;
using quillora::testing_support::AllocateOrThrow;

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
