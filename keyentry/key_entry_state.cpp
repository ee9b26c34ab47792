#include "keyentry/key_entry_state.h"

namespace quillora {

KeyEntryState KeyEntryStateOf(std::string_view keyString, bool timerEnabled) {
  if (keyString.empty()) {
    return timerEnabled ? KeyEntryState::kEnding : KeyEntryState::kIdle;
  }
  return timerEnabled ? KeyEntryState::kRunning : KeyEntryState::kPaused;
}

std::string_view KeyEntryStateName(KeyEntryState state) {
  switch (state) {
    case KeyEntryState::kIdle:
      return "Idle";
    case KeyEntryState::kRunning:
      return "Running";
    case KeyEntryState::kPaused:
      return "Paused";
    case KeyEntryState::kEnding:
      return "Ending";
  }
  return "?";
}

}  // namespace quillora
