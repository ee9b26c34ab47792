// The melody player on its own thread, with a fake clock: the exact steps it
// takes, stop requests, several players and key beeps on one output, and
// the end of the program while players run.
#include "sound/midi_play_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sound/wav_image.h"
#include "tests/support/wait_until.h"

namespace quillora {
namespace {

using Events = std::vector<std::string>;

// What a player does, in order, as the dry run prints it.
class StepLog final : public PlayerObserver, public Sleeper {
 public:
  void GeneratorPlayed(std::int16_t frequency, std::int16_t duration) override {
    Add("play " + std::to_string(frequency) + " " + std::to_string(duration));
  }
  void GeneratorStopped() override { Add("stop"); }
  void SleepMilliseconds(std::int64_t milliseconds) override {
    Add("sleep " + std::to_string(milliseconds));
    ++sleeps_;
    if (onSleep) onSleep(sleeps_);
  }

  Events Steps() const {
    std::lock_guard lock(mutex_);
    return steps_;
  }

  // Runs on the player's thread at each wait, with the count of waits so far.
  std::function<void(int)> onSleep;

 private:
  void Add(std::string step) {
    std::lock_guard lock(mutex_);
    steps_.push_back(std::move(step));
  }

  mutable std::mutex mutex_;
  Events steps_;
  int sleeps_ = 0;
};

// A sound output that keeps the length of each image played, in order, and
// counts the stops. Thread-safe; plays nothing and waits for nothing.
class LengthsOutput final : public SoundOutput {
 public:
  void Play(std::span<const std::uint8_t> image, PlayMode) override {
    const auto format = ReadWavFormat(image);
    std::lock_guard lock(mutex_);
    lengths_.push_back(format ? static_cast<int>(format->DurationMs()) : -1);
  }
  void Stop() override {
    std::lock_guard lock(mutex_);
    ++stops_;
  }
  bool HasSeparateChannelVolumes() const override { return true; }
  std::uint32_t Volume() const override { return 0xFFFFFFFF; }
  void SetVolume(std::uint32_t) override {}

  std::vector<int> Lengths() const {
    std::lock_guard lock(mutex_);
    return lengths_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<int> lengths_;
  int stops_ = 0;
};

using testing_support::WaitUntil;

class PlayerTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(TToneGen::InstanceCount(), 0); }
  void TearDown() override {
    MyMidiPlayThread::StopAllPlayers();
    EXPECT_EQ(TThread::RunningSelfFreeingThreads(), 0);
    EXPECT_EQ(TToneGen::InstanceCount(), 0);
  }

  // Plays `melody` to its end on a player that does not free itself.
  void Play(std::string_view melody, std::int32_t tempo, StepLog& log) {
    MyMidiPlayThread player(true, {&output_, &log, &log});
    player.SetMelody(melody);
    player.SetTempo(tempo);
    player.Start();
    player.WaitFor();
  }

  LengthsOutput output_;
};

struct MelodyCase {
  const char* name;
  std::string_view melody;
  std::int32_t tempo;
  Events steps;
};

void PrintTo(const MelodyCase& c, std::ostream* out) { *out << c.name; }

class PlayerStepsTest : public PlayerTest,
                        public testing::WithParamInterface<MelodyCase> {};

TEST_P(PlayerStepsTest, PlaysStopsAndWaitsInOrder) {
  StepLog log;
  Play(GetParam().melody, GetParam().tempo, log);
  EXPECT_EQ(log.Steps(), GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(
    Melodies, PlayerStepsTest,
    testing::Values(
        // A rest sets frequency 0, stored as 20 Hz: it plays and stops at
        // once, and the note after it starts afresh; the last stop is the
        // end of the melody.
        MelodyCase{"repeat_rest_repeat",
                   "4c1 4c1 4- 4c1",
                   120,
                   {"play 523 462", "sleep 462", "sleep 462", "play 20 462",
                    "stop", "sleep 462", "play 523 462", "sleep 462", "stop"}},
        MelodyCase{
            "pitch_change_starts_a_tone",
            "4c1,4d1",
            120,
            {"play 523 462", "sleep 462", "play 587 462", "sleep 462", "stop"}},
        // A faulty token cuts the tone and takes no time; the same pitch
        // after it does not start it again.
        MelodyCase{
            "faulty_tokens_silence",
            "4c1 0c2 99999999999c2 4c1",
            120,
            {"play 523 462", "sleep 462", "stop", "stop", "sleep 462", "stop"}},
        MelodyCase{"unknown_name_is_a_rest",
                   "4c1 16 4c1",
                   120,
                   {"play 523 462", "sleep 462", "play 20 115", "stop",
                    "sleep 115", "play 523 462", "sleep 462", "stop"}},
        MelodyCase{"short_tokens_skipped",
                   " c  -  4c1 ",
                   120,
                   {"play 523 462", "sleep 462", "stop"}},
        MelodyCase{"empty_melody", "", 120, {"stop"}},
        MelodyCase{"line_break_joins_tokens",
                   "8c2\r\n8d2",
                   120,
                   {"play 1046 231", "sleep 231", "stop"}},
        MelodyCase{"dots_are_sharps",
                   "8.c2 8c.2",
                   120,
                   {"play 1108 231", "sleep 231", "sleep 231", "stop"}},
        MelodyCase{"tempo_0_plays_at_120",
                   "4c1",
                   0,
                   {"play 523 462", "sleep 462", "stop"}},
        MelodyCase{"tempo_3_plays_at_120",
                   "4c1",
                   3,
                   {"play 523 462", "sleep 462", "stop"}},
        // The generator keeps at least 10 ms; the wait is the token's own.
        MelodyCase{"shortest_wait",
                   "32c1 32c1",
                   899,
                   {"play 523 10", "sleep 7", "sleep 7", "stop"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerTest, StopEndsThePlayAfterTheNoteInProgress) {
  StepLog log;
  MyMidiPlayThread player(true, {&output_, &log, &log});
  player.SetMelody("4c1 4d1 4e1");
  log.onSleep = [&](int) { player.RequestStop(); };
  player.Start();
  player.WaitFor();
  EXPECT_EQ(log.Steps(), (Events{"play 523 462", "sleep 462", "stop"}));
  EXPECT_TRUE(player.SharedControl()->Finished());
}

TEST_F(PlayerTest, KeyBeepCutsTheNoteUntilThePitchChanges) {
  StepLog log;
  TToneGen beep(nullptr, output_);
  beep.SetFrequency(1000);
  beep.SetDuration(200);
  MyMidiPlayThread player(true, {&output_, &log, &log});
  player.SetMelody("4c1 4c1 4d1");
  log.onSleep = [&](int sleeps) {
    if (sleeps == 1) beep.Play();
  };
  player.Start();
  player.WaitFor();
  // The repeated C does not sound again after the beep; D starts a tone.
  EXPECT_EQ(log.Steps(), (Events{"play 523 462", "sleep 462", "sleep 462",
                                 "play 587 462", "sleep 462", "stop"}));
  EXPECT_EQ(output_.Lengths(), (std::vector<int>{462, 200, 462}));
}

TEST_F(PlayerTest, TwoPlayersAtOnceEachPlayTheirOwnMelody) {
  StepLog first, second;
  MyMidiPlayThread one(true, {&output_, &first, &first});
  MyMidiPlayThread two(true, {&output_, &second, &second});
  one.SetMelody("8c1 8d1 8e1");
  two.SetMelody("4g2 4a2");
  one.Start();
  two.Start();
  one.WaitFor();
  two.WaitFor();
  EXPECT_EQ(first.Steps(),
            (Events{"play 523 231", "sleep 231", "play 587 231", "sleep 231",
                    "play 659 231", "sleep 231", "stop"}));
  EXPECT_EQ(second.Steps(), (Events{"play 1567 462", "sleep 462",
                                    "play 1760 462", "sleep 462", "stop"}));
  EXPECT_EQ(output_.Lengths().size(), 5u);
}

TEST_F(PlayerTest, SelfFreeingPlayerLeavesItsSharedStateBehind) {
  StepLog log;
  auto player = std::make_unique<MyMidiPlayThread>(
      true, PlayerEnvironment{&output_, &log, &log});
  const std::shared_ptr<PlayerControl> control = player->SharedControl();
  player->SetMelody("8c1 8d1");
  player->SetFreeOnTerminate(true);
  player->SetPriority(ThreadPriority::kTimeCritical);
  player->Start();
  player.release();
  ASSERT_TRUE(WaitUntil([&] { return control->Finished(); }));
  // Stop after the end reaches only the shared state.
  control->RequestStop();
  MyMidiPlayThread::StopAllPlayers();
  EXPECT_EQ(TThread::RunningSelfFreeingThreads(), 0);
  EXPECT_EQ(log.Steps().back(), "stop");
}

TEST_F(PlayerTest, PlayerNeverStartedIsReleasedSilently) {
  {
    MyMidiPlayThread player(true, {.output = &output_});
    player.SetMelody("4c1");
    EXPECT_EQ(TToneGen::InstanceCount(), 1);
  }
  EXPECT_EQ(TToneGen::InstanceCount(), 0);
  EXPECT_TRUE(output_.Lengths().empty());
}

// Closing the program cuts even a long note short and leaves no thread.
TEST_F(PlayerTest, StopAllPlayersEndsLongNotesAtOnce) {
  std::vector<std::shared_ptr<PlayerControl>> controls;
  for (std::string_view melody : {"1c1 1d1", "1e1 1f1"}) {
    auto player =
        std::make_unique<MyMidiPlayThread>(true, PlayerEnvironment{&output_});
    controls.push_back(player->SharedControl());
    player->SetMelody(melody);
    player->SetTempo(30);  // whole notes of 7.4 s
    player->SetFreeOnTerminate(true);
    player->Start();
    player.release();
  }
  ASSERT_TRUE(WaitUntil([&] { return output_.Lengths().size() == 2; }));
  const auto start = std::chrono::steady_clock::now();
  MyMidiPlayThread::StopAllPlayers();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(TThread::RunningSelfFreeingThreads(), 0);
  for (const auto& control : controls) EXPECT_TRUE(control->Finished());
  EXPECT_EQ(output_.Lengths().size(), 2u);  // no second note
}

// For the thread sanitizer: several players in real time, generators made
// here and destroyed on the players' threads, stop requests and beeps from
// this thread, all on one output.
TEST_F(PlayerTest, PlayersBeepsAndStopsFromSeveralThreads) {
  TToneGen beep(nullptr, output_);
  beep.SetDuration(10);
  std::vector<std::shared_ptr<PlayerControl>> controls;
  for (int i = 0; i < 4; ++i) {
    auto player =
        std::make_unique<MyMidiPlayThread>(true, PlayerEnvironment{&output_});
    controls.push_back(player->SharedControl());
    std::string melody;
    for (int note = 0; note < 12; ++note) {
      melody += "32" + std::string(1, "cdefgab"[(note + i) % 7]) + "2 ";
    }
    player->SetMelody(melody);
    player->SetTempo(899);
    player->SetFreeOnTerminate(true);
    player->SetPriority(ThreadPriority::kTimeCritical);
    player->Start();
    player.release();
  }
  for (int i = 0; i < 20; ++i) {
    beep.SetFrequency(1000 + 100 * i);
    beep.Play();
    if (i == 3) controls[0]->RequestStop();
    if (i == 6) controls[1]->RequestStop();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_TRUE(WaitUntil([&] {
    for (const auto& control : controls) {
      if (!control->Finished()) return false;
    }
    return true;
  }));
  MyMidiPlayThread::StopAllPlayers();
  EXPECT_EQ(TThread::RunningSelfFreeingThreads(), 0);
  EXPECT_EQ(TToneGen::InstanceCount(), 1);
}

}  // namespace
}  // namespace quillora
