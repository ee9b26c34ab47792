// The SDL output on SDL's disk driver, which writes every frame that reaches
// the device into a file at real-time pace: the tests play hand-made images
// and read back what the device received.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "sound/sdl_sound_output.h"
#include "tests/sound/wav_test_images.h"
#include "tests/support/blocking_call.h"
#include "tests/support/wait_until.h"

namespace quillora {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Image = std::vector<std::uint8_t>;
using Frames = std::vector<std::int16_t>;  // interleaved stereo

constexpr std::uint32_t kRate = 48000;
// A generous bound for things that should happen promptly; only a hang or a
// broken output reaches it.
constexpr auto kPatience = 10s;

// A stereo pattern whose frames are non-silent and distinct within any
// 20000 of them: left rises from `first`, right falls from -`first`.
Frames Pattern(std::size_t frames, int first = 1) {
  Frames samples;
  for (std::size_t i = 0; i < frames; ++i) {
    const int step = static_cast<int>(i % 20000);
    samples.push_back(static_cast<std::int16_t>(first + step));
    samples.push_back(static_cast<std::int16_t>(-first - step));
  }
  return samples;
}

bool IsSilent(const Frames& samples, std::size_t frame) {
  return samples[2 * frame] == 0 && samples[2 * frame + 1] == 0;
}

std::size_t FrameCount(const Frames& samples) { return samples.size() / 2; }

std::optional<std::size_t> FirstSoundingFrame(const Frames& samples,
                                              std::size_t from = 0) {
  for (std::size_t j = from; j < FrameCount(samples); ++j) {
    if (!IsSilent(samples, j)) return j;
  }
  return std::nullopt;
}

// How many frames from `start` on follow `pattern`, repeated as a loop when
// `cyclic`.
std::size_t MatchingFrames(const Frames& samples, std::size_t start,
                           const Frames& pattern, bool cyclic) {
  const std::size_t patternFrames = FrameCount(pattern);
  std::size_t n = 0;
  while (start + n < FrameCount(samples) && (cyclic || n < patternFrames)) {
    const std::size_t p = n % patternFrames;
    if (samples[2 * (start + n)] != pattern[2 * p] ||
        samples[2 * (start + n) + 1] != pattern[2 * p + 1]) {
      break;
    }
    ++n;
  }
  return n;
}

bool SilentFrom(const Frames& samples, std::size_t from) {
  return !FirstSoundingFrame(samples, from).has_value();
}

// Runs `call` on another thread; true when it returns within the patience.
// A call that does not is ended by stopping `output`.
bool ReturnsPromptly(SoundOutput& output, const std::function<void()>& call) {
  testing_support::BlockingCall running(call, [&] { output.Stop(); });
  return running.ReturnsWithin(kPatience);
}

class SdlDiskOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "quillora-disk-XXXXXX";
    const int fd = mkstemp(pattern.data());
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = pattern;
    // No thread of SDL runs yet, so the environment can still change.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
    output_ = SdlSoundOutput::Open();
    ASSERT_NE(output_, nullptr);
    ASSERT_EQ(output_->DriverName(), "disk");
    ASSERT_EQ(output_->FrameRate(), kRate);
  }

  void TearDown() override {
    output_.reset();
    std::remove(path_.c_str());
  }

  // Frames in the file so far; it grows in the steps of the driver's file
  // buffer.
  std::size_t FramesWritten() const {
    struct stat status {};
    if (stat(path_.c_str(), &status) != 0) return 0;
    return static_cast<std::size_t>(status.st_size) / 4;
  }

  // Waits until `frames` more frames than now have reached the file.
  void WaitForMoreFrames(std::size_t frames) {
    const std::size_t target = FramesWritten() + frames;
    ASSERT_TRUE(testing_support::WaitUntil([&] {
      return FramesWritten() >= target;
    })) << "the device stopped writing";
  }

  // Closes the output and returns all it wrote.
  Frames CloseAndRead() {
    output_.reset();
    std::ifstream file(path_, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    Frames samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
      samples[i] = static_cast<std::int16_t>(
          static_cast<std::uint8_t>(bytes[2 * i]) |
          (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8));
    }
    return samples;
  }

  std::string path_;
  std::unique_ptr<SdlSoundOutput> output_;
};

// --- Images at the device's rate arrive sample for sample -------------------

struct ExactCase {
  const char* name;
  Image image;
  Frames expected;
};

void PrintTo(const ExactCase& c, std::ostream* os) { *os << c.name; }

ExactCase Stereo16() {
  const Frames samples = Pattern(2400);
  return {"Stereo16", test::MakeWav16(2, kRate, samples), samples};
}

ExactCase Mono16() {
  std::vector<std::int16_t> samples;
  Frames expected;
  for (int i = 0; i < 2400; ++i) {
    const auto value = static_cast<std::int16_t>(100 * (i % 300) - 15000);
    samples.push_back(value);
    expected.insert(expected.end(), {value, value});
  }
  return {"Mono16", test::MakeWav16(1, kRate, samples), expected};
}

ExactCase Mono8() {
  std::vector<std::uint8_t> samples;
  Frames expected;
  for (int i = 0; i < 2400; ++i) {
    const auto byte = static_cast<std::uint8_t>(1 + i % 127);  // never 128
    samples.push_back(byte);
    const auto value = static_cast<std::int16_t>((byte - 128) * 256);
    expected.insert(expected.end(), {value, value});
  }
  return {"Mono8", test::MakeWav8(1, kRate, samples), expected};
}

ExactCase Stereo8() {
  std::vector<std::uint8_t> samples;
  Frames expected;
  for (int i = 0; i < 2400; ++i) {
    const auto left = static_cast<std::uint8_t>(1 + i % 127);
    const auto right = static_cast<std::uint8_t>(255 - i % 127);
    samples.insert(samples.end(), {left, right});
    expected.push_back(static_cast<std::int16_t>((left - 128) * 256));
    expected.push_back(static_cast<std::int16_t>((right - 128) * 256));
  }
  return {"Stereo8", test::MakeWav8(2, kRate, samples), expected};
}

class SdlExactImage : public SdlDiskOutputTest,
                      public ::testing::WithParamInterface<ExactCase> {};

TEST_P(SdlExactImage, ArrivesInOrderThenSilence) {
  output_->Play(GetParam().image, PlayMode::kWait);
  WaitForMoreFrames(kRate / 10);
  const Frames written = CloseAndRead();
  const std::optional<std::size_t> start = FirstSoundingFrame(written);
  ASSERT_TRUE(start.has_value()) << "nothing reached the device";
  const Frames& expected = GetParam().expected;
  EXPECT_EQ(MatchingFrames(written, *start, expected, false),
            FrameCount(expected));
  EXPECT_TRUE(SilentFrom(written, *start + FrameCount(expected)));
}

INSTANTIATE_TEST_SUITE_P(Formats, SdlExactImage,
                         ::testing::Values(Stereo16(), Mono16(), Mono8(),
                                           Stereo8()),
                         [](const auto& info) {
                           return std::string(info.param.name);
                         });

// --- Images at other rates keep their length and pitch -----------------------

struct ToneCase {
  const char* name;
  std::uint32_t rate;
  std::uint16_t bits;
  std::uint16_t channels;
  double frequency;
};

void PrintTo(const ToneCase& c, std::ostream* os) { *os << c.name; }

class SdlResampledImage : public SdlDiskOutputTest,
                          public ::testing::WithParamInterface<ToneCase> {};

TEST_P(SdlResampledImage, KeepsLengthPitchAndLevel) {
  const ToneCase& c = GetParam();
  constexpr double kSeconds = 0.3;
  const auto frames = static_cast<std::size_t>(c.rate * kSeconds);
  const double amplitude = c.bits == 16 ? 20000 : 100;
  const std::vector<double> wave =
      test::Sine(c.frequency, c.rate, frames, amplitude);
  std::vector<double> interleaved;
  for (double value : wave)
    interleaved.insert(interleaved.end(), c.channels, value);
  const Image image =
      c.bits == 16
          ? test::MakeWav16(c.channels, c.rate, test::ToSamples16(interleaved))
          : test::MakeWav8(c.channels, c.rate, test::ToSamples8(interleaved));
  output_->Play(image, PlayMode::kWait);
  WaitForMoreFrames(kRate / 10);
  const Frames written = CloseAndRead();

  // The tone's span: from its first to its last clearly sounding frame.
  constexpr int kThreshold = 2000;
  std::size_t first = 0;
  std::size_t last = 0;
  bool found = false;
  int peak = 0;
  for (std::size_t j = 0; j < FrameCount(written); ++j) {
    const int left = written[2 * j];
    EXPECT_EQ(left, written[2 * j + 1]) << "frame " << j;
    if (std::abs(left) > kThreshold) {
      if (!found) first = j;
      found = true;
      last = j;
    }
    peak = std::max(peak, std::abs(left));
  }
  ASSERT_TRUE(found) << "nothing reached the device";
  const double span = static_cast<double>(last - first + 1);
  EXPECT_NEAR(span, kRate * kSeconds, kRate / c.frequency + 2);

  int signChanges = 0;
  for (std::size_t j = first + 1; j <= last; ++j) {
    if ((written[2 * j] < 0) != (written[2 * (j - 1)] < 0)) ++signChanges;
  }
  EXPECT_NEAR(signChanges, 2 * c.frequency * kSeconds, 2);
  const double fullScale = c.bits == 16 ? amplitude : amplitude * 256;
  EXPECT_NEAR(peak, fullScale, fullScale * 0.02);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, SdlResampledImage,
    ::testing::Values(ToneCase{"Mono16At96000", 96000, 16, 1, 1000},
                      ToneCase{"Mono8At44100", 44100, 8, 1, 1000},
                      ToneCase{"Stereo16At44100", 44100, 16, 2, 500},
                      ToneCase{"Stereo8At96000", 96000, 8, 2, 2000}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Looping, stopping, cutting ---------------------------------------------

TEST_F(SdlDiskOutputTest, LoopRepeatsSeamlesslyUntilStopped) {
  const Frames loop = Pattern(1000);
  EXPECT_TRUE(ReturnsPromptly(*output_, [&] {
    output_->Play(test::MakeWav16(2, kRate, loop), PlayMode::kLoop);
  }));
  WaitForMoreFrames(5 * 1000);
  output_->Stop();
  WaitForMoreFrames(kRate / 5);
  const Frames written = CloseAndRead();

  const std::optional<std::size_t> start = FirstSoundingFrame(written);
  ASSERT_TRUE(start.has_value()) << "nothing reached the device";
  const std::size_t looped = MatchingFrames(written, *start, loop, true);
  EXPECT_GE(looped, 3 * 1000u);
  EXPECT_TRUE(SilentFrom(written, *start + looped));
}

TEST_F(SdlDiskOutputTest, StopEndsASoundBeforeItsEnd) {
  const Frames longSound = Pattern(10 * kRate);
  EXPECT_TRUE(ReturnsPromptly(*output_, [&] {
    output_->Play(test::MakeWav16(2, kRate, longSound), PlayMode::kAsync);
  }));
  WaitForMoreFrames(kRate / 20);
  output_->Stop();
  WaitForMoreFrames(kRate / 5);
  const Frames written = CloseAndRead();

  const std::optional<std::size_t> start = FirstSoundingFrame(written);
  ASSERT_TRUE(start.has_value()) << "nothing reached the device";
  const std::size_t played = MatchingFrames(written, *start, longSound, false);
  EXPECT_GT(played, 0u);
  EXPECT_LT(played, FrameCount(longSound));
  EXPECT_TRUE(SilentFrom(written, *start + played));
}

TEST_F(SdlDiskOutputTest, PlayCutsTheCurrentSound) {
  const Frames first = Pattern(1000, 1);
  const Frames second = Pattern(2400, 5000);
  output_->Play(test::MakeWav16(2, kRate, first), PlayMode::kLoop);
  WaitForMoreFrames(3 * 1000);
  output_->Play(test::MakeWav16(2, kRate, second), PlayMode::kWait);
  WaitForMoreFrames(kRate / 10);
  const Frames written = CloseAndRead();

  const std::optional<std::size_t> start = FirstSoundingFrame(written);
  ASSERT_TRUE(start.has_value()) << "nothing reached the device";
  const std::size_t looped = MatchingFrames(written, *start, first, true);
  EXPECT_GE(looped, 1000u);
  const std::optional<std::size_t> next =
      FirstSoundingFrame(written, *start + looped);
  ASSERT_TRUE(next.has_value()) << "the second sound never came";
  EXPECT_EQ(MatchingFrames(written, *next, second, false), FrameCount(second));
  EXPECT_TRUE(SilentFrom(written, *next + FrameCount(second)));
}

TEST_F(SdlDiskOutputTest, ImageIsNotReadAfterPlayReturns) {
  const Frames loop = Pattern(1000);
  Image image = test::MakeWav16(2, kRate, loop);
  output_->Play(image, PlayMode::kLoop);
  std::fill(image.begin(), image.end(), std::uint8_t{0x55});
  image.clear();
  image.shrink_to_fit();
  WaitForMoreFrames(3 * 1000);
  output_->Stop();
  const Frames written = CloseAndRead();

  const std::optional<std::size_t> start = FirstSoundingFrame(written);
  ASSERT_TRUE(start.has_value()) << "nothing reached the device";
  EXPECT_GE(MatchingFrames(written, *start, loop, true), 2 * 1000u);
}

TEST_F(SdlDiskOutputTest, ImageThatIsNotWavEndsTheSoundAndPlaysNothing) {
  const Frames loop = Pattern(1000);
  output_->Play(test::MakeWav16(2, kRate, loop), PlayMode::kLoop);
  WaitForMoreFrames(3 * 1000);
  const Image notWav(400, 0x11);
  EXPECT_TRUE(ReturnsPromptly(*output_,
                              [&] { output_->Play(notWav, PlayMode::kWait); }));
  WaitForMoreFrames(kRate / 10);
  const Frames written = CloseAndRead();

  const std::optional<std::size_t> start = FirstSoundingFrame(written);
  ASSERT_TRUE(start.has_value()) << "nothing reached the device";
  EXPECT_TRUE(SilentFrom(written,
                         *start + MatchingFrames(written, *start, loop, true)));
}

// --- Waiting plays
// ------------------------------------------------------------

TEST_F(SdlDiskOutputTest, WaitingPlayLastsTheSoundsTime) {
  const Image image = test::MakeWav16(2, kRate, Pattern(kRate * 3 / 10));
  const auto begin = Clock::now();
  output_->Play(image, PlayMode::kWait);
  // The device is fed ahead by at most a block or two.
  EXPECT_GE(Clock::now() - begin, 270ms);
}

struct EndCase {
  const char* name;
  std::function<void(SoundOutput&)> end;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class SdlWaitEndedBy : public SdlDiskOutputTest,
                       public ::testing::WithParamInterface<EndCase> {};

TEST_P(SdlWaitEndedBy, AnotherThread) {
  const Image longImage = test::MakeWav16(2, kRate, Pattern(10 * kRate));
  testing_support::BlockingCall waiting(
      [&] { output_->Play(longImage, PlayMode::kWait); },
      [&] { output_->Stop(); });
  // Once the file shows the sound, the waiting play is under way.
  ASSERT_TRUE(testing_support::WaitUntil([&] {
    std::ifstream file(path_, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    for (char byte : bytes) {
      if (byte != 0) return true;
    }
    return false;
  }));
  GetParam().end(*output_);
  EXPECT_TRUE(waiting.ReturnsWithin(kPatience));
}

INSTANTIATE_TEST_SUITE_P(
    Enders, SdlWaitEndedBy,
    ::testing::Values(EndCase{"Stop",
                              [](SoundOutput& output) { output.Stop(); }},
                      EndCase{"AsyncPlay",
                              [](SoundOutput& output) {
                                output.Play(
                                    test::MakeWav16(2, kRate, Pattern(10)),
                                    PlayMode::kAsync);
                              }},
                      EndCase{"PlayOfNonWav",
                              [](SoundOutput& output) {
                                output.Play(Image(4, 0), PlayMode::kAsync);
                              }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Volume
// ---------------------------------------------------------------------

struct VolumeCase {
  const char* name;
  std::uint32_t volumeWord;
  std::uint16_t channels;
};

void PrintTo(const VolumeCase& c, std::ostream* os) { *os << c.name; }

class SdlVolume : public SdlDiskOutputTest,
                  public ::testing::WithParamInterface<VolumeCase> {};

// Each channel is scaled linearly by its half of the word; a mono image's
// single channel is scaled separately for each side.
TEST_P(SdlVolume, ScalesEachChannelByItsHalf) {
  const VolumeCase& c = GetParam();
  std::vector<std::int16_t> samples;
  for (int i = 0; i < 2400; ++i) {
    for (int channel = 0; channel < c.channels; ++channel) {
      samples.push_back(static_cast<std::int16_t>(
          (channel == 0 ? 20000 : -30000) + 3 * (i % 1000)));
    }
  }
  output_->SetVolume(c.volumeWord);
  EXPECT_EQ(output_->Volume(), c.volumeWord);
  output_->Play(test::MakeWav16(c.channels, kRate, samples), PlayMode::kWait);
  WaitForMoreFrames(kRate / 10);
  const Frames written = CloseAndRead();

  const long leftVolume = c.volumeWord & 0xFFFF;
  const long rightVolume = c.volumeWord >> 16;
  Frames expected;
  for (int i = 0; i < 2400; ++i) {
    const long left = samples[i * c.channels];
    const long right = samples[i * c.channels + c.channels - 1];
    expected.push_back(static_cast<std::int16_t>(left * leftVolume / 65535));
    expected.push_back(static_cast<std::int16_t>(right * rightVolume / 65535));
  }
  const std::optional<std::size_t> start = FirstSoundingFrame(written);
  ASSERT_TRUE(start.has_value()) << "nothing reached the device";
  EXPECT_EQ(MatchingFrames(written, *start, expected, false), 2400u);
}

INSTANTIATE_TEST_SUITE_P(
    Words, SdlVolume,
    ::testing::Values(VolumeCase{"FullStereo", 0xFFFFFFFF, 2},
                      VolumeCase{"RightMutedStereo", 0x0000FFFF, 2},
                      VolumeCase{"LeftHalfRightQuarterStereo", 0x40007FFF, 2},
                      VolumeCase{"LeftHalfRightQuarterMono", 0x40007FFF, 1},
                      VolumeCase{"LeftQuietRightFullMono", 0xFFFF1000, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SdlDiskOutputTest, HasSeparateChannelVolumesAtFullInitially) {
  EXPECT_TRUE(output_->HasSeparateChannelVolumes());
  EXPECT_EQ(output_->Volume(), 0xFFFFFFFFu);
}

// --- No device
// -----------------------------------------------------------------

struct FallbackCase {
  const char* name;
  const char* driver;
  const char* diskFile;
};

void PrintTo(const FallbackCase& c, std::ostream* os) { *os << c.name; }

class SdlFallback : public ::testing::TestWithParam<FallbackCase> {};

// When the chosen driver cannot open a device, the output still opens, on
// the dummy driver, and its plays still last their real time.
TEST_P(SdlFallback, OpensTheDummyDriverWithRealTimePlays) {
  setenv("SDL_AUDIODRIVER", GetParam().driver, 1);
  setenv("SDL_DISKAUDIOFILE", GetParam().diskFile, 1);
  const std::unique_ptr<SdlSoundOutput> output = SdlSoundOutput::Open();
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(output->DriverName(), "dummy");

  const Image image = test::MakeWav16(
      1, 96000, std::vector<std::int16_t>(96000 * 3 / 10, 1000));
  const auto begin = Clock::now();
  EXPECT_TRUE(
      ReturnsPromptly(*output, [&] { output->Play(image, PlayMode::kWait); }));
  EXPECT_GE(Clock::now() - begin, 270ms);
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, SdlFallback,
    ::testing::Values(FallbackCase{"DiskFileCannotBeCreated", "disk",
                                   "/nonexistent-quillora-dir/out.raw"},
                      FallbackCase{"UnknownDriver", "no-such-driver", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillora
