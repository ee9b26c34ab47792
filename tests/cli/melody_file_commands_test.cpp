// quillora-cli keys FILE.qlr and save FILE.qlr, run on strings.
#include "cli/melody_file_commands.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status;
  std::string out, err;
};

class MelodyFileCommandsTest : public testing::Test {
 protected:
  MelodyFileCommandsTest() {
    std::string pattern = testing::TempDir() + "cli_melody_XXXXXX";
    folder_ = mkdtemp(pattern.data());
  }
  ~MelodyFileCommandsTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  static CliRun Run(std::vector<std::string> args,
                    const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunCli(args, in, out, err);
    return {status, out.str(), err.str()};
  }
  std::string File(const char* name) const { return (folder_ / name).string(); }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path folder_;
};

TEST_F(MelodyFileCommandsTest, SaveWritesAsTheWindowDoes) {
  const CliRun run =
      Run({"save", File("t.qlr"), "--title", "My tune", "--tempo", "90"},
          "8c2, 8d2   16e2\n4f2");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ReadBytes(File("t.qlr")),
            "[Melody]\r\nTitle=My tune\r\nNotes=8c2 8d2  16e24f2\r\n"
            "Temp=90\r\n");
  // Without options: the window's fields at start-up.
  ASSERT_EQ(Run({"save", File("d.qlr")}, "4c1").status, kExitOk);
  EXPECT_EQ(ReadBytes(File("d.qlr")),
            "[Melody]\r\nTitle=\r\nNotes=4c1\r\nTemp=120\r\n");
}

TEST_F(MelodyFileCommandsTest, KeysOfAFileMatchKeysOfTheTypedMelody) {
  const std::string typed = "4c1 8d1\r\n 8e2 4- 16#f2, 2.c3 8p 4b1";
  ASSERT_EQ(Run({"save", File("k.qlr")}, typed).status, kExitOk);
  const CliRun fromFile = Run({"keys", File("k.qlr")});
  EXPECT_EQ(fromFile.status, kExitOk) << fromFile.err;
  EXPECT_EQ(fromFile.out, Run({"keys"}, typed).out);
}

TEST_F(MelodyFileCommandsTest, FailuresExitOneWithTheReason) {
  const struct {
    std::vector<std::string> args;
    std::string input, err;
  } cases[] = {
      {{"keys", File("missing.qlr")},
       "",
       "quillora-cli: no such file: " + File("missing.qlr") + "\n"},
      {{"keys", folder_.string()},
       "",
       "quillora-cli: cannot read " + folder_.string() + " as a melody file\n"},
      {{"save", File("none/t.qlr")},
       "4c1",
       "quillora-cli: Unable to write to " + File("none/t.qlr") + "\n"},
      {{"save", File("t.qlr"), "--title", "a\nb"},
       "4c1",
       "quillora-cli: Unable to write to " + File("t.qlr") +
           ": the title holds a line break\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = Run(c.args, c.input);
    EXPECT_EQ(run.status, kExitFailure) << c.args[1];
    EXPECT_EQ(run.err, c.err);
  }
  EXPECT_FALSE(fs::exists(File("t.qlr")));
}

TEST_F(MelodyFileCommandsTest, SaveUsageErrorsExitTwo) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"save"},
           {"save", File("a.qlr"), File("b.qlr")},
           {"save", File("a.qlr"), "--tempo"},
           {"save", File("a.qlr"), "--tempo", "fast"},
           {"save", File("a.qlr"), "--loud"}}) {
    const CliRun run = Run(args, "4c1");
    EXPECT_EQ(run.status, kExitUsage) << args.back();
    EXPECT_NE(run.err.find("quillora-cli: "), std::string::npos);
  }
  EXPECT_TRUE(fs::is_empty(folder_));
}

}  // namespace
}  // namespace quillora
