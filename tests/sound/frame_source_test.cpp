// The converting frame source gives, block by block, exactly the frames that
// the whole-image conversion gives; rates beyond the conversion's reach are
// refused by both.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <vector>

#include "sound/pcm_convert.h"
#include "sound/wav_image.h"
#include "tests/sound/wav_test_images.h"

namespace quillora {
namespace {

using test::MakeWav16;
using test::MakeWav8;
using test::Sine;
using test::ToSamples16;
using test::ToSamples8;

struct SourceCase {
  const char* name;
  std::vector<std::uint8_t> image;
  std::uint32_t outputRate;
  SoundEnds ends;
};

void PrintTo(const SourceCase& c, std::ostream* out) { *out << c.name; }

std::vector<std::uint8_t> Tone16(std::uint16_t channels, std::uint32_t rate,
                                 std::size_t frames) {
  return MakeWav16(channels, rate,
                   ToSamples16(Sine(997.0, rate, frames * channels, 20000)));
}

// All frames of `source`, read in blocks of uneven sizes from the start, as
// a device reads.
StereoFrames ReadAll(FrameSource& source) {
  std::mt19937 random(7);
  StereoFrames read;
  for (std::size_t first = 0; first < source.FrameCount();) {
    const std::size_t count =
        std::min<std::size_t>(source.FrameCount() - first, 1 + random() % 700);
    StereoFrames block(2 * count);
    source.ReadFrames(first, block);
    read.insert(read.end(), block.begin(), block.end());
    first += count;
  }
  return read;
}

class ConvertingSourceTest : public testing::TestWithParam<SourceCase> {};

TEST_P(ConvertingSourceTest, ReadsTheFramesOfTheWholeConversion) {
  const SourceCase& c = GetParam();
  const std::optional<WavFormat> format = ReadWavFormat(c.image);
  ASSERT_TRUE(format);
  const StereoFrames whole = ConvertToStereo16(*format, c.outputRate, c.ends);
  std::unique_ptr<FrameSource> source =
      ConvertingFrameSource(*format, c.outputRate, c.ends);
  ASSERT_NE(source, nullptr);
  ASSERT_EQ(source->FrameCount(), whole.size() / 2);

  EXPECT_EQ(ReadAll(*source), whole);
}

// A source whose copy is made in a buffer that an earlier, larger sound gave
// back reads the same frames, and gives the buffer back in turn.
TEST_P(ConvertingSourceTest, ReadsTheSameFramesFromAPooledBuffer) {
  const SourceCase& c = GetParam();
  const std::optional<WavFormat> format = ReadWavFormat(c.image);
  ASSERT_TRUE(format);
  SampleBufferPool pool;
  const std::vector<std::uint8_t> earlier = Tone16(2, 96000, 50000);
  ConvertingFrameSource(*ReadWavFormat(earlier), c.outputRate, c.ends, &pool)
      .reset();
  ASSERT_GE(pool.SpareCapacity(), ReadWavFormat(earlier)->samples.size());

  std::unique_ptr<FrameSource> source =
      ConvertingFrameSource(*format, c.outputRate, c.ends, &pool);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(pool.SpareCapacity(), 0u);  // the source holds the buffer
  EXPECT_EQ(ReadAll(*source), ConvertToStereo16(*format, c.outputRate, c.ends));
  source.reset();
  EXPECT_GE(pool.SpareCapacity(), ReadWavFormat(earlier)->samples.size());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ConvertingSourceTest,
    testing::Values(
        SourceCase{"same_rate_mono16", Tone16(1, 48000, 3000), 48000,
                   SoundEnds::kSilent},
        SourceCase{"same_rate_stereo8",
                   MakeWav8(2, 48000, ToSamples8(Sine(440, 48000, 2000, 100))),
                   48000, SoundEnds::kSilent},
        SourceCase{"half_rate_once", Tone16(1, 96000, 9601), 48000,
                   SoundEnds::kSilent},
        SourceCase{"half_rate_loop", Tone16(1, 96000, 9601), 48000,
                   SoundEnds::kWrapped},
        SourceCase{"cd_to_48000_stereo", Tone16(2, 44100, 4410), 48000,
                   SoundEnds::kSilent},
        SourceCase{"96000_to_44100_loop", Tone16(1, 96000, 44352), 44100,
                   SoundEnds::kWrapped},
        SourceCase{"shorter_than_the_filter_loop", Tone16(1, 8000, 5), 48000,
                   SoundEnds::kWrapped},
        SourceCase{"lowest_rate", Tone16(1, kLowestConvertibleRate, 50), 48000,
                   SoundEnds::kSilent},
        SourceCase{"highest_rate", Tone16(2, kHighestConvertibleRate, 4000),
                   48000, SoundEnds::kSilent}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConvertibleRates, RatesBeyondTheLimitsGiveNothing) {
  for (std::uint32_t rate : {0u, 1u, kLowestConvertibleRate - 1,
                             kHighestConvertibleRate + 1, 4000000000u}) {
    const auto image = Tone16(1, rate, 100);
    const std::optional<WavFormat> format = ReadWavFormat(image);
    if (!format) continue;  // the reader may refuse it already
    EXPECT_TRUE(ConvertToStereo16(*format, 48000, SoundEnds::kSilent).empty())
        << rate;
    EXPECT_EQ(ConvertingFrameSource(*format, 48000, SoundEnds::kSilent),
              nullptr)
        << rate;
  }
  const auto image = Tone16(1, 48000, 100);
  const std::optional<WavFormat> format = ReadWavFormat(image);
  ASSERT_TRUE(format);
  EXPECT_EQ(ConvertingFrameSource(*format, 999, SoundEnds::kSilent), nullptr);
}

// Of the buffers given back, the pool keeps the largest, and a copy holds
// exactly the samples given, whatever the spare buffer held.
TEST(SampleBufferPoolTest, KeepsTheLargestBufferAndCopiesExactly) {
  SampleBufferPool pool;
  pool.GiveBack(std::vector<std::uint8_t>(1000, 7));
  pool.GiveBack(std::vector<std::uint8_t>(300, 7));
  EXPECT_EQ(pool.SpareCapacity(), 1000u);

  const std::vector<std::uint8_t> samples = {1, 2, 3};
  const std::vector<std::uint8_t> copy = pool.Copy(samples);
  EXPECT_EQ(copy, samples);
  EXPECT_EQ(copy.capacity(), 1000u);
  EXPECT_EQ(pool.SpareCapacity(), 0u);

  const std::vector<std::uint8_t> larger(5000, 9);
  EXPECT_EQ(pool.Copy(larger), larger);
}

}  // namespace
}  // namespace quillora
