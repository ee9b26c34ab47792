// MyMidiPlayThread: plays a melody on a worker thread of its own.
//
// Data flow: the window creates a player (suspended), which creates its own
// tone generator with a looping triangle voice; hands it the melody text
// (normalised at once) and the tempo; and starts it, usually freeing itself
// at the end. Execute walks the tokens; for each, PlayToken reads pitch and
// length (player_token.h), starts a new tone only when the pitch changes,
// silences rests, and waits for the token's length. At the end, or after
// the token in progress once a stop is requested, the player stops the
// sound, destroys its generator and marks its shared PlayerControl
// finished.
//
// The only state that a running player shares is its PlayerControl; the
// melody, tempo and environment are handed over before Start.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/sleeper.h"
#include "base/thread.h"
#include "sound/player_control.h"
#include "sound/sound_output.h"
#include "sound/tone_gen.h"

namespace quillora {

// Told of each Play and Stop of the player's generator, on the player's
// thread; Play comes with the generator's Frequency and Duration then.
class PlayerObserver {
 public:
  virtual ~PlayerObserver() = default;
  virtual void GeneratorPlayed(std::int16_t frequency,
                               std::int16_t duration) = 0;
  virtual void GeneratorStopped() = 0;
};

// Where a player sounds and how it waits. Each must outlive the player.
struct PlayerEnvironment {
  // The generator's output; null: the process's sound output.
  SoundOutput* output = nullptr;
  // Null: real time, cut short by StopAllPlayers.
  Sleeper* sleeper = nullptr;
  PlayerObserver* observer = nullptr;
};

class MyMidiPlayThread final : public TThread {
 public:
  // Creates the player and its generator on the calling thread. When
  // `createSuspended` is false the thread starts at once, at normal
  // priority, and does not free itself.
  explicit MyMidiPlayThread(bool createSuspended,
                            PlayerEnvironment environment = {});
  // Waits for the thread of a player that does not free itself.
  ~MyMidiPlayThread() override;

  // Call before Start.
  void SetMelody(std::string_view text);  // keeps the normalised text
  void SetTempo(std::int32_t value);      // 4..899; any other value: 120

  void RequestStop() { Control->RequestStop(); }
  // Requests a stop, as RequestStop does.
  void Terminate() override;

  // The state shared with the window; valid after the player is gone.
  std::shared_ptr<PlayerControl> SharedControl() const { return Control; }

  // Ends every running self-freeing player at once (their current waits cut
  // short) and waits for their threads: for the end of the program.
  static void StopAllPlayers();

 protected:
  void Execute() override;

 private:
  void PlayToken(std::string_view token);
  void GeneratorPlay();
  void GeneratorStop();

  std::unique_ptr<TToneGen> Generator;
  std::shared_ptr<PlayerControl> Control;
  std::int32_t Tempo = 120;
  std::string MelodyText;
  PlayerEnvironment environment_;
};

}  // namespace quillora
