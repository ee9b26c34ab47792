// A model of the phone's built-in composer, for tests only.
//
// It replays a key list as the phone would take the presses and gives back
// the notes that end up in the phone's melody. Tests compare them with the
// notes that were typed, which proves that the generated presses really
// enter the melody.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillora::testing_support {

struct ComposedNote {
  std::int32_t duration = 4;  // 1, 2, 4, ... 32
  bool pause = false;
  std::int32_t semitone = 0;  // 0..11, notes only
  std::int32_t octave = 1;    // 1..3, notes only

  friend bool operator==(const ComposedNote&, const ComposedNote&) = default;
};

// Replays the key characters of `keyList` (separators ", " and blanks are
// skipped, as the key-entry animation skips them). Returns std::nullopt when
// the presses are not something the phone accepts: "ERROR", a "#" not right
// after a note key or on a note that has no sharp (E, B), a length key
// beyond 1 or 32, an octave key on a pause, or any other character.
std::optional<std::vector<ComposedNote>> ReplayKeys(std::string_view keyList);

}  // namespace quillora::testing_support
