#include "sound/envelope.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

namespace quillora {
namespace {

std::int16_t Get16(const std::vector<std::uint8_t>& samples, std::size_t frame,
                   std::size_t channel = 0, std::size_t channels = 1) {
  std::int16_t value;
  std::memcpy(&value, samples.data() + 2 * (frame * channels + channel), 2);
  return value;
}
void Set16(std::vector<std::uint8_t>& samples, std::size_t frame,
           std::int16_t value) {
  std::memcpy(samples.data() + 2 * frame, &value, 2);
}

enum class Kind { kAttack, kHold, kDecay, kSustain, kRelease };

struct PhaseRange {
  Kind kind;
  std::int64_t first;
  std::int64_t last;
};

// Each frame's value from its phase, frame index k and count n, and the
// original sample x.
std::int64_t Expected(Kind kind, std::int64_t k, std::int64_t n, std::int64_t x,
                      int sustain) {
  switch (kind) {
    case Kind::kAttack:
      return static_cast<std::int64_t>(k * x * (1.0 / n));
    case Kind::kHold:
      return x;
    case Kind::kDecay:
      return x - static_cast<std::int64_t>(k * x *
                                           ((100 - sustain) / double(n) / 100));
    case Kind::kSustain:
      return static_cast<std::int64_t>(x * (sustain / 100.0));
    case Kind::kRelease:
      return static_cast<std::int64_t>((n - k) * x *
                                       (sustain / 100.0 / double(n)));
  }
  return 0;
}

struct PhaseTableCase {
  const char* name;
  EnvelopeSettings envelope;
  std::vector<PhaseRange> phases;
  // Test output names the row, not its bytes.
  friend void PrintTo(const PhaseTableCase& c, std::ostream* os) {
    *os << c.name;
  }
};

// 100 ms at 96000 frames per second, 16-bit mono: 19200 bytes, frames 0 to
// F = 9600, the last of them in the spare bytes. Every frame holds its own
// value, so a phase that starts or ends one frame off changes some value.
class EnvelopePhaseTest : public testing::TestWithParam<PhaseTableCase> {
 protected:
  static constexpr std::uint32_t kDataSize = 19200;
  static constexpr std::size_t kLastFrame = 9600;

  EnvelopePhaseTest() : samples_(kDataSize + 32) {
    for (std::size_t frame = 0; frame <= kLastFrame + 1; ++frame) {
      Set16(samples_, frame, Original(frame));
    }
  }
  static std::int16_t Original(std::size_t frame) {
    return static_cast<std::int16_t>(frame % 2 ? 20000 + frame % 7 * 1000
                                               : -21000 - frame % 5 * 1000);
  }
  std::vector<std::uint8_t> samples_;
};

TEST_P(EnvelopePhaseTest, EveryFrameFollowsItsPhase) {
  const PhaseTableCase& c = GetParam();
  ADSRWaveform(samples_, kDataSize, false, tg16Bit, c.envelope);

  std::int64_t expectedFirst = 0;
  for (const PhaseRange& phase : c.phases) {
    ASSERT_EQ(phase.first, expectedFirst) << "phases leave a gap";
    const std::int64_t n = phase.last - phase.first;
    for (std::int64_t frame = phase.first; frame <= phase.last; ++frame) {
      ASSERT_EQ(Get16(samples_, frame),
                Expected(phase.kind, frame - phase.first, n, Original(frame),
                         c.envelope.Sustain))
          << "frame " << frame;
    }
    expectedFirst = phase.last + 1;
  }
  EXPECT_EQ(expectedFirst, kLastFrame + 1) << "the last phase ends at F";
  EXPECT_EQ(Get16(samples_, kLastFrame + 1), Original(kLastFrame + 1))
      << "nothing is written after frame F";
}

INSTANTIATE_TEST_SUITE_P(
    Envelopes, EnvelopePhaseTest,
    testing::Values(
        PhaseTableCase{"initial_values",
                       {.Attack = 10,
                        .Hold = 5,
                        .Decay = 20,
                        .Sustain = 50,
                        .Release = 30},
                       {{Kind::kAttack, 0, 960},
                        {Kind::kHold, 961, 1441},
                        {Kind::kDecay, 1442, 3362},
                        {Kind::kSustain, 3363, 6723},
                        {Kind::kRelease, 6724, 9600}}},
        // 105 in total scales to 9, 4, 57 and 30: no sustain phase.
        PhaseTableCase{"melody_player_values",
                       {.Attack = 10,
                        .Hold = 5,
                        .Decay = 60,
                        .Sustain = 50,
                        .Release = 30},
                       {{Kind::kAttack, 0, 864},
                        {Kind::kHold, 865, 1249},
                        {Kind::kDecay, 1250, 6722},
                        {Kind::kRelease, 6723, 9600}}},
        PhaseTableCase{
            "no_attack_starts_with_hold",
            {.Attack = 0, .Hold = 5, .Decay = 20, .Sustain = 70, .Release = 30},
            {{Kind::kHold, 0, 480},
             {Kind::kDecay, 481, 2401},
             {Kind::kSustain, 2402, 6722},
             {Kind::kRelease, 6723, 9600}}},
        // Without a release the sustain runs to frame F.
        PhaseTableCase{
            "no_release_sustains_to_the_end",
            {.Attack = 25, .Hold = 0, .Decay = 25, .Sustain = 40, .Release = 0},
            {{Kind::kAttack, 0, 2400},
             {Kind::kDecay, 2401, 4801},
             {Kind::kSustain, 4802, 9600}}},
        PhaseTableCase{
            "all_release",
            {.Attack = 0, .Hold = 0, .Decay = 0, .Sustain = 80, .Release = 100},
            {{Kind::kRelease, 0, 9600}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A sustain-only envelope, y = trunc(x * 0.5), on two frames and the frame
// F = 2 in the spare bytes: y goes to every channel of the frame, 8-bit
// samples are offset by 128, and halves round toward zero.
struct LayoutCase {
  const char* name;
  TTGResolution resolution;
  bool stereo;
  std::vector<std::uint8_t> before;  // data, then the spare frame
  std::vector<std::uint8_t> after;
};

std::vector<std::uint8_t> Bytes16(std::initializer_list<std::int16_t> values) {
  std::vector<std::uint8_t> bytes(2 * values.size());
  std::memcpy(bytes.data(), values.begin(), bytes.size());
  return bytes;
}

TEST(EnvelopeLayoutTest, WritesEachFramesValueToAllItsSamples) {
  const LayoutCase cases[] = {
      {"16bit_mono", tg16Bit, false, Bytes16({-101, 101, 9}),
       Bytes16({-50, 50, 4})},
      {"16bit_stereo", tg16Bit, true, Bytes16({-101, 7, 32767, -32768, 9, 9}),
       Bytes16({-50, -50, 16383, 16383, 4, 4})},
      {"8bit_mono", tg8Bit, false, {27, 229, 255}, {78, 178, 191}},
      {"8bit_stereo",
       tg8Bit,
       true,
       {27, 200, 0, 0, 128, 128},
       {78, 78, 64, 64, 128, 128}},
  };
  const EnvelopeSettings sustainOnly{
      .Attack = 0, .Hold = 0, .Decay = 0, .Sustain = 50, .Release = 0};
  for (const LayoutCase& c : cases) {
    std::vector<std::uint8_t> samples = c.before;
    const auto dataSize =
        static_cast<std::uint32_t>(samples.size() * 2 / 3);  // two of 3 frames
    samples.resize(samples.size() + 32, 0x5A);
    ADSRWaveform(samples, dataSize, c.stereo, c.resolution, sustainOnly);
    samples.resize(c.after.size());
    EXPECT_EQ(samples, c.after) << c.name;
  }
}

TEST(EnvelopeLayoutTest, LeavesOutFramesBeyondTheSamplesGiven) {
  // Four frames of data and no spare bytes: frame F = 4 lies outside.
  std::vector<std::uint8_t> buffer = Bytes16({1000, 1000, 1000, 1000});
  buffer.resize(buffer.size() + 4, 0x5A);
  ADSRWaveform(std::span(buffer).first(8), 8, false, tg16Bit,
               EnvelopeSettings{});
  EXPECT_EQ(Get16(buffer, 0), 500);  // the sustain phase, frames 0 and 1
  for (std::size_t at = 8; at < buffer.size(); ++at) {
    EXPECT_EQ(buffer[at], 0x5A) << "byte " << at;
  }
}

TEST(EnvelopeLayoutTest, ClampsSharesAndLevelToPercentages) {
  std::vector<std::uint8_t> clamped = Bytes16({800, 800, 800, 800, 800});
  clamped.resize(clamped.size() + 32);
  std::vector<std::uint8_t> plain = clamped;
  ADSRWaveform(
      clamped, 8, false, tg16Bit,
      {.Attack = -5, .Hold = 0, .Decay = 300, .Sustain = 150, .Release = -1});
  ADSRWaveform(
      plain, 8, false, tg16Bit,
      {.Attack = 0, .Hold = 0, .Decay = 100, .Sustain = 100, .Release = 0});
  EXPECT_EQ(clamped, plain);
}

}  // namespace
}  // namespace quillora
