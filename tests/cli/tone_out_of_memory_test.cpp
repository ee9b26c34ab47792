// quillora-cli tone when the memory for the tone cannot be had: both the
// file and the play end with a clear message and a failing status, and no
// file is left behind. This program fails large allocations on purpose.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "tests/support/failing_allocator.h"

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
  // The tone's image is the only allocation of that size.
  testing_support::FailAllocationsAbove(1u << 20);
  const int status = RunCli(args, in, out, err);
  testing_support::StopFailingAllocations();
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
