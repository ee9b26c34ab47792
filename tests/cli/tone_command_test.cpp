// quillora-cli tone writing files: each option must reach the tone
// generator, so every file is compared byte for byte with the image of a
// generator set up by hand the same way.
#include "cli/tone_command.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/tone_options.h"
#include "sound/tone_gen.h"

namespace quillora {
namespace {

using Args = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

struct CliRun {
  int status;
  std::string out, err;
};

CliRun RunCompanion(const Args& args) {
  std::istringstream in;
  std::ostringstream out, err;
  const int status = RunCli(args, in, out, err);
  return {status, out.str(), err.str()};
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file),
          std::istreambuf_iterator<char>()};
}

// A fresh directory for the files of one test.
class ToneFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillora-cli-XXXXXX")
            .string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string PathOf(const std::string& name) const {
    return (dir_ / name).string();
  }

  std::filesystem::path dir_;
};

struct FileCase {
  const char* name;
  Args options;
  // Sets up the reference generator as the options should.
  std::function<void(TToneGen&)> setUp;
  bool envelope = false;
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class ToneFileContentTest : public ToneFileTest,
                            public testing::WithParamInterface<FileCase> {};

TEST_P(ToneFileContentTest, IsTheImageOfAGeneratorSetUpTheSameWay) {
  const std::string path = PathOf("tone.wav");
  Args args{"tone"};
  args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
  args.insert(args.end(), {"-o", path});
  const CliRun run = RunCompanion(args);
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");

  TToneGen reference(nullptr);
  GetParam().setUp(reference);
  if (GetParam().envelope) {
    reference.PrepareADSR();
  } else {
    reference.Prepare();
  }
  const std::span<const std::uint8_t> image = reference.GetDataBuffer();
  ASSERT_FALSE(image.empty());
  EXPECT_EQ(ReadFile(path), Bytes(image.begin(), image.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Options, ToneFileContentTest,
    testing::Values(
        FileCase{"Defaults", {}, [](TToneGen&) {}},
        FileCase{"Square",
                 {"-w", "square", "-f", "1000"},
                 [](TToneGen& g) {
                   g.SetWaveform(tgSquare);
                   g.SetFrequency(1000);
                 }},
        FileCase{"Sawtooth",
                 {"-w", "sawtooth"},
                 [](TToneGen& g) { g.SetWaveform(tgSawtooth); }},
        FileCase{"Noise",
                 {"-w", "noise"},
                 [](TToneGen& g) { g.SetWaveform(tgNoise); }},
        FileCase{"Duration",
                 {"--duration", "37"},
                 [](TToneGen& g) { g.SetDuration(37); }},
        // Note names from a new generator's octave 4; octaves start at A.
        FileCase{"NoteSharp",
                 {"--note", "C#"},
                 [](TToneGen& g) { g.SetFrequency(554); }},
        FileCase{"NoteWithOctave",
                 {"--note", "O3A"},
                 [](TToneGen& g) { g.SetFrequency(220); }},
        FileCase{"NoteAnOctaveDown",
                 {"--note", "<G"},
                 [](TToneGen& g) { g.SetFrequency(392); }},
        FileCase{
            "Stereo", {"--stereo"}, [](TToneGen& g) { g.SetStereo(true); }},
        FileCase{"EightBit",
                 {"--resolution", "8"},
                 [](TToneGen& g) { g.SetResolution(tg8Bit); }},
        FileCase{"LowQuality",
                 {"--quality", "lo"},
                 [](TToneGen& g) { g.SetQuality(tgLoQ); }},
        FileCase{
            "EnvelopeWithItsDefaults", {"--envelope"}, [](TToneGen&) {}, true},
        FileCase{"EnvelopeValues",
                 {"--envelope", "--attack", "25", "--hold", "0", "--decay",
                  "10", "--sustain", "80", "--release", "40"},
                 [](TToneGen& g) {
                   g.SetAttack(25);
                   g.SetHold(0);
                   g.SetDecay(10);
                   g.SetSustain(80);
                   g.SetRelease(40);
                 },
                 true},
        FileCase{"ExtraTonesAsMultipliers",
                 {"--extra", "1:30:square:2", "--extra", "3:20:sawtooth:1.5"},
                 [](TToneGen& g) {
                   g.SetAMParameter(tgAMLevel1, 2.0f, 30, tgSquare);
                   g.SetAMParameter(tgAMLevel3, 1.5f, 20, tgSawtooth);
                 }},
        FileCase{"ExtraToneInHz",
                 {"--extra-hz", "--extra", "8:50:triangle:660"},
                 [](TToneGen& g) {
                   g.SetAMMultiplier(false);
                   g.SetAMParameter(tgAMLevel8, 660.0f, 50, tgTriangle);
                 }},
        FileCase{"ExtraAmplitudesAbove100SilenceTheMainTone",
                 {"--extra", "1:30:sine:2", "--extra", "2:90:noise:3"},
                 [](TToneGen& g) {
                   g.SetAMParameter(tgAMLevel1, 2.0f, 30, tgSine);
                   g.SetAMParameter(tgAMLevel2, 3.0f, 90, tgNoise);
                 }},
        FileCase{"Everything",
                 {"-n", "E", "-d", "55", "-w", "triangle", "--resolution", "8",
                  "--quality", "lo", "--stereo", "--extra", "4:25:sine:0.5",
                  "--envelope", "--attack", "30", "--sustain", "20"},
                 [](TToneGen& g) {
                   g.SetFrequency(659);
                   g.SetDuration(55);
                   g.SetWaveform(tgTriangle);
                   g.SetResolution(tg8Bit);
                   g.SetQuality(tgLoQ);
                   g.SetStereo(true);
                   g.SetAMParameter(tgAMLevel4, 0.5f, 25, tgSine);
                   g.SetAttack(30);
                   g.SetSustain(20);
                 },
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToneFileTest, ReplacesAnExistingFile) {
  const std::string path = PathOf("tone.wav");
  std::ofstream(path) << std::string(100000, 'x');
  ASSERT_EQ(RunCompanion({"tone", "-d", "10", "-o", path}).status, kExitOk);
  // 10 ms at 96000 Hz, 16-bit, mono: 1920 bytes of samples.
  EXPECT_EQ(std::filesystem::file_size(path), 44u + 1920u + 32u);
}

TEST_F(ToneFileTest, AFileThatCannotBeWrittenIsNamed) {
  for (const std::string& path :
       {PathOf("missing-directory/tone.wav"), dir_.string()}) {
    const CliRun run = RunCompanion({"tone", "-o", path});
    EXPECT_EQ(run.status, kExitFailure) << path;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "quillora-cli: cannot write '" + path + "'\n");
  }
}

TEST_F(ToneFileTest, AFaultyCommandLineWritesNoFile) {
  const std::string path = PathOf("tone.wav");
  EXPECT_EQ(RunCompanion({"tone", "-o", path, "-f", "0"}).status, kExitUsage);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ToneHelpTest, DocumentsEveryOptionInBothHelpTexts) {
  const CliRun toneHelp = RunCompanion({"tone", "--help"});
  const CliRun mainHelp = RunCompanion({"--help"});
  EXPECT_EQ(toneHelp.status, kExitOk);
  EXPECT_EQ(toneHelp.err, "");
  EXPECT_NE(toneHelp.out.find("Usage: quillora-cli tone"), std::string::npos);
  for (const char* option :
       {"-f, --frequency", "-n, --note", "-d, --duration", "-w, --waveform",
        "--resolution", "--quality", "--stereo", "--extra LEVEL", "--extra-hz",
        "--envelope", "--attack", "--hold", "--decay", "--sustain", "--release",
        "-o, --output", "-p, --play", "-h, --help"}) {
    EXPECT_NE(toneHelp.out.find(option), std::string::npos) << option;
    EXPECT_NE(mainHelp.out.find(option), std::string::npos) << option;
  }
}

#ifndef QUILLORA_HAVE_SOUND_OUTPUT
TEST(TonePlayTest, ABuildWithoutSoundOutputSaysSo) {
  const CliRun run = RunCompanion({"tone", "--play"});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_EQ(run.err,
            "quillora-cli: --play is not available: this quillora-cli was "
            "built without sound output\n");
}
#endif

}  // namespace
}  // namespace quillora
