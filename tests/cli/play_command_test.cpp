#include "cli/play_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"

namespace quillora {
namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun RunPlay(const std::vector<std::string>& args, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunCli(args, in, out, err);
  return {status, out.str(), err.str()};
}

TEST(PlayCommandTest, DryRunReadsAFileAtTheGivenTempo) {
  const std::filesystem::path file =
      std::filesystem::path(::testing::TempDir()) / "play_command_test.txt";
  std::ofstream(file, std::ios::binary) << "4c1\r\n4e1";  // one token
  const CliRun run =
      RunPlay({"play", "--dry-run", "--tempo", "100", file.string()}, "8a1");
  std::filesystem::remove(file);
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.out, "play 523 555\nsleep 555\nstop\n");
  EXPECT_EQ(run.err, "");
}

TEST(PlayCommandTest, OutOfRangeTempoPlaysAt120) {
  const CliRun run = RunPlay({"play", "--tempo", "3", "--dry-run"}, "8a2");
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.out, "play 1760 231\nsleep 231\nstop\n");
}

TEST(PlayCommandTest, RefusesWhatItCannotRead) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* errorPart;
  } cases[] = {
      {"tempo_not_a_number", {"play", "--tempo", "fast"}, kExitUsage, "fast"},
      {"tempo_missing",
       {"play", "--dry-run", "--tempo"},
       kExitUsage,
       "needs a value"},
      {"unknown_option", {"play", "--loud"}, kExitUsage, "--loud"},
      {"two_files", {"play", "a", "b"}, kExitUsage, "only one"},
      {"missing_file",
       {"play", "--dry-run", "/nonexistent/melody.txt"},
       kExitFailure,
       "cannot read /nonexistent/melody.txt"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunPlay(c.args, "");
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_NE(run.err.find(c.errorPart), std::string::npos)
        << c.name << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.name;
  }
}

}  // namespace
}  // namespace quillora
