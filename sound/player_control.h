// What a melody player shares with the window that started it: the stop
// request, and whether the player has finished. Held by shared pointer on
// both sides, so it outlives the player, which frees itself: the window may
// ask it at any time without reaching a player that is gone. Thread-safe; no
// lock is taken.
#pragma once

#include <atomic>

namespace quillora {

class PlayerControl {
 public:
  // Asks the player to end after the token in progress.
  void RequestStop() { stopRequested_ = true; }
  bool StopRequested() const { return stopRequested_.load(); }

  // Set by the player once its sound is stopped and its generator gone.
  void MarkFinished() { finished_ = true; }
  bool Finished() const { return finished_.load(); }

 private:
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> finished_{false};
};

}  // namespace quillora
