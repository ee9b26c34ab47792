// quillora-cli keys FILE.qlr and save FILE.qlr, run on strings.
#include "cli/melody_file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/cli.h"
#include "tests/cli/cli_fixture.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;

using testing_support::CliRun;

class MelodyFileCommandsTest : public testing_support::CliFixture {
 protected:
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
};

TEST_F(MelodyFileCommandsTest, SaveWritesAsTheWindowDoes) {
  const CliRun run =
      Run({"save", Path("t.qlr"), "--title", "My tune", "--tempo", "90"},
          "8c2, 8d2   16e2\n4f2");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ReadBytes(Path("t.qlr")),
            "[Melody]\r\nTitle=My tune\r\nNotes=8c2 8d2  16e24f2\r\n"
            "Temp=90\r\n");
  // Without options: the window's fields at start-up.
  ASSERT_EQ(Run({"save", Path("d.qlr")}, "4c1").status, kExitOk);
  EXPECT_EQ(ReadBytes(Path("d.qlr")),
            "[Melody]\r\nTitle=\r\nNotes=4c1\r\nTemp=120\r\n");
}

TEST_F(MelodyFileCommandsTest, KeysOfAFileMatchKeysOfTheTypedMelody) {
  const std::string typed = "4c1 8d1\r\n 8e2 4- 16#f2, 2.c3 8p 4b1";
  ASSERT_EQ(Run({"save", Path("k.qlr")}, typed).status, kExitOk);
  const CliRun fromFile = Run({"keys", Path("k.qlr")});
  EXPECT_EQ(fromFile.status, kExitOk) << fromFile.err;
  EXPECT_EQ(fromFile.out, Run({"keys"}, typed).out);
}

TEST_F(MelodyFileCommandsTest, FailuresExitOneWithTheReason) {
  const struct {
    std::vector<std::string> args;
    std::string input, err;
  } cases[] = {
      {{"keys", Path("missing.qlr")},
       "",
       "quillora-cli: no such file: " + Path("missing.qlr") + "\n"},
      {{"keys", folder_.string()},
       "",
       "quillora-cli: cannot read " + folder_.string() + " as a melody file\n"},
      {{"save", Path("none/t.qlr")},
       "4c1",
       "quillora-cli: Unable to write to " + Path("none/t.qlr") + "\n"},
      {{"save", Path("t.qlr"), "--title", "a\nb"},
       "4c1",
       "quillora-cli: Unable to write to " + Path("t.qlr") +
           ": the title holds a line break\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = Run(c.args, c.input);
    EXPECT_EQ(run.status, kExitFailure) << c.args[1];
    EXPECT_EQ(run.err, c.err);
  }
  EXPECT_FALSE(fs::exists(Path("t.qlr")));
}

TEST_F(MelodyFileCommandsTest, SaveUsageErrorsExitTwo) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"save"},
           {"save", Path("a.qlr"), Path("b.qlr")},
           {"save", Path("a.qlr"), "--tempo"},
           {"save", Path("a.qlr"), "--tempo", "fast"},
           {"save", Path("a.qlr"), "--loud"}}) {
    const CliRun run = Run(args, "4c1");
    EXPECT_EQ(run.status, kExitUsage) << args.back();
    EXPECT_NE(run.err.find("quillora-cli: "), std::string::npos);
  }
  EXPECT_TRUE(fs::is_empty(folder_));
}

}  // namespace
}  // namespace quillora
