// Allocation failures on demand, for the tests of what happens when memory
// runs out. A test program that links quillora_failing_allocator has the
// global allocation functions (operator new and delete) replaced by ones
// that fail when told to. The settings are per thread, so that threads the
// test does not aim at (an audio device's, for instance) never fail.
#pragma once

#include <cstddef>

namespace quillora::testing_support {

// Lets `allowed` more allocations of this thread succeed, then fails the
// next one, once.
void FailAllocationAfter(long allowed);

// Fails every allocation of this thread of more than `bytes` bytes, until
// StopFailingAllocations.
void FailAllocationsAbove(std::size_t bytes);

// Ends both kinds of failure on this thread.
void StopFailingAllocations();

// Whether the failure armed by FailAllocationAfter has happened.
bool ArmedFailureHappened();

}  // namespace quillora::testing_support
