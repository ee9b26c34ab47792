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

  // In blocks of uneven sizes, from the start, as a device reads.
  std::mt19937 random(7);
  StereoFrames read;
  for (std::size_t first = 0; first < source->FrameCount();) {
    const std::size_t count =
        std::min<std::size_t>(source->FrameCount() - first, 1 + random() % 700);
    StereoFrames block(2 * count);
    source->ReadFrames(first, block);
    read.insert(read.end(), block.begin(), block.end());
    first += count;
  }
  EXPECT_EQ(read, whole);
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

}  // namespace
}  // namespace quillora
