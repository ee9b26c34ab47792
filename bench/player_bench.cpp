// The melody player's timing on SDL's dummy output, through its real thread.
//
// A melody's timing is its waits, so starting each note must cost next to
// nothing. For each note this measures the time from the end of the wait
// before it to the return of the Play that starts its tone (synthesis and
// hand-over to the output), and at the end how far the melody ran behind
// the sum of its waits.
//
//   Melody/tempo_200: 200 notes, each a new pitch, lengths 1 to 32, waiting
//     in real time.
//   NoteLength/<d>: notes of length 1/d at tempo 30, up to a whole note of
//     7.9 s, with short waits, since only the start of each note is timed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "sound/midi_play_thread.h"
#include "sound/sdl_sound_output.h"

namespace {

using Clock = std::chrono::steady_clock;
using quillora::MyMidiPlayThread;

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// Times each note's start: from the end of the previous wait (or the
// player's start) to the return of its Play.
class NoteTimer final : public quillora::PlayerObserver,
                        public quillora::Sleeper {
 public:
  // `waitFor` replaces each wait's length when positive.
  explicit NoteTimer(std::int64_t waitFor = 0) : waitFor_(waitFor) {}

  void Begin() { lastWaitEnd_ = begin_ = Clock::now(); }

  void GeneratorPlayed(std::int16_t, std::int16_t) override {
    starts_.push_back(Milliseconds(Clock::now() - lastWaitEnd_));
  }
  void GeneratorStopped() override {}
  void SleepMilliseconds(std::int64_t milliseconds) override {
    const std::int64_t wait = waitFor_ > 0 ? waitFor_ : milliseconds;
    waited_ += wait;
    std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    lastWaitEnd_ = Clock::now();
  }

  const std::vector<double>& Starts() const { return starts_; }
  // How far the melody ran behind its waits, in milliseconds.
  double Lag() const {
    return Milliseconds(lastWaitEnd_ - begin_) - static_cast<double>(waited_);
  }

 private:
  std::int64_t waitFor_;
  Clock::time_point begin_, lastWaitEnd_;
  std::int64_t waited_ = 0;
  std::vector<double> starts_;
};

quillora::SdlSoundOutput& DummyOutput() {
  static std::unique_ptr<quillora::SdlSoundOutput> output = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return quillora::SdlSoundOutput::Open();
  }();
  return *output;
}

// Whether the last player ran at real-time priority.
bool ranRealTime = false;

void PlayThrough(const std::string& melody, std::int32_t tempo,
                 NoteTimer& timer) {
  MyMidiPlayThread player(true, {&DummyOutput(), &timer, &timer});
  player.SetMelody(melody);
  player.SetTempo(tempo);
  player.SetPriority(quillora::ThreadPriority::kTimeCritical);
  timer.Begin();
  player.Start();
  player.WaitFor();
  ranRealTime = player.RunsAtRequestedPriority();
}

// Each note a new pitch: steps through the 36 notes of octaves 1 to 3.
std::string Pitch(int i) {
  static const char* const kNames[] = {"c",  "#c", "d",  "#d", "e",  "f",
                                       "#f", "g",  "#g", "a",  "#a", "b"};
  const int note = (i * 5) % 36;
  return std::string(kNames[note % 12]) + std::to_string(1 + note / 12);
}

// The first note is reported apart: no wait comes before it, so its time
// counts from the player's start and takes in the thread's creation.
void Report(benchmark::State& state, const NoteTimer& timer) {
  state.counters["first_ms"] = timer.Starts().front();
  const std::vector<double> starts(timer.Starts().begin() + 1,
                                   timer.Starts().end());
  state.counters["notes"] = static_cast<double>(timer.Starts().size());
  state.counters["mean_ms"] =
      std::accumulate(starts.begin(), starts.end(), 0.0) /
      static_cast<double>(starts.size());
  state.counters["max_ms"] = *std::max_element(starts.begin(), starts.end());
  std::vector<double> sorted = starts;
  std::sort(sorted.begin(), sorted.end());
  state.counters["p95_ms"] = sorted[sorted.size() * 95 / 100];
  state.counters["lag_ms"] = timer.Lag();
  state.counters["realtime"] = ranRealTime ? 1 : 0;
}

void Melody(benchmark::State& state) {
  std::string melody;
  for (int i = 0; i < 200; ++i) {
    melody += std::to_string(1 + (i * 7) % 32) + Pitch(i) + " ";
  }
  for (auto _ : state) {
    NoteTimer timer;
    PlayThrough(melody, 200, timer);
    Report(state, timer);
  }
}
BENCHMARK(Melody)
    ->Name("Melody/tempo_200")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void NoteLength(benchmark::State& state) {
  std::string melody;
  for (int i = 0; i < 12; ++i) {
    melody += std::to_string(state.range(0)) + Pitch(i) + " ";
  }
  for (auto _ : state) {
    NoteTimer timer(20);
    PlayThrough(melody, 30, timer);
    Report(state, timer);
  }
}
BENCHMARK(NoteLength)
    ->Arg(32)
    ->Arg(8)
    ->Arg(4)
    ->Arg(2)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
