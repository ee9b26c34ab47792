// quillora-cli import-rtttl, export-rtttl, check and render, run on strings
// and on files in a scratch folder.
#include "cli/melody_tool_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/cli.h"
#include "files/melody_file.h"
#include "tests/cli/cli_fixture.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;

using testing_support::CliRun;

class MelodyToolCommandsTest : public testing_support::CliFixture {};

TEST_F(MelodyToolCommandsTest, ImportPrintsAMelodyFileAndWarnsOnStderr) {
  const CliRun run =
      Run({"import-rtttl"}, "Tune:d=4,o=5,b=100:8c6,8e6,4g6,p,8a#5,2c.6,32c.6");
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.out,
            "[Melody]\nTitle=Tune\nNotes=8c2 8e2 4g2 4- 8a#1 2c2 4c2 32c2\n"
            "Temp=100\n");
  EXPECT_EQ(run.err,
            "quillora-cli: warning: note 7 (32c.6): a dotted 32nd has no half "
            "on the phone and became a plain 32nd\n");
}

TEST_F(MelodyToolCommandsTest, ImportWritesAMelodyFileAsSaveDoes) {
  std::ofstream(Path("tune.rtttl")) << "Tune:d=8,o=6,b=140:c,e\n";
  const CliRun run =
      Run({"import-rtttl", Path("tune.rtttl"), "-o", Path("tune.qlr")});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(LoadMelodyFile(Path("tune.qlr")),
            (MelodyFile{"Tune", "8c2 8e2", "140"}));
  // The melody file reads back through export.
  EXPECT_EQ(Run({"export-rtttl", Path("tune.qlr")}).out, "Tune:b=140:8c,8e\n");
}

TEST_F(MelodyToolCommandsTest, ImportRefusesTextThatIsNotRtttl) {
  const CliRun run = Run({"import-rtttl"}, "8c2 4#f1 16-");
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("import-rtttl: not RTTTL: "), std::string::npos);
  EXPECT_EQ(Run({"import-rtttl", Path("missing.rtttl")}).status, kExitFailure);
}

TEST_F(MelodyToolCommandsTest, ExportReadsNotesOrAMelodyFile) {
  EXPECT_EQ(Run({"export-rtttl"}, "8c2 8e2").out, ":b=120:8c,8e\n");
  EXPECT_EQ(Run({"export-rtttl"},
                "[Melody]\r\nTitle=Evening\r\nNotes=4c1\r\nTemp=90\r\n")
                .out,
            "Evening:b=90:c5\n");
  const CliRun refused = Run({"export-rtttl"}, "8c2 4#e2");
  EXPECT_EQ(refused.status, kExitFailure);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("1:5: 4#e2: E has no sharp on the phone"),
            std::string::npos);
}

TEST_F(MelodyToolCommandsTest, CheckListsFaultsOfAMelodyFilesNotes) {
  SaveMelodyFile(Path("faulty.qlr"), {"x", "8c2 8h2", "120"});
  const CliRun run = Run({"check", Path("faulty.qlr")});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_EQ(run.out, "1:5: 8h2: 'h' is not a note name\n");
}

TEST_F(MelodyToolCommandsTest, RenderWritesAWavFileAtTheFilesTempo) {
  SaveMelodyFile(Path("tune.qlr"), {"x", "4c1 4-", "100"});
  const CliRun run = Run({"render", Path("tune.qlr"), "-o", Path("t.wav")});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  // Two quarters at tempo 100: 555 ms each, 96000 frames of 2 bytes a second.
  EXPECT_EQ(fs::file_size(Path("t.wav")), 44u + 1110u * 96u * 2u);
  // --tempo wins over the file's.
  EXPECT_EQ(
      Run({"render", Path("tune.qlr"), "-o", Path("t.wav"), "--tempo", "120"})
          .status,
      kExitOk);
  EXPECT_EQ(fs::file_size(Path("t.wav")), 44u + 924u * 96u * 2u);
}

TEST_F(MelodyToolCommandsTest, UsageErrors) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"render"},
           {"render", "-o"},
           {"render", "-o", "x.wav", "--tempo", "fast"},
           {"check", "a", "b"},
           {"export-rtttl", "--title"},
           {"import-rtttl", "--tempo", "100"}}) {
    const CliRun run = Run(args);
    EXPECT_EQ(run.status, kExitUsage) << args[0];
    EXPECT_NE(run.err.find("quillora-cli: "), std::string::npos);
  }
  const CliRun unwritable =
      Run({"render", "-o", Path("no/such/folder/t.wav")}, "4c1");
  EXPECT_EQ(unwritable.status, kExitFailure);
  EXPECT_NE(unwritable.err.find("Unable to write to"), std::string::npos);
}

}  // namespace
}  // namespace quillora
