// quillora-cli tone --play on SDL's disk driver, which writes what reaches
// the device into a file at real-time pace. The companion opens the device
// once per process, so every test here shares that one output and file.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli.h"

namespace quillora {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A generous bound for what should happen promptly.
constexpr auto kPatience = 10s;

const std::filesystem::path& DiskFile() {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("quillora-cli-play-" + std::to_string(getpid()) + ".raw");
  return path;
}

// Chooses the disk driver before the companion opens the device.
class DiskDriverEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", DiskFile().c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove(DiskFile()); }
};

const auto* const kEnvironment =
    testing::AddGlobalTestEnvironment(new DiskDriverEnvironment);

struct TimedRun {
  int status;
  std::string err;
  Clock::duration took;
};

TimedRun PlayWith(std::vector<std::string> options) {
  std::vector<std::string> args{"tone", "--play"};
  args.insert(args.end(), options.begin(), options.end());
  std::istringstream in;
  std::ostringstream out, err;
  const Clock::time_point start = Clock::now();
  const int status = RunCli(args, in, out, err);
  return {status, err.str(), Clock::now() - start};
}

bool DeviceReceivedSound() {
  std::ifstream file(DiskFile(), std::ios::binary);
  return std::any_of(std::istreambuf_iterator<char>(file),
                     std::istreambuf_iterator<char>(),
                     [](char byte) { return byte != 0; });
}

// The device's blocks run a little ahead of the clock.
constexpr auto kBlockSlack = 50ms;

TEST(TonePlayTest, PlaysTheToneAndReturnsAtItsEnd) {
  const TimedRun run = PlayWith({"-w", "square", "-d", "300"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_GE(run.took, 300ms - kBlockSlack);
  EXPECT_LT(run.took, kPatience);

  // The disk driver writes a block to its file just after mixing it.
  const Clock::time_point deadline = Clock::now() + kPatience;
  while (!DeviceReceivedSound() && Clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_TRUE(DeviceReceivedSound());
}

TEST(TonePlayTest, PlaysWithTheEnvelopeAndReturnsAtItsEnd) {
  const TimedRun run =
      PlayWith({"--envelope", "--attack", "50", "--duration", "200"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_GE(run.took, 200ms - kBlockSlack);
  EXPECT_LT(run.took, kPatience);
}

}  // namespace
}  // namespace quillora
