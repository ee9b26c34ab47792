// quillora-cli tone when the memory for the tone cannot be had: both the
// file and the play end with a clear message and a failing status, and no
// file is left behind. This program replaces the global allocation
// functions so that large allocations can be made to fail.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

// While set, allocations above 1 MiB fail on this thread; the tone's image
// is the only allocation of that size.
thread_local bool failLargeAllocations = false;

void* Allocate(std::size_t size) {
  if (failLargeAllocations && size > (1u << 20)) return nullptr;
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

struct CliRun {
  int status;
  std::string err;
};

// A 32-second stereo tone at the highest quality: several megabytes.
CliRun RunLongTone(std::vector<std::string> output) {
  std::vector<std::string> args{"tone",     "--duration", "32767",
                                "--stereo", "--quality",  "hi"};
  args.insert(args.end(), output.begin(), output.end());
  std::istringstream in;
  std::ostringstream out, err;
  failLargeAllocations = true;
  const int status = RunCli(args, in, out, err);
  failLargeAllocations = false;
  return {status, err.str()};
}

TEST(ToneOutOfMemoryTest, WritingTheFileFailsWithAMessageAndNoFile) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("quillora-oom-" + std::to_string(getpid()) + ".wav");
  const CliRun run = RunLongTone({"-o", file.string()});
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(run.err, "quillora-cli: not enough memory for the tone\n");
  EXPECT_FALSE(std::filesystem::exists(file));
}

#ifdef QUILLORA_HAVE_SOUND_OUTPUT
TEST(ToneOutOfMemoryTest, PlayingFailsWithAMessage) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const CliRun run = RunLongTone({"--play"});
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(run.err, "quillora-cli: not enough memory for the tone\n");
}
#endif

}  // namespace
}  // namespace quillora
