// QUILLORA_VECTOR_CLONES marks a hot loop that the compiler should also
// build for processors with wider vectors (x86-64-v3: AVX2), the version
// being picked when the program loads. The results are the same on every
// version: the loops hold no floating-point sums that could be fused. Other
// compilers and targets get the plain build.
#pragma once

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define QUILLORA_VECTOR_CLONES \
  __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define QUILLORA_VECTOR_CLONES
#endif
