#include "sound/pcm_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

#include "sound/wav_image.h"
#include "tests/sound/wav_test_images.h"

namespace quillora {
namespace {

using test::MakeWav16;
using test::MakeWav8;
using test::Sine;
using test::ToSamples16;

StereoFrames Convert(const std::vector<std::uint8_t>& image,
                     std::uint32_t outputRate,
                     SoundEnds ends = SoundEnds::kSilent) {
  const std::optional<WavFormat> format = ReadWavFormat(image);
  EXPECT_TRUE(format.has_value());
  if (!format) return {};
  return ConvertToStereo16(*format, outputRate, ends);
}

// Largest difference between channel `channel` of `frames` and `expected`,
// over frames [from, to).
double MaxError(const StereoFrames& frames, int channel,
                const std::vector<double>& expected, std::size_t from,
                std::size_t to) {
  double worst = 0;
  for (std::size_t j = from; j < to; ++j) {
    worst = std::max(worst, std::abs(frames[2 * j + channel] - expected[j]));
  }
  return worst;
}

double Rms(const StereoFrames& frames, int channel, std::size_t from,
           std::size_t to) {
  double sum = 0;
  for (std::size_t j = from; j < to; ++j) {
    const double value = frames[2 * j + channel];
    sum += value * value;
  }
  return std::sqrt(sum / static_cast<double>(to - from));
}

// --- Same rate: exact copies -----------------------------------------------

struct CopyCase {
  const char* name;
  std::vector<std::uint8_t> image;
  StereoFrames expected;
};

void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.name; }

class SameRateCopy : public ::testing::TestWithParam<CopyCase> {};

TEST_P(SameRateCopy, DecodesEverySampleExactly) {
  EXPECT_EQ(Convert(GetParam().image, 48000), GetParam().expected);
}

const std::uint8_t kBytesMono[] = {0, 1, 127, 128, 129, 255};
const std::uint8_t kBytesStereo[] = {0, 255, 128, 64};
const std::int16_t kWordsMono[] = {-32768, -1, 0, 1, 32767};
const std::int16_t kWordsStereo[] = {100, -200, 300, -400};

INSTANTIATE_TEST_SUITE_P(
    Formats, SameRateCopy,
    ::testing::Values(CopyCase{"Unsigned8Mono",
                               MakeWav8(1, 48000, kBytesMono),
                               {-32768, -32768, -32512, -32512, -256, -256, 0,
                                0, 256, 256, 32512, 32512}},
                      CopyCase{"Unsigned8Stereo",
                               MakeWav8(2, 48000, kBytesStereo),
                               {-32768, 32512, 0, -16384}},
                      CopyCase{
                          "Signed16Mono",
                          MakeWav16(1, 48000, kWordsMono),
                          {-32768, -32768, -1, -1, 0, 0, 1, 1, 32767, 32767}},
                      CopyCase{"Signed16Stereo",
                               MakeWav16(2, 48000, kWordsStereo),
                               {100, -200, 300, -400}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Resampling ------------------------------------------------------------

struct LengthCase {
  std::uint32_t rate;
  std::size_t frames;
  std::uint32_t outputRate;
  std::size_t expectedFrames;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
  *os << c.frames << " frames " << c.rate << " to " << c.outputRate;
}

class ResampledLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(ResampledLength, IsTheRoundedPlayingTimeInOutputFrames) {
  const LengthCase& c = GetParam();
  const std::vector<std::int16_t> samples(c.frames, 1000);
  for (SoundEnds ends : {SoundEnds::kSilent, SoundEnds::kWrapped}) {
    EXPECT_EQ(Convert(MakeWav16(1, c.rate, samples), c.outputRate, ends).size(),
              2 * c.expectedFrames);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rates, ResampledLength,
    ::testing::Values(LengthCase{96000, 9600, 48000, 4800},
                      LengthCase{44100, 441, 48000, 480},
                      LengthCase{44100, 661, 48000, 719},  // 719.4
                      LengthCase{44100, 100, 48000, 109},  // 108.8
                      LengthCase{96000, 1, 48000, 1},      // 0.5, kept
                      LengthCase{22050, 1, 48000, 2},
                      LengthCase{8000, 3, 48000, 18},
                      LengthCase{48000, 7, 44100, 6},  // 6.4
                      LengthCase{96000, 0, 48000, 0}));

struct ToneCase {
  std::uint32_t rate;
  std::uint32_t outputRate;
  double frequency;
  std::size_t frames;  // of the image
};

void PrintTo(const ToneCase& c, std::ostream* os) {
  *os << c.frequency << " Hz " << c.rate << " to " << c.outputRate << ", "
      << c.frames << " frames";
}

class ResampledTone : public ::testing::TestWithParam<ToneCase> {
 protected:
  static constexpr double kAmplitude = 20000;
  // Frames near the ends, where the filter reaches past the sound.
  static constexpr std::size_t kEdge = 100;
};

// A tone below both limits keeps its pitch and level: each output frame
// matches the sine at that frame's place in the image.
TEST_P(ResampledTone, KeepsPitchAndLevel) {
  const ToneCase& c = GetParam();
  const StereoFrames out = Convert(
      MakeWav16(1, c.rate,
                ToSamples16(Sine(c.frequency, c.rate, c.frames, kAmplitude))),
      c.outputRate);
  const std::size_t outFrames = out.size() / 2;
  ASSERT_GT(outFrames, 2 * kEdge);
  const double pi = std::acos(-1.0);
  std::vector<double> ideal;
  for (std::size_t j = 0; j < outFrames; ++j) {
    const double place = static_cast<double>(j) * c.frames / outFrames;
    ideal.push_back(kAmplitude *
                    std::sin(2 * pi * c.frequency * place / c.rate));
  }
  for (int channel : {0, 1}) {
    EXPECT_LT(MaxError(out, channel, ideal, kEdge, outFrames - kEdge),
              0.002 * kAmplitude)
        << "channel " << channel;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rates, ResampledTone,
    ::testing::Values(
        ToneCase{96000, 48000, 1000, 19200},
        ToneCase{96000, 48000, 15000, 19200}, ToneCase{44100, 48000, 440, 8820},
        ToneCase{44100, 48000, 15000, 8820}, ToneCase{48000, 44100, 1000, 9600},
        ToneCase{96000, 44100, 5000, 19200}, ToneCase{22050, 48000, 3000, 4410},
        // Lengths whose frames fall at thousands of different
        // places between the image's frames.
        ToneCase{96000, 48000, 1000, 19201},
        ToneCase{44100, 48000, 3000, 9001}));

// Content above the output's limit is filtered away instead of folding back
// as a false tone (30 kHz would fold to 18 kHz at 48 kHz).
TEST(Resampling, RemovesWhatTheOutputRateCannotCarry) {
  struct Case {
    std::uint32_t rate, outputRate;
    double frequency;
  };
  for (const Case& c : {Case{96000, 48000, 30000}, Case{96000, 44100, 26000},
                        Case{96000, 48000, 40000}}) {
    const std::size_t inFrames = c.rate / 10;
    const StereoFrames out = Convert(
        MakeWav16(1, c.rate,
                  ToSamples16(Sine(c.frequency, c.rate, inFrames, 20000))),
        c.outputRate);
    const std::size_t outFrames = out.size() / 2;
    EXPECT_LT(Rms(out, 0, 100, outFrames - 100), 20000 * 1e-3)
        << c.frequency << " Hz from " << c.rate << " to " << c.outputRate;
  }
}

// A looping sound is resampled as the endless repetition it is: across the
// seam the output goes on as the same sine.
TEST(Resampling, WrappedLoopIsSeamless) {
  constexpr std::uint32_t kRate = 96000;
  constexpr std::size_t kLoopFrames = 960;  // ten cycles of 1 kHz
  const StereoFrames loop = Convert(
      MakeWav16(1, kRate, ToSamples16(Sine(1000, kRate, kLoopFrames, 20000))),
      48000, SoundEnds::kWrapped);
  ASSERT_EQ(loop.size(), 2 * 480u);

  StereoFrames played(2 * 3 * 480);
  std::size_t position = 0;
  RenderBlock(loop, true, 0xFFFFFFFF, position, played);
  const std::vector<double> ideal = Sine(1000, 48000, 3 * 480, 20000);
  EXPECT_LT(MaxError(played, 0, ideal, 0, 3 * 480), 0.002 * 20000);
}

// A loop shorter than the filter's reach wraps around it several times.
TEST(Resampling, TinyLoopKeepsItsLevel) {
  const std::int16_t constant[] = {10000, 10000, 10000};
  const StereoFrames out =
      Convert(MakeWav16(1, 44100, constant), 48000, SoundEnds::kWrapped);
  ASSERT_EQ(out.size(), 2 * 3u);
  for (std::int16_t sample : out) EXPECT_NEAR(sample, 10000, 20);
}

// The filter rings past a full-scale square's corners; the peaks are clipped
// rather than wrapping round to the other sign.
TEST(Resampling, FullScaleSquareClipsInsteadOfWrapping) {
  std::vector<std::int16_t> square;
  for (int i = 0; i < 9600; ++i) {
    square.push_back((i / 48) % 2 == 0 ? -32767 : 32767);
  }
  const StereoFrames out = Convert(MakeWav16(1, 96000, square), 48000);
  ASSERT_EQ(out.size(), 2 * 4800u);
  for (std::size_t j = 100; j < 4700; ++j) {
    const std::size_t inHalf = j % 24;
    if (inHalf < 4 || inHalf > 20) continue;  // near a corner
    const bool high = (j / 24) % 2 == 1;
    EXPECT_GT(high ? out[2 * j] : -out[2 * j], 30000) << "frame " << j;
  }
}

// --- Volume and blocks -------------------------------------------------------

TEST(ScaleSample, IsLinearFromSilentToUnchanged) {
  struct Case {
    std::int16_t sample;
    std::uint16_t volume;
    std::int16_t expected;
  };
  for (const Case& c : {Case{32767, 65535, 32767}, Case{-32768, 65535, -32768},
                        Case{32767, 0, 0}, Case{-32768, 0, 0},
                        Case{20000, 32767, 9999}, Case{-20000, 32767, -9999},
                        Case{1, 65534, 0}, Case{-32768, 16384, -8192}}) {
    EXPECT_EQ(ScaleSample(c.sample, c.volume), c.expected)
        << c.sample << " at " << c.volume;
  }
}

class RenderBlockTest : public ::testing::Test {
 protected:
  // Three frames: (1, -1), (2, -2), (3, -3).
  const StereoFrames sound_ = {1, -1, 2, -2, 3, -3};
};

TEST_F(RenderBlockTest, SoundPlayedOnceIsFollowedBySilence) {
  StereoFrames block(2 * 5, 99);
  std::size_t position = 0;
  EXPECT_EQ(RenderBlock(sound_, false, 0xFFFFFFFF, position, block), 3u);
  EXPECT_EQ(block, (StereoFrames{1, -1, 2, -2, 3, -3, 0, 0, 0, 0}));
  EXPECT_EQ(RenderBlock(sound_, false, 0xFFFFFFFF, position, block), 0u);
  EXPECT_EQ(block, StereoFrames(2 * 5, 0));
}

TEST_F(RenderBlockTest, LoopWrapsWithinAndAcrossBlocks) {
  StereoFrames block(2 * 4);
  std::size_t position = 1;
  EXPECT_EQ(RenderBlock(sound_, true, 0xFFFFFFFF, position, block), 4u);
  EXPECT_EQ(block, (StereoFrames{2, -2, 3, -3, 1, -1, 2, -2}));
  RenderBlock(sound_, true, 0xFFFFFFFF, position, block);
  EXPECT_EQ(block, (StereoFrames{3, -3, 1, -1, 2, -2, 3, -3}));
}

TEST_F(RenderBlockTest, EmptyLoopIsSilence) {
  StereoFrames block(2 * 4, 99);
  std::size_t position = 0;
  EXPECT_EQ(RenderBlock({}, true, 0xFFFFFFFF, position, block), 0u);
  EXPECT_EQ(block, StereoFrames(2 * 4, 0));
}

TEST_F(RenderBlockTest, ScalesEachChannelByItsHalfOfTheVolumeWord) {
  const StereoFrames loud = {30000, -30000, -20000, 20000};
  StereoFrames block(4);
  std::size_t position = 0;
  // Left full (low half), right a quarter (high half).
  RenderBlock(loud, false, 0x4000FFFF, position, block);
  EXPECT_EQ(block, (StereoFrames{30000, -7500, -20000, 5000}));
  position = 0;
  RenderBlock(loud, false, 0xFFFF0000, position, block);
  EXPECT_EQ(block, (StereoFrames{0, -30000, 0, 20000}));
}

}  // namespace
}  // namespace quillora
