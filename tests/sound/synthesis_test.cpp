#include "sound/synthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "literal_synthesis.h"
#include "sound/noise_generator.h"
#include "sound/wav_image.h"

namespace quillora {
namespace {

// The synthesis under test and its frame-by-frame yardstick must both meet
// every example, so each example runs on both.
using Synthesis = std::vector<std::uint8_t> (*)(const ToneSettings&);

std::vector<std::uint8_t> Fast(const ToneSettings& settings) {
  std::optional<WaveImage> image = SynthesizeWaveImage(settings);
  if (!image) return {};
  const auto bytes = image->Bytes();
  return {bytes.begin(), bytes.end()};
}

std::uint32_t Read32(const std::vector<std::uint8_t>& image, std::size_t at) {
  std::uint32_t value;
  std::memcpy(&value, image.data() + at, 4);
  return value;
}
std::uint16_t Read16(const std::vector<std::uint8_t>& image, std::size_t at) {
  std::uint16_t value;
  std::memcpy(&value, image.data() + at, 2);
  return value;
}
// The 16-bit sample with index `sample`.
std::int16_t Sample16(const std::vector<std::uint8_t>& image,
                      std::size_t sample) {
  return static_cast<std::int16_t>(Read16(image, 44 + 2 * sample));
}

ToneSettings Tone(std::int16_t frequency, std::int16_t duration, TTGWave wave) {
  ToneSettings settings;
  settings.Frequency = frequency;
  settings.Duration = duration;
  settings.Waveform = wave;
  return settings;
}

class SynthesisTest : public testing::TestWithParam<Synthesis> {
 protected:
  std::vector<std::uint8_t> Make(const ToneSettings& settings) {
    return GetParam()(settings);
  }
};

INSTANTIATE_TEST_SUITE_P(Implementations, SynthesisTest,
                         testing::Values(&Fast, &literal::Synthesize),
                         [](const auto& info) {
                           return info.index == 0 ? "Fast" : "Literal";
                         });

TEST_P(SynthesisTest, NewToneIsA100MsSineWithItsHeader) {
  const std::vector<std::uint8_t> image = Make(ToneSettings{});
  ASSERT_EQ(image.size(), 19276u);
  EXPECT_EQ(std::memcmp(image.data(), "RIFF", 4), 0);
  EXPECT_EQ(Read32(image, 4), 19236u);
  EXPECT_EQ(std::memcmp(image.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(Read32(image, 16), 16u);
  EXPECT_EQ(Read16(image, 20), 1u);
  EXPECT_EQ(Read16(image, 22), 1u);
  EXPECT_EQ(Read32(image, 24), 96000u);
  EXPECT_EQ(Read32(image, 28), 192000u);
  EXPECT_EQ(Read16(image, 32), 2u);
  EXPECT_EQ(Read16(image, 34), 16u);
  EXPECT_EQ(std::memcmp(image.data() + 36, "data", 4), 0);
  EXPECT_EQ(Read32(image, 40), 19200u);

  // The reader of the sound output accepts it as 100 ms of 16-bit mono.
  const std::optional<WavFormat> format = ReadWavFormat(image);
  ASSERT_TRUE(format.has_value());
  EXPECT_EQ(format->DurationMs(), 100u);
}

struct SizeCase {
  const char* name;
  std::int16_t duration;
  TTGResolution resolution;
  TTGQuality quality;
  bool stereo;
  std::uint32_t dataSize;
  std::uint16_t channels;
  std::uint32_t rate;
  std::uint16_t bits;
  // Test output names the row, not its bytes.
  friend void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }
};

class SynthesisSizeTest
    : public testing::TestWithParam<std::tuple<Synthesis, SizeCase>> {};

TEST_P(SynthesisSizeTest, SizesTheDataAndDescribesItsFormat) {
  const auto& [synthesis, c] = GetParam();
  ToneSettings settings = Tone(1000, c.duration, tgSquare);
  settings.Resolution = c.resolution;
  settings.Quality = c.quality;
  settings.Stereo = c.stereo;
  const std::vector<std::uint8_t> image = synthesis(settings);
  ASSERT_EQ(image.size(), c.dataSize + 76u);
  EXPECT_EQ(Read32(image, 4), c.dataSize + 36);
  EXPECT_EQ(Read32(image, 40), c.dataSize);
  EXPECT_EQ(Read16(image, 22), c.channels);
  EXPECT_EQ(Read32(image, 24), c.rate);
  EXPECT_EQ(Read32(image, 28), c.channels * c.rate * c.bits / 8);
  EXPECT_EQ(Read16(image, 32), c.channels * c.bits / 8);
  EXPECT_EQ(Read16(image, 34), c.bits);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SynthesisSizeTest,
    testing::Combine(
        testing::Values(&Fast, &literal::Synthesize),
        testing::Values(SizeCase{"200ms_16bit_hiq_mono", 200, tg16Bit, tgHiQ,
                                 false, 38400, 1, 96000, 16},
                        SizeCase{"15ms_8bit_loq_mono", 15, tg8Bit, tgLoQ, false,
                                 661, 1, 44100, 8},
                        SizeCase{"15ms_16bit_loq_stereo", 15, tg16Bit, tgLoQ,
                                 true, 2646, 2, 44100, 16},
                        SizeCase{"10ms_8bit_hiq_stereo", 10, tg8Bit, tgHiQ,
                                 true, 1920, 2, 96000, 8},
                        SizeCase{"longest_16bit_hiq_stereo", 32767, tg16Bit,
                                 tgHiQ, true, 12582528, 2, 96000, 16})),
    [](const auto& info) {
      const Synthesis synthesis = std::get<0>(info.param);
      return std::string(synthesis == &Fast ? "Fast_" : "Literal_") +
             std::get<1>(info.param).name;
    });

// 15 ms of 16-bit mono at 44100 Hz is 1323 bytes: the last frame, 661,
// starts in the data and ends in the first spare byte. At 1000 Hz a cycle
// is 44.1 frames and cycle 16 starts at trunc(15 * 44.1) = 661, so the frame
// holds the square's low level.
TEST_P(SynthesisTest, CompletesTheLastFrameInTheSpareBytes) {
  ToneSettings settings = Tone(1000, 15, tgSquare);
  settings.Quality = tgLoQ;
  const std::vector<std::uint8_t> image = Make(settings);
  ASSERT_EQ(image.size(), 1323u + 76u);
  EXPECT_EQ(Sample16(image, 660), 32767);
  EXPECT_EQ(Sample16(image, 661), -32767);
  for (std::size_t at = 44 + 1324; at < image.size(); ++at) {
    EXPECT_EQ(image[at], 0) << "spare byte " << at;
  }
}

TEST_P(SynthesisTest, SilenceFillsTheSpareBytes) {
  for (TTGResolution resolution : {tg16Bit, tg8Bit}) {
    ToneSettings settings = Tone(1000, 10, tgSquare);
    settings.Resolution = resolution;
    const std::vector<std::uint8_t> image = Make(settings);
    const std::uint8_t silence = resolution == tg8Bit ? 128 : 0;
    for (std::size_t at = image.size() - 32; at < image.size(); ++at) {
      EXPECT_EQ(image[at], silence) << "byte " << at;
    }
  }
}

TEST_P(SynthesisTest, TriangleRisesOverHalfACycleAndRestartsLow) {
  const std::vector<std::uint8_t> image = Make(Tone(1000, 200, tgTriangle));
  ASSERT_EQ(image.size(), 38400u + 76u);
  EXPECT_EQ(Sample16(image, 0), -32767);
  EXPECT_EQ(Sample16(image, 1), -31401);
  EXPECT_EQ(Sample16(image, 2), -30036);
  EXPECT_EQ(Sample16(image, 47), 31401);
  EXPECT_EQ(Sample16(image, 48), 32767);
  EXPECT_EQ(Sample16(image, 96), -32767);
}

TEST_P(SynthesisTest, SquareIsLowForHalfACycleThenHigh) {
  const std::vector<std::uint8_t> image = Make(Tone(1000, 200, tgSquare));
  for (std::size_t i = 0; i < 192; ++i) {
    EXPECT_EQ(Sample16(image, i), i % 96 < 48 ? -32767 : 32767)
        << "sample " << i;
  }
}

TEST_P(SynthesisTest, NoiseRestartsWithEverySynthesis) {
  const ToneSettings noise = Tone(1000, 200, tgNoise);
  const std::vector<std::uint8_t> first = Make(noise);
  EXPECT_EQ(Sample16(first, 0), -30711);
  EXPECT_EQ(Sample16(first, 1), 23661);
  EXPECT_EQ(Sample16(first, 2), -19491);

  ToneSettings other = noise;
  other.Duration = 300;
  Make(other);
  EXPECT_EQ(Make(noise), first);
}

// A sawtooth is at its lowest only where a cycle starts: for 440 Hz a cycle
// is 218.18... frames long, so the cycles are 218 or 219 frames.
TEST_P(SynthesisTest, CyclesEndWhereTheirPeriodMultiplesAreTruncated) {
  const std::vector<std::uint8_t> image = Make(Tone(440, 100, tgSawtooth));
  std::vector<std::size_t> cycleStarts;
  for (std::size_t i = 0; i < 1000; ++i) {
    if (Sample16(image, i) == -32767) cycleStarts.push_back(i);
  }
  EXPECT_EQ(cycleStarts, (std::vector<std::size_t>{0, 218, 436, 654, 872}));
}

TEST_P(SynthesisTest, StereoFramesRepeatTheMonoSample) {
  for (TTGResolution resolution : {tg16Bit, tg8Bit}) {
    ToneSettings mono = Tone(523, 50, tgTriangle);
    mono.Resolution = resolution;
    mono.AMAmplitudes[0] = 40;
    mono.AMWaveforms[0] = tgNoise;
    ToneSettings stereo = mono;
    stereo.Stereo = true;
    const std::vector<std::uint8_t> left = Make(mono);
    const std::vector<std::uint8_t> both = Make(stereo);
    const std::size_t sampleSize = resolution == tg8Bit ? 1 : 2;
    const std::size_t dataSize = left.size() - 76;
    ASSERT_EQ(both.size() - 76, 2 * dataSize);
    for (std::size_t at = 0; at < dataSize; at += sampleSize) {
      ASSERT_EQ(std::memcmp(&left[44 + at], &both[44 + 2 * at], sampleSize), 0)
          << "left sample at " << at;
      ASSERT_EQ(std::memcmp(&left[44 + at], &both[44 + 2 * at + sampleSize],
                            sampleSize),
                0)
          << "right sample at " << at;
    }
  }
}

// A square of amplitude A has the levels trunc(Lo) and trunc(Hi / 2); 8-bit
// samples add trunc(128 + v) - 128. Extra amplitudes below 0 raise the main
// tone above 100 %, and its levels wrap around.
struct LevelCase {
  const char* name;
  TTGResolution resolution;
  std::int16_t silentExtraAmplitude;  // an extra tone of 0 Hz
  std::int32_t low;
  std::int32_t high;
};

TEST_P(SynthesisTest, SquareLevelsWrapAroundTheSampleRange) {
  const LevelCase cases[] = {
      {"16bit_full", tg16Bit, 0, -32767, 32767},
      {"16bit_double_wraps", tg16Bit, -100, 2, -2},
      {"16bit_three_halves", tg16Bit, -50, 16386, -16386},
      {"8bit_full", tg8Bit, 0, 1, 255},
      {"8bit_double_wraps", tg8Bit, -100, 130, 126},
      {"8bit_a_third_truncates_after_the_offset", tg8Bit, 67, 86, 169},
  };
  for (const LevelCase& c : cases) {
    SCOPED_TRACE(c.name);
    ToneSettings settings = Tone(1000, 10, tgSquare);
    settings.Resolution = c.resolution;
    settings.AMUseMultiplier = false;
    settings.AMAmplitudes[3] = c.silentExtraAmplitude;
    settings.AMFrequencies[3] = 0;
    const std::vector<std::uint8_t> image = Make(settings);
    auto at = [&](std::size_t frame) -> std::int32_t {
      return c.resolution == tg8Bit ? image[44 + frame]
                                    : Sample16(image, frame);
    };
    EXPECT_EQ(at(0), c.low);
    EXPECT_EQ(at(47), c.low);
    EXPECT_EQ(at(48), c.high);
    EXPECT_EQ(at(95), c.high);
  }
}

// Pairs of settings that must sound the same: the first spells out a rule of
// how the layers are chosen, the second is the plain equivalent.
struct SameToneCase {
  const char* name;
  ToneSettings tone;
  ToneSettings equivalent;
};

ToneSettings WithExtras(TTGWave mainWave, std::initializer_list<int> amplitudes,
                        TTGWave extraWave = tgSquare, float frequency = 1.5f) {
  ToneSettings settings = Tone(1000, 40, mainWave);
  int i = 0;
  for (int amplitude : amplitudes) {
    settings.AMAmplitudes[i] = static_cast<std::int16_t>(amplitude);
    settings.AMWaveforms[i] = extraWave;
    settings.AMFrequencies[i] = frequency + i;
    ++i;
  }
  return settings;
}

ToneSettings ExtraInHz(TTGQuality quality, TTGWave wave, float hz) {
  ToneSettings settings = Tone(1000, 40, tgSine);
  settings.Quality = quality;
  settings.AMUseMultiplier = false;
  settings.AMAmplitudes[2] = 50;
  settings.AMWaveforms[2] = wave;
  settings.AMFrequencies[2] = hz;
  return settings;
}

ToneSettings ExtraMultiplied(float multiplier) {
  ToneSettings settings = Tone(440, 40, tgSine);
  settings.AMAmplitudes[0] = 50;
  settings.AMWaveforms[0] = tgSawtooth;
  settings.AMFrequencies[0] = multiplier;
  return settings;
}

ToneSettings ExtraAt(float hz) {
  ToneSettings settings = ExtraMultiplied(0);
  settings.AMUseMultiplier = false;
  settings.AMFrequencies[0] = hz;
  return settings;
}

const float kInfinity = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST_P(SynthesisTest, ChoosesLayerAmplitudesAndFrequencies) {
  const SameToneCase cases[] = {
      // Amplitudes summing to 120 scale to 25 and 75; the main tone is
      // silent, whatever its waveform.
      {"sum_120_scales_to_25_and_75", WithExtras(tgSine, {30, 90}),
       WithExtras(tgTriangle, {25, 75})},
      // 150 scales to 3 x 33: the main tone stays silent rather than take
      // the remaining 1 %.
      {"sum_150_silences_the_main_tone", WithExtras(tgSine, {50, 50, 50}),
       WithExtras(tgSquare, {50, 50, 50})},
      {"zero_amplitudes_leave_the_main_tone_alone",
       WithExtras(tgTriangle, {0, 0, 0}), Tone(1000, 40, tgTriangle)},
      {"multiplied_below_20_hz_is_20", ExtraMultiplied(0.01f), ExtraAt(20)},
      {"multiplied_above_20000_hz_is_20000", ExtraMultiplied(100),
       ExtraAt(20000)},
      {"multiplied_is_truncated", ExtraMultiplied(1.5f), ExtraAt(660.9f)},
      {"multiplied_infinity_is_20000", ExtraMultiplied(kInfinity),
       ExtraAt(20000)},
      {"multiplied_not_a_number_is_silent", ExtraMultiplied(kNaN), ExtraAt(0)},
      {"hz_is_truncated", ExtraAt(440.99f), ExtraAt(440)},
      {"negative_hz_is_silent", ExtraAt(-440), ExtraAt(0)},
      {"hz_beyond_16_bits_is_silent", ExtraAt(40000), ExtraAt(0)},
      {"infinite_hz_is_silent", ExtraAt(kInfinity), ExtraAt(0)},
      {"hz_not_a_number_is_silent", ExtraAt(kNaN), ExtraAt(0)},
      // Above 29400 Hz at 44100 frames per second a triangle's half period
      // is 0 frames: it is left out.
      {"triangle_without_half_period_is_silent",
       ExtraInHz(tgLoQ, tgTriangle, 30000), ExtraInHz(tgLoQ, tgTriangle, 0)},
      {"triangle_at_highest_hz_is_silent", ExtraInHz(tgLoQ, tgTriangle, 32767),
       ExtraInHz(tgLoQ, tgTriangle, 0)},
  };
  for (const SameToneCase& c : cases) {
    EXPECT_EQ(Make(c.tone), Make(c.equivalent)) << c.name;
  }
}

// The other side of the cases above: the layers they silence would be heard.
TEST_P(SynthesisTest, LayersAtTheEdgesStillSound) {
  const SameToneCase cases[] = {
      {"square_at_30000_hz", ExtraInHz(tgLoQ, tgSquare, 30000),
       ExtraInHz(tgLoQ, tgSquare, 0)},
      {"triangle_at_29000_hz", ExtraInHz(tgLoQ, tgTriangle, 29000),
       ExtraInHz(tgLoQ, tgTriangle, 0)},
      {"triangle_at_30000_hz_in_hiq", ExtraInHz(tgHiQ, tgTriangle, 30000),
       ExtraInHz(tgHiQ, tgTriangle, 0)},
      {"hz_at_32767", ExtraAt(32767), ExtraAt(0)},
      {"sum_99_leaves_the_main_tone_1_percent",
       WithExtras(tgSine, {33, 33, 33}), WithExtras(tgSquare, {33, 33, 33})},
  };
  for (const SameToneCase& c : cases) {
    EXPECT_NE(Make(c.tone), Make(c.equivalent)) << c.name;
  }
}

TEST(NoiseGeneratorTest, DrawsFromAStateStartingAtOne) {
  NoiseGenerator generator;
  EXPECT_EQ(generator.Next(65535), 2056u);
  EXPECT_EQ(generator.Next(65535), 56428u);
  EXPECT_EQ(generator.Next(65535), 13276u);
}

TEST(NoiseGeneratorTest, SkipEqualsThatManyDraws) {
  for (std::uint64_t draws : {0, 1, 2, 3, 4, 5, 17, 1000, 65536, 3145729}) {
    NoiseGenerator stepped;
    for (std::uint64_t i = 0; i < draws; ++i) stepped.Next(1);
    NoiseGenerator skipped;
    skipped.Skip(draws);
    EXPECT_EQ(skipped.State(), stepped.State()) << draws << " draws";
  }
}

}  // namespace
}  // namespace quillora
