// The tone command's command line: what each accepted form of an option
// sets, and the message each kind of faulty command line gets.
#include "cli/tone_options.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace quillora {
namespace {

using Args = std::vector<std::string>;

void ExpectSameOptions(const ToneOptions& actual, const ToneOptions& expected) {
  EXPECT_EQ(actual.frequency, expected.frequency);
  EXPECT_EQ(actual.note, expected.note);
  EXPECT_EQ(actual.duration, expected.duration);
  EXPECT_EQ(actual.waveform, expected.waveform);
  EXPECT_EQ(actual.resolution, expected.resolution);
  EXPECT_EQ(actual.quality, expected.quality);
  EXPECT_EQ(actual.stereo, expected.stereo);
  ASSERT_EQ(actual.extras.size(), expected.extras.size());
  for (std::size_t i = 0; i < actual.extras.size(); ++i) {
    EXPECT_EQ(actual.extras[i].level, expected.extras[i].level) << i;
    EXPECT_EQ(actual.extras[i].amplitude, expected.extras[i].amplitude) << i;
    EXPECT_EQ(actual.extras[i].waveform, expected.extras[i].waveform) << i;
    EXPECT_EQ(actual.extras[i].frequency, expected.extras[i].frequency) << i;
  }
  EXPECT_EQ(actual.extrasInHz, expected.extrasInHz);
  EXPECT_EQ(actual.envelope, expected.envelope);
  EXPECT_EQ(actual.envelopeShape.Attack, expected.envelopeShape.Attack);
  EXPECT_EQ(actual.envelopeShape.Hold, expected.envelopeShape.Hold);
  EXPECT_EQ(actual.envelopeShape.Decay, expected.envelopeShape.Decay);
  EXPECT_EQ(actual.envelopeShape.Sustain, expected.envelopeShape.Sustain);
  EXPECT_EQ(actual.envelopeShape.Release, expected.envelopeShape.Release);
  EXPECT_EQ(actual.outputFile, expected.outputFile);
  EXPECT_EQ(actual.play, expected.play);
}

struct GoodCase {
  const char* name;
  Args args;
  // Turns the default options into the expected ones.
  std::function<void(ToneOptions&)> expect;
};

void PrintTo(const GoodCase& c, std::ostream* os) { *os << c.name; }

class ToneOptionsGoodTest : public testing::TestWithParam<GoodCase> {};

TEST_P(ToneOptionsGoodTest, SetsWhatTheCommandLineSays) {
  const ToneCommandLine parsed = ParseToneCommandLine(GetParam().args);
  ASSERT_EQ(parsed.kind, ToneCommandLine::Kind::kRun) << parsed.error;
  ToneOptions expected;
  GetParam().expect(expected);
  ExpectSameOptions(parsed.options, expected);
}

void WorkedExample(ToneOptions& o) {
  o.frequency = 1000;
  o.duration = 200;
  o.waveform = tgTriangle;
  o.outputFile = "t.wav";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ToneOptionsGoodTest,
    testing::Values(
        GoodCase{"OutputAloneKeepsANewGeneratorsTone",
                 {"-o", "t.wav"},
                 [](ToneOptions& o) { o.outputFile = "t.wav"; }},
        GoodCase{
            "PlayAlone", {"--play"}, [](ToneOptions& o) { o.play = true; }},
        GoodCase{"LongOptionsWithSeparateValues",
                 {"--frequency", "1000", "--duration", "200", "--waveform",
                  "triangle", "--output", "t.wav"},
                 WorkedExample},
        GoodCase{"LongOptionsWithEqualsSign",
                 {"--frequency=1000", "--duration=200", "--waveform=triangle",
                  "--output=t.wav"},
                 WorkedExample},
        GoodCase{"ShortOptionsSeparateAndAttached",
                 {"-f", "1000", "-d200", "-w", "triangle", "-ot.wav"},
                 WorkedExample},
        GoodCase{
            "LowestValues",
            {"-f", "20", "-d", "10", "--envelope", "--attack", "0", "--hold",
             "0", "--decay", "0", "--sustain", "0", "--release", "0", "-p"},
            [](ToneOptions& o) {
              o.frequency = 20;
              o.duration = 10;
              o.envelope = true;
              o.envelopeShape = {0, 0, 0, 0, 0};
              o.play = true;
            }},
        GoodCase{"HighestValues",
                 {"-f", "20000", "-d", "32767", "--envelope", "--attack=100",
                  "--hold=100", "--decay=100", "--sustain=100", "--release=100",
                  "-p"},
                 [](ToneOptions& o) {
                   o.frequency = 20000;
                   o.duration = 32767;
                   o.envelope = true;
                   o.envelopeShape = {100, 100, 100, 100, 100};
                   o.play = true;
                 }},
        GoodCase{"NoteNameSetsItsFrequency",
                 {"--note", "C#", "-p"},
                 [](ToneOptions& o) {
                   o.note = "C#";
                   o.frequency = 554;
                   o.play = true;
                 }},
        GoodCase{"NoteWithOctaveAndNoteNumber",
                 {"-n", "O3A", "--note=N50", "-p"},
                 [](ToneOptions& o) {
                   o.note = "N50";
                   o.frequency = 494;
                   o.play = true;
                 }},
        GoodCase{"SampleFormat",
                 {"--resolution", "8", "--quality", "lo", "--stereo", "-p"},
                 [](ToneOptions& o) {
                   o.resolution = tg8Bit;
                   o.quality = tgLoQ;
                   o.stereo = true;
                   o.play = true;
                 }},
        GoodCase{"ExtraTonesInGivenOrder",
                 {"--extra", "3:30:square:2", "--extra=1:0:noise:0.5", "-p"},
                 [](ToneOptions& o) {
                   o.extras = {{tgAMLevel3, 30, tgSquare, 2.0f},
                               {tgAMLevel1, 0, tgNoise, 0.5f}};
                   o.play = true;
                 }},
        GoodCase{
            "ExtraAmplitudesMayAddUpToMoreThan100",
            {"--extra", "1:90:sine:2", "--extra", "8:90:sawtooth:1.25", "-p"},
            [](ToneOptions& o) {
              o.extras = {{tgAMLevel1, 90, tgSine, 2.0f},
                          {tgAMLevel8, 90, tgSawtooth, 1.25f}};
              o.play = true;
            }},
        // The multiplier is checked against the main frequency given later.
        GoodCase{"ExtraMultiplierCheckedAgainstTheFinalFrequency",
                 {"--extra", "2:50:triangle:100", "-f", "100", "-p"},
                 [](ToneOptions& o) {
                   o.extras = {{tgAMLevel2, 50, tgTriangle, 100.0f}};
                   o.frequency = 100;
                   o.play = true;
                 }},
        GoodCase{"ExtraHzAfterTheExtraTones",
                 {"--extra", "2:50:sine:660.5", "--extra-hz", "-p"},
                 [](ToneOptions& o) {
                   o.extras = {{tgAMLevel2, 50, tgSine, 660.5f}};
                   o.extrasInHz = true;
                   o.play = true;
                 }},
        GoodCase{"EnvelopeWithDefaultValues",
                 {"--envelope", "-p"},
                 [](ToneOptions& o) {
                   o.envelope = true;
                   o.play = true;
                 }},
        GoodCase{"LaterOptionReplacesEarlier",
                 {"-f", "500", "--frequency=600", "-o", "a.wav", "-o", "b.wav",
                  "-w", "noise", "-w", "sawtooth"},
                 [](ToneOptions& o) {
                   o.frequency = 600;
                   o.outputFile = "b.wav";
                   o.waveform = tgSawtooth;
                 }},
        GoodCase{"ValueThatLooksLikeAnOptionIsTakenAsIs",
                 {"--output", "--play"},
                 [](ToneOptions& o) { o.outputFile = "--play"; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToneOptionsTest, EveryWaveformName) {
  const std::vector<std::pair<std::string, TTGWave>> names{
      {"sine", tgSine},
      {"square", tgSquare},
      {"triangle", tgTriangle},
      {"sawtooth", tgSawtooth},
      {"noise", tgNoise}};
  for (const auto& [name, waveform] : names) {
    const ToneCommandLine parsed = ParseToneCommandLine(
        {"-w", name, "--extra", "1:10:" + name + ":2", "-p"});
    ASSERT_EQ(parsed.kind, ToneCommandLine::Kind::kRun) << name;
    EXPECT_EQ(parsed.options.waveform, waveform) << name;
    EXPECT_EQ(parsed.options.extras.at(0).waveform, waveform) << name;
  }
}

TEST(ToneOptionsTest, HelpWinsOverTheRestOfTheLine) {
  for (const Args& args :
       {Args{"--help"}, Args{"-h"}, Args{"-p", "--help", "x"}}) {
    EXPECT_EQ(ParseToneCommandLine(args).kind, ToneCommandLine::Kind::kHelp);
  }
}

struct BadCase {
  const char* name;
  Args args;
  std::string message;  // after "quillora-cli: "
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class ToneOptionsBadTest : public testing::TestWithParam<BadCase> {};

// Run as the user does, through the companion: exit 2, nothing on standard
// output, the message and a pointer to the help on standard error.
TEST_P(ToneOptionsBadTest, IsRefusedWithAMessage) {
  Args args{"tone"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(RunCli(args, in, out, err), kExitUsage);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "quillora-cli: " + GetParam().message +
                           "\nTry 'quillora-cli tone --help'.\n");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ToneOptionsBadTest,
    testing::Values(
        // Values that are no numbers.
        BadCase{"Word",
                {"-f", "abc", "-p"},
                "--frequency: 'abc' is not a whole number"},
        BadCase{"Fraction",
                {"-d", "1.5", "-p"},
                "--duration: '1.5' is not a whole number"},
        BadCase{"TrailingCharacters",
                {"--sustain=50%", "--envelope", "-p"},
                "--sustain: '50%' is not a whole number"},
        BadCase{"LeadingBlank",
                {"-f", " 440", "-p"},
                "--frequency: ' 440' is not a whole number"},
        BadCase{"EmptyValue",
                {"--frequency=", "-p"},
                "--frequency: '' is not a whole number"},
        // Values out of range, at both ends and beyond any integer.
        BadCase{"FrequencyTooLow",
                {"-f", "19", "-p"},
                "--frequency must be 20..20000 Hz, not '19'"},
        BadCase{"FrequencyTooHigh",
                {"-f", "20001", "-p"},
                "--frequency must be 20..20000 Hz, not '20001'"},
        BadCase{"FrequencyBeyondAnyInteger",
                {"-f", "99999999999999999999", "-p"},
                "--frequency must be 20..20000 Hz, not '99999999999999999999'"},
        BadCase{"DurationTooShort",
                {"-d", "9", "-p"},
                "--duration must be 10..32767 ms, not '9'"},
        BadCase{"DurationTooLong",
                {"-d", "32768", "-p"},
                "--duration must be 10..32767 ms, not '32768'"},
        BadCase{"AttackAbove100",
                {"--envelope", "--attack", "101", "-p"},
                "--attack must be 0..100 %, not '101'"},
        BadCase{"HoldNegative",
                {"--envelope", "--hold", "-1", "-p"},
                "--hold must be 0..100 %, not '-1'"},
        // Words outside their choice.
        BadCase{"UnknownWaveform",
                {"-w", "saw", "-p"},
                "--waveform must be sine, square, triangle, sawtooth or "
                "noise, not 'saw'"},
        BadCase{"WaveformInCapitals",
                {"-w", "Sine", "-p"},
                "--waveform must be sine, square, triangle, sawtooth or "
                "noise, not 'Sine'"},
        BadCase{"UnknownResolution",
                {"--resolution", "24", "-p"},
                "--resolution must be 16 or 8, not '24'"},
        BadCase{"UnknownQuality",
                {"--quality", "96000", "-p"},
                "--quality must be hi or lo, not '96000'"},
        BadCase{"NoNoteName",
                {"--note", "H", "-p"},
                "--note 'H' is no note name of 20..20000 Hz (such as A, C#, "
                "O3A, <G, N48)"},
        BadCase{"NoteAbove20000Hz",
                {"--note", "O9E", "-p"},
                "--note 'O9E' is no note name of 20..20000 Hz (such as A, "
                "C#, O3A, <G, N48)"},
        // The shape of the command line.
        BadCase{"MissingValue",
                {"-p", "--frequency"},
                "option '--frequency' needs a value"},
        BadCase{"MissingShortValue", {"-o"}, "option '--output' needs a value"},
        BadCase{"EmptyFileName", {"--output="}, "--output needs a file name"},
        BadCase{"FlagWithValue",
                {"--stereo=yes", "-p"},
                "option '--stereo' takes no value"},
        BadCase{"UnknownLongOption",
                {"--volume=5", "-p"},
                "unknown option '--volume'"},
        BadCase{"UnknownShortOption", {"-x", "-p"}, "unknown option '-x'"},
        BadCase{"BundledFlags", {"-ph"}, "unknown option '-ph'"},
        BadCase{"LoneDashes", {"--", "-p"}, "unknown option '--'"},
        BadCase{"Argument", {"t.wav"}, "unexpected argument 't.wav'"},
        BadCase{"NeitherOutputNorPlay",
                {"-f", "440"},
                "tone needs --output FILE or --play"},
        BadCase{"OutputAndPlay",
                {"-o", "t.wav", "--play"},
                "give either --output or --play, not both"},
        BadCase{"FrequencyAndNote",
                {"--note", "A", "-f", "440", "-p"},
                "give either --frequency or --note, not both"},
        BadCase{"EnvelopeValueWithoutEnvelope",
                {"--decay", "40", "-p"},
                "--decay needs --envelope"},
        // Extra tones.
        BadCase{"ExtraWithThreeFields",
                {"--extra", "1:30:sine", "-p"},
                "--extra '1:30:sine' must be "
                "LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY"},
        BadCase{"ExtraWithFiveFields",
                {"--extra", "1:30:sine:2:5", "-p"},
                "--extra '1:30:sine:2:5' must be "
                "LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY"},
        BadCase{"ExtraLevel0",
                {"--extra", "0:30:sine:2", "-p"},
                "--extra LEVEL must be 1..8, not '0'"},
        BadCase{"ExtraLevel9",
                {"--extra", "9:30:sine:2", "-p"},
                "--extra LEVEL must be 1..8, not '9'"},
        BadCase{"ExtraAmplitudeAbove100",
                {"--extra", "1:101:sine:2", "-p"},
                "--extra AMPLITUDE must be 0..100 %, not '101'"},
        BadCase{"ExtraWaveform",
                {"--extra", "1:30:pulse:2", "-p"},
                "--extra WAVEFORM must be sine, square, triangle, sawtooth or "
                "noise, not 'pulse'"},
        BadCase{"ExtraFrequencyWord",
                {"--extra", "1:30:sine:two", "-p"},
                "--extra FREQUENCY: 'two' is not a number"},
        BadCase{"ExtraFrequencyNotANumber",
                {"--extra", "1:30:sine:nan", "-p"},
                "--extra FREQUENCY: 'nan' is not a number"},
        BadCase{"ExtraFrequencyZero",
                {"--extra", "1:30:sine:0", "-p"},
                "--extra FREQUENCY must be above 0 and at most 20000, not "
                "'0'"},
        BadCase{"ExtraFrequencyHuge",
                {"--extra", "1:30:sine:1e99", "-p"},
                "--extra FREQUENCY: '1e99' is not a number"},
        BadCase{"ExtraLevelTwice",
                {"--extra", "3:30:sine:2", "--extra", "3:10:sine:3", "-p"},
                "--extra level 3 is given twice"},
        BadCase{"ExtraMultiplierGivesTooLow",
                {"--extra", "1:30:sine:0.01", "-p"},
                "--extra level 1: FREQUENCY 0.01 times the main frequency of "
                "440 Hz gives 4 Hz; it must give 20..20000 Hz"},
        // Checked against the frequency that a later --note sets.
        BadCase{"ExtraMultiplierGivesTooHigh",
                {"--extra", "2:30:sine:50", "--note", "A", "-p"},
                "--extra level 2: FREQUENCY 50 times the main frequency of "
                "440 Hz gives 22000 Hz; it must give 20..20000 Hz"},
        BadCase{"ExtraHzTooLow",
                {"--extra", "1:30:sine:10", "--extra-hz", "-p"},
                "--extra level 1: FREQUENCY 10 must be 20..20000 Hz with "
                "--extra-hz"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillora
