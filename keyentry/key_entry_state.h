// The four states of the key entry, read from KeyString and the key timer.
#pragma once

#include <string_view>

namespace quillora {

enum class KeyEntryState {
  kIdle,     // no keys left, timer off
  kRunning,  // keys left, timer on
  kPaused,   // keys left, timer off
  kEnding,   // no keys left, timer on: the next tick ends the entry
};

KeyEntryState KeyEntryStateOf(std::string_view keyString, bool timerEnabled);

// The entry is paused while keys are left and the timer is off.
inline bool IsKeyEntryPaused(std::string_view keyString, bool timerEnabled) {
  return KeyEntryStateOf(keyString, timerEnabled) == KeyEntryState::kPaused;
}

// "Idle", "Running", "Paused" or "Ending", for messages.
std::string_view KeyEntryStateName(KeyEntryState state);

}  // namespace quillora
