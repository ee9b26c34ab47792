#include "cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quillora {
namespace {

struct CliRun {
  int status;
  std::string out, err;
};

CliRun RunCompanion(std::vector<std::string> args,
                    const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunCli(args, in, out, err);
  return {status, out.str(), err.str()};
}

TEST(CliKeysTest, PrintsCountThenKeyListWithItsTrailingBlank) {
  const CliRun run = RunCompanion({"keys"}, "4c1 8d1 8e2 4- 16#f2 2.c3 8p 4b1");
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.out, "8\n1, 28, 3*,  09, 4#8, 1#999*,  088, 78*, \n");
  EXPECT_EQ(run.err, "");
}

TEST(CliKeysTest, FaultyNotesStillExitZero) {
  const CliRun run = RunCompanion({"keys"}, "8c2 8h2 3c2 8c4 8d2");
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.out, "5\n18*, ERROR,  ERROR, ERROR,2, \n");
}

TEST(CliKeysTest, EmptyInputGivesZeroAndAnEmptyList) {
  EXPECT_EQ(RunCompanion({"keys"}, "").out, "0\n\n");
}

TEST(CliTest, HelpDocumentsTheCommands) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--help"}, {"-h"}, {"help"}, {"keys", "--help"}}) {
    const CliRun run = RunCompanion(args);
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_NE(run.out.find("keys"), std::string::npos);
  }
}

TEST(CliTest, UsageErrorsExitTwoWithAMessage) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{},
                                             {"play-everything"},
                                             {"keys", "a.qlr", "b.qlr"},
                                             {"keys", "-x"}}) {
    const CliRun run = RunCompanion(args);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("quillora-cli: "), std::string::npos);
  }
}

}  // namespace
}  // namespace quillora
