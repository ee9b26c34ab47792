// The fast synthesis and envelope against the frame-by-frame yardstick, on
// named edge cases and on many random settings.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "literal_synthesis.h"
#include "sound/synthesis.h"

namespace quillora {
namespace {

std::vector<std::uint8_t> FastImage(const ToneSettings& settings,
                                    bool envelope) {
  std::optional<WaveImage> image = SynthesizeWaveImage(settings);
  if (!image) return {};
  if (envelope) ApplyEnvelope(*image, settings.Envelope);
  const auto bytes = image->Bytes();
  return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> LiteralImage(const ToneSettings& settings,
                                       bool envelope) {
  std::vector<std::uint8_t> image = literal::Synthesize(settings);
  if (envelope) {
    std::vector<std::uint8_t> samples(image.begin() + 44, image.end());
    const auto dataSize = static_cast<std::uint32_t>(image.size() - 76);
    literal::ApplyEnvelope(samples, dataSize, settings.Stereo,
                           settings.Resolution, settings.Envelope);
    std::copy(samples.begin(), samples.end(), image.begin() + 44);
  }
  return image;
}

// The first differing byte, to make a failure readable.
std::string FirstDifference(const std::vector<std::uint8_t>& fast,
                            const std::vector<std::uint8_t>& literal) {
  if (fast.size() != literal.size()) {
    return "sizes " + std::to_string(fast.size()) + " and " +
           std::to_string(literal.size());
  }
  for (std::size_t i = 0; i < fast.size(); ++i) {
    if (fast[i] != literal[i]) {
      return "byte " + std::to_string(i) + ": " + std::to_string(fast[i]) +
             " instead of " + std::to_string(literal[i]);
    }
  }
  return "";
}

std::string Describe(const ToneSettings& s, bool envelope) {
  std::string text =
      std::to_string(s.Frequency) + " Hz " + std::to_string(s.Duration) +
      " ms wave " + std::to_string(s.Waveform) +
      (s.Resolution == tg8Bit ? " 8-bit" : " 16-bit") +
      (s.Quality == tgLoQ ? " LoQ" : " HiQ") +
      (s.Stereo ? " stereo" : " mono") + (s.AMUseMultiplier ? " x" : " Hz");
  for (int i = 0; i < 8; ++i) {
    if (s.AMAmplitudes[i] == 0) continue;
    text += " [" + std::to_string(s.AMAmplitudes[i]) + "% " +
            std::to_string(s.AMFrequencies[i]) + " wave " +
            std::to_string(s.AMWaveforms[i]) + "]";
  }
  if (envelope) {
    const EnvelopeSettings& e = s.Envelope;
    text += " envelope " + std::to_string(e.Attack) + "/" +
            std::to_string(e.Hold) + "/" + std::to_string(e.Decay) + "/" +
            std::to_string(e.Sustain) + "/" + std::to_string(e.Release);
  }
  return text;
}

void ExpectSameBytes(const ToneSettings& settings, bool envelope) {
  const std::vector<std::uint8_t> fast = FastImage(settings, envelope);
  const std::vector<std::uint8_t> literal = LiteralImage(settings, envelope);
  ASSERT_FALSE(fast.empty());
  EXPECT_TRUE(fast == literal)
      << Describe(settings, envelope) << ": " << FirstDifference(fast, literal);
}

ToneSettings Tone(std::int16_t frequency, std::int16_t duration, TTGWave wave,
                  TTGQuality quality = tgHiQ) {
  ToneSettings settings;
  settings.Frequency = frequency;
  settings.Duration = duration;
  settings.Waveform = wave;
  settings.Quality = quality;
  return settings;
}

struct EdgeCase {
  const char* name;
  ToneSettings settings;
  // The longest tones check the cycle ends over the full length; in 8-bit
  // they would only repeat what the shorter ones show.
  bool eightBitToo = true;
};

std::vector<EdgeCase> EdgeCases() {
  std::vector<EdgeCase> cases;
  for (TTGWave wave : {tgSine, tgTriangle}) {
    cases.push_back({"longest_1000_hz", Tone(1000, 32767, wave), false});
    cases.push_back({"longest_440_hz", Tone(440, 32767, wave), false});
  }
  for (TTGWave wave : {tgSquare, tgSawtooth, tgNoise}) {
    cases.push_back({"1000_hz", Tone(1000, 3000, wave)});
  }
  cases.push_back({"19999_hz_loq", Tone(19999, 5000, tgSine, tgLoQ)});
  // Frequencies where trunc(c * P) puts some cycle ends one frame before
  // the exact c * rate / f.
  cases.push_back({"early_ends_140_hz", Tone(140, 2000, tgTriangle)});
  cases.push_back({"early_ends_10020_hz", Tone(10020, 1000, tgSawtooth)});
  cases.push_back({"early_ends_132_hz_loq", Tone(132, 2000, tgSquare, tgLoQ)});
  cases.push_back(
      {"early_ends_10008_hz_loq", Tone(10008, 1000, tgSine, tgLoQ)});
  cases.push_back({"lowest_frequency", Tone(20, 3000, tgTriangle)});
  cases.push_back({"highest_frequency", Tone(20000, 3000, tgSawtooth)});
  cases.push_back(
      {"highest_frequency_loq", Tone(20000, 3000, tgTriangle, tgLoQ)});
  cases.push_back({"shortest", Tone(440, 10, tgSine, tgLoQ)});
  cases.push_back({"441_hz_loq_exact_period", Tone(441, 2000, tgSine, tgLoQ)});
  cases.push_back({"waveform_after_noise", Tone(440, 300, TTGWave{200})});

  ToneSettings cut = Tone(1000, 15, tgTriangle, tgLoQ);
  cases.push_back({"cut_last_frame", cut});
  cut.Stereo = true;
  cases.push_back({"cut_last_frame_stereo", cut});

  ToneSettings extras = Tone(440, 1500, tgTriangle);
  extras.AMAmplitudes = {10, 10, 10, 10, 10, 10, 10, 10};
  extras.AMWaveforms = {tgSine,  tgSquare, tgTriangle, tgSawtooth,
                        tgNoise, tgSine,   tgNoise,    tgTriangle};
  cases.push_back({"all_extra_tones_multiplied", extras});
  extras.AMUseMultiplier = false;
  extras.AMFrequencies = {1.5f,  333.3f, 19999.9f, 32767.f,
                          123.f, 7000.f, 50.f,     29000.f};
  cases.push_back({"all_extra_tones_in_hz", extras});
  extras.Quality = tgLoQ;
  cases.push_back({"all_extra_tones_in_hz_loq", extras});
  extras.AMAmplitudes = {30, 90, 60, 0, 5, 0, 0, 40};
  cases.push_back({"amplitudes_above_100", extras});
  extras.AMAmplitudes = {-200, 90, 60, 0, 5, 0, 0, 40};
  cases.push_back({"negative_amplitude_wraps", extras});
  extras.Resolution = tg8Bit;
  cases.push_back({"negative_amplitude_wraps_8bit", extras});
  return cases;
}

TEST(SynthesisEquivalenceTest, EdgeCasesMatchTheLiteralWalk) {
  for (const EdgeCase& c : EdgeCases()) {
    for (TTGResolution resolution : {tg16Bit, tg8Bit}) {
      if (resolution == tg8Bit && !c.eightBitToo) continue;
      for (bool stereo : {false, true}) {
        for (bool envelope : {false, true}) {
          SCOPED_TRACE(c.name);
          ToneSettings settings = c.settings;
          if (resolution == tg8Bit) settings.Resolution = tg8Bit;
          settings.Stereo = settings.Stereo || stereo;
          // The melody player's envelope, scaled from 105 %.
          settings.Envelope.Decay = 60;
          ExpectSameBytes(settings, envelope);
        }
      }
    }
  }
}

// A generator builds each new image in the buffer of its last one: whatever
// that buffer held, and whether it is larger or must grow, the new image has
// the bytes of a fresh one.
TEST(SynthesisEquivalenceTest, ReusedBufferGivesTheBytesOfAFreshImage) {
  WaveImage reused;
  for (const EdgeCase& c : EdgeCases()) {
    for (bool envelope : {false, true}) {
      SCOPED_TRACE(c.name);
      if (reused.DataBuffer) {
        std::memset(reused.DataBuffer.get(), 0xA5, reused.Capacity);
      }
      ASSERT_TRUE(SynthesizeWaveImage(c.settings, reused));
      ASSERT_GE(reused.Capacity, reused.BufferSize);
      if (envelope) ApplyEnvelope(reused, c.settings.Envelope);
      const auto bytes = reused.Bytes();
      const std::vector<std::uint8_t> image(bytes.begin(), bytes.end());
      const std::vector<std::uint8_t> fresh = FastImage(c.settings, envelope);
      EXPECT_TRUE(image == fresh) << FirstDifference(image, fresh);
    }
  }
}

TEST(SynthesisEquivalenceTest, RandomSettingsMatchTheLiteralWalk) {
  std::mt19937 random(20240611);
  auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  auto wave = [&] { return static_cast<TTGWave>(pick(0, 5)); };
  for (int round = 0; round < 400; ++round) {
    ToneSettings s;
    s.Frequency = static_cast<std::int16_t>(pick(0, 3) == 0 ? pick(20, 20000)
                                                            : pick(20, 2000));
    s.Duration = static_cast<std::int16_t>(pick(0, 9) == 0 ? pick(10, 8000)
                                                           : pick(10, 700));
    s.Waveform = wave();
    s.Resolution = pick(0, 1) ? tg8Bit : tg16Bit;
    s.Quality = pick(0, 1) ? tgLoQ : tgHiQ;
    s.Stereo = pick(0, 1);
    s.AMUseMultiplier = pick(0, 1);
    const int extraTones = pick(0, 3) == 0 ? 0 : pick(1, 8);
    for (int i = 0; i < extraTones; ++i) {
      s.AMAmplitudes[i] = static_cast<std::int16_t>(pick(0, 60));
      s.AMWaveforms[i] = wave();
      s.AMFrequencies[i] =
          s.AMUseMultiplier ? pick(1, 4000) / 100.0f : pick(1, 330000) / 10.0f;
    }
    s.Envelope = {.Attack = static_cast<std::int16_t>(pick(0, 60)),
                  .Hold = static_cast<std::int16_t>(pick(0, 30)),
                  .Decay = static_cast<std::int16_t>(pick(0, 60)),
                  .Sustain = static_cast<std::int16_t>(pick(0, 100)),
                  .Release = static_cast<std::int16_t>(pick(0, 60))};
    if (pick(0, 4) == 0) s.Envelope.Release = 0;
    if (pick(0, 4) == 0) s.Envelope.Attack = 0;
    ExpectSameBytes(s, pick(0, 1) == 1);
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace quillora
