#include "sound/midi_play_thread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "base/melody_text.h"
#include "sound/player_token.h"

namespace quillora {
namespace {

// The players' real-time waits. While the program closes they end at once,
// so that closing never waits out a long note.
class PlayerWaits final : public Sleeper {
 public:
  void SleepMilliseconds(std::int64_t milliseconds) override {
    if (milliseconds <= 0) return;
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                   [&] { return closing_ > 0; });
  }

  void BeginClosing() {
    std::lock_guard lock(mutex_);
    ++closing_;
    wake_.notify_all();
  }

  void EndClosing() {
    std::lock_guard lock(mutex_);
    --closing_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  int closing_ = 0;
};

// Never destroyed: a player may still wait while the process exits.
PlayerWaits& ProcessPlayerWaits() {
  static auto* waits = new PlayerWaits;
  return *waits;
}

}  // namespace

MyMidiPlayThread::MyMidiPlayThread(bool createSuspended,
                                   PlayerEnvironment environment)
    : Control(std::make_shared<PlayerControl>()), environment_(environment) {
  Generator = environment_.output
                  ? std::make_unique<TToneGen>(nullptr, *environment_.output)
                  : std::make_unique<TToneGen>(nullptr);
  // The voice: the window's key-beep triangle, looping.
  Generator->SetAMAmplitude(0);
  Generator->SetAMFrequency(0.5f);
  Generator->SetAMLevel(tgAMLevel1);
  Generator->SetAMMultiplier(true);
  Generator->SetAMWaveform(tgSine);
  Generator->SetAsync(true);
  Generator->SetAttack(10);
  Generator->SetDecay(60);
  Generator->SetHold(5);
  Generator->SetLeftVolume(100);
  Generator->SetRightVolume(100);
  Generator->SetLoop(true);
  Generator->SetQuality(tgHiQ);
  Generator->SetRelease(30);
  Generator->SetResolution(tg16Bit);
  Generator->SetStereo(false);
  Generator->SetSustain(50);
  Generator->SetWaveform(tgTriangle);
  if (!createSuspended) Start();
}

MyMidiPlayThread::~MyMidiPlayThread() { WaitFor(); }

void MyMidiPlayThread::SetMelody(std::string_view text) {
  MelodyText = NormaliseMelody(text);
}

void MyMidiPlayThread::SetTempo(std::int32_t value) {
  Tempo = PlayerTempo(value);
}

void MyMidiPlayThread::Terminate() {
  RequestStop();
  TThread::Terminate();
}

void MyMidiPlayThread::StopAllPlayers() {
  // Stop requests first, so that no player wakes to play another note.
  TThread::TerminateAll();
  ProcessPlayerWaits().BeginClosing();
  TThread::WaitForAll();
  ProcessPlayerWaits().EndClosing();
}

void MyMidiPlayThread::Execute() {
  try {
    TokenSplitter tokens(MelodyText);
    std::string_view token;
    while (tokens.Next(token)) {
      if (token.size() >= 2) PlayToken(token);
      if (Control->StopRequested()) break;
    }
  } catch (...) {
    // Out of memory mid-melody: the player ends as at a stop request.
  }
  GeneratorStop();
  Generator.reset();
  Control->MarkFinished();
}

// A new tone starts only when the pitch changes, so notes of one pitch in a
// row fuse into one tone; a rest's frequency 0 is stored as 20 Hz, so every
// rest plays and stops at once and the note after it starts afresh.
void MyMidiPlayThread::PlayToken(std::string_view token) {
  const PlayerToken note = ReadPlayerToken(token, Tempo);
  if (note.kind == PlayerTokenKind::kFaulty) {
    GeneratorStop();
    return;
  }
  if (static_cast<float>(Generator->Duration()) != note.length ||
      Generator->Frequency() != note.frequency) {
    Generator->SetDuration(note.waitMilliseconds);
    if (Generator->Frequency() != note.frequency) {
      Generator->SetFrequency(note.frequency);
      GeneratorPlay();
    }
    if (note.kind == PlayerTokenKind::kRest) GeneratorStop();
  }
  Sleeper& sleeper =
      environment_.sleeper ? *environment_.sleeper : ProcessPlayerWaits();
  sleeper.SleepMilliseconds(note.waitMilliseconds);
}

void MyMidiPlayThread::GeneratorPlay() {
  Generator->Play();
  if (environment_.observer) {
    environment_.observer->GeneratorPlayed(Generator->Frequency(),
                                           Generator->Duration());
  }
}

void MyMidiPlayThread::GeneratorStop() {
  Generator->Stop();
  if (environment_.observer) environment_.observer->GeneratorStopped();
}

}  // namespace quillora
