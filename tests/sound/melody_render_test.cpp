// The rendered melody against the player's own event stream: each tone the
// player starts must sound in the file at its frequency from its start to
// the next change, silence where the player stops, and the file must last
// the sum of the player's waits.
#include "sound/melody_render.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "base/sleeper.h"
#include "sound/midi_play_thread.h"
#include "sound/sound_output.h"
#include "sound/wav_image.h"

namespace quillora {
namespace {

// The player's events on a virtual clock: the reference the file is held to.
struct PlayerEvent {
  std::uint64_t atMilliseconds;
  std::int32_t frequency;  // 0: stop
};

class EventLog final : public PlayerObserver, public Sleeper {
 public:
  void GeneratorPlayed(std::int16_t frequency, std::int16_t) override {
    events.push_back({now, frequency});
  }
  void GeneratorStopped() override { events.push_back({now, 0}); }
  void SleepMilliseconds(std::int64_t milliseconds) override {
    if (milliseconds > 0) now += static_cast<std::uint64_t>(milliseconds);
  }
  std::vector<PlayerEvent> events;
  std::uint64_t now = 0;
};

class MuteOutput final : public SoundOutput {
 public:
  void Play(std::span<const std::uint8_t>, PlayMode) override {}
  void Stop() override {}
  bool HasSeparateChannelVolumes() const override { return true; }
  std::uint32_t Volume() const override { return 0xFFFFFFFF; }
  void SetVolume(std::uint32_t) override {}
};

EventLog PlayerEvents(const std::string& melody, std::int32_t tempo) {
  MuteOutput mute;
  EventLog log;
  MyMidiPlayThread player(true,
                          {.output = &mute, .sleeper = &log, .observer = &log});
  player.SetMelody(melody);
  player.SetTempo(tempo);
  player.Start();
  player.WaitFor();
  return log;
}

// Frequency of a stretch of 16-bit mono samples, from its rising zero
// crossings; 0 for silence.
double MeasuredFrequency(const WavFormat& wav, std::uint64_t firstFrame,
                         std::uint64_t endFrame) {
  const auto sample = [&](std::uint64_t frame) {
    const std::uint8_t* p = wav.samples.data() + frame * 2;
    return static_cast<std::int16_t>(p[0] | (p[1] << 8));
  };
  int rising = 0;
  std::uint64_t firstRise = 0, lastRise = 0;
  bool anySound = false;
  for (std::uint64_t f = firstFrame + 1; f < endFrame; ++f) {
    if (sample(f) != 0) anySound = true;
    if (sample(f - 1) < 0 && sample(f) >= 0) {
      if (rising++ == 0) firstRise = f;
      lastRise = f;
    }
  }
  if (!anySound) return 0;
  if (rising < 2) return -1;
  return (rising - 1) * double(wav.sampleRate) / double(lastRise - firstRise);
}

struct RenderCase {
  const char* name;
  std::string melody;
  std::int32_t tempo;
};

class MelodyRenderCases : public testing::TestWithParam<RenderCase> {};

TEST_P(MelodyRenderCases, SoundsThePlayersEventsForTheirLengths) {
  const EventLog reference = PlayerEvents(GetParam().melody, GetParam().tempo);
  std::ostringstream file;
  const MelodyRender render =
      RenderMelodyWav(GetParam().melody, GetParam().tempo, file);
  ASSERT_TRUE(render.ok()) << render.error;
  const std::string bytes = file.str();
  const auto wav = ReadWavFormat(std::span(
      reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  ASSERT_TRUE(wav.has_value());
  ASSERT_EQ(wav->channels, 1);
  ASSERT_EQ(wav->bitsPerSample, 16);
  EXPECT_EQ(render.lengthMilliseconds, reference.now);
  EXPECT_EQ(wav->FrameCount(), reference.now * wav->sampleRate / 1000);

  const auto frameAt = [&](std::uint64_t ms) {
    return ms * wav->sampleRate / 1000;
  };
  const std::vector<PlayerEvent>& events = reference.events;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const std::uint64_t end =
        i + 1 < events.size() ? events[i + 1].atMilliseconds : reference.now;
    if (end == events[i].atMilliseconds) continue;  // cut at once
    const double measured = MeasuredFrequency(
        *wav, frameAt(events[i].atMilliseconds), frameAt(end));
    if (events[i].frequency == 0) {
      EXPECT_EQ(measured, 0) << "event " << i << " should be silent";
    } else {
      EXPECT_NEAR(measured, events[i].frequency, events[i].frequency * 0.01)
          << "event " << i << " from " << events[i].atMilliseconds << " ms";
      // The tone lasts to the next change: its last 5 ms still sound.
      EXPECT_NE(MeasuredFrequency(*wav, frameAt(end - 5), frameAt(end)), 0)
          << "event " << i << " ends early";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Melodies, MelodyRenderCases,
    testing::Values(
        RenderCase{"notes_rest_and_octaves", "4c1 8e1 4- 8a2 16#f3 2g1", 120},
        // Same-pitch notes fuse into one tone; a rest between them splits it.
        RenderCase{"fused_and_split_tones", "4c1 4c1 4- 4c1 8a1 8a1", 100},
        // A faulty token silences the tone before it and takes no time.
        RenderCase{"faulty_token_cuts", "2c1 8cx 4d1", 90},
        RenderCase{"fast_tempo_short_notes", "32c1 32d1 32e1 32f1", 899}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MelodyRenderTest, AnEmptyMelodyIsAnEmptyWavFile) {
  std::ostringstream file;
  const MelodyRender render = RenderMelodyWav("", 120, file);
  ASSERT_TRUE(render.ok());
  EXPECT_EQ(render.lengthMilliseconds, 0u);
  EXPECT_EQ(file.str().size(), 44u);
}

TEST(MelodyRenderTest, RefusesAMelodyTooLongForOneFile) {
  std::string melody;
  // One pitch throughout: a single tone, looped, so the test stays quick.
  for (int i = 0; i < 420; ++i) melody += "1c1 ";
  std::ostringstream file;
  // Whole notes at tempo 4 last 55.5 s each: 420 of them pass 4 GB.
  const MelodyRender render = RenderMelodyWav(melody, 4, file);
  EXPECT_FALSE(render.ok());
  EXPECT_EQ(file.str().size(), 0u);
}

}  // namespace
}  // namespace quillora
