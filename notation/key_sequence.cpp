#include "notation/key_sequence.h"

#include <algorithm>
#include <limits>

#include "base/text_ops.h"

namespace quillora {

namespace {

// Note key of a semitone: the white key of its letter, "#" for a sharp.
std::string_view NoteKey(std::int32_t semitone) {
  static constexpr std::string_view kKeys[12] = {
      "1", "1#", "2", "2#", "3", "4", "4#", "5", "5#", "6", "6#", "7"};
  if (semitone < 0 || semitone > 11) return "ERROR";
  return kKeys[semitone];
}

// The composer's state while the key list is built.
struct ComposerState {
  std::int32_t duration = 4;
  std::int32_t octave = 1;
};

// Appends the presses of one entry to `keys`, updating `state`.
void AppendEntryKeys(const NoteEntry& entry, ComposerState& state,
                     std::string& keys) {
  const bool isPause = entry.Octave < 1;
  const std::string_view noteKey = isPause ? " 0" : NoteKey(entry.Semitone);
  if (noteKey == "ERROR") {
    keys.append("ERROR, ");
    return;
  }
  std::string item(noteKey);

  if (entry.Duration != state.duration) {
    if (!IsComposerLength(entry.Duration)) {
      keys.append(" ERROR,");
      return;
    }
    const std::int32_t lengthBefore = state.duration;
    while (state.duration != entry.Duration) {
      if (entry.Duration > state.duration) {
        item.push_back('8');
        state.duration *= 2;
      } else {
        item.push_back('9');
        state.duration /= 2;
      }
    }
    // A pause's length presses do not carry over to the next note.
    if (isPause) state.duration = lengthBefore;
  }

  if (entry.Octave > 0 && entry.Octave != state.octave) {
    if (entry.Octave > 3) {
      keys.append(" ERROR,");
      return;
    }
    while (state.octave != entry.Octave) {
      state.octave = state.octave == 3 ? 1 : state.octave + 1;
      item.push_back('*');
    }
  }

  keys.append(item);
  keys.append(", ");
}

}  // namespace

KeySequence GenerateKeySequence(std::string_view melodyText, NoteTable& table) {
  const std::string normalised = NormaliseMelody(melodyText);

  KeySequence result;
  TokenSplitter splitter(normalised);
  std::string_view token;
  while (splitter.Next(token)) {
    if (token.size() < 2) continue;
    if (result.noteCount < NoteTable::kCapacity) {
      ParseNoteToken(token, table.entries[result.noteCount]);
    }
    // A count beyond 32 bits (gigabytes of melody) stays at its maximum.
    if (result.noteCount < std::numeric_limits<std::int32_t>::max()) {
      ++result.noteCount;
    }
  }
  table.NoteCount = result.noteCount;

  // The longest item, "1#99999**" and its separator, is 11 bytes, and every
  // counted token takes at least two bytes of the text, so the list never
  // needs more than 6 bytes per byte of melody. The room reserved follows the
  // text, never the count alone, which saturates on gigabytes of melody.
  const std::size_t itemBytes = static_cast<std::size_t>(result.noteCount) * 11;
  result.keys.reserve(std::min(itemBytes, normalised.size() * 6 + 16));
  ComposerState state;
  const std::int32_t parsed = std::min(result.noteCount, NoteTable::kCapacity);
  for (std::int32_t j = 0; j < parsed; ++j) {
    AppendEntryKeys(table.entries[j], state, result.keys);
  }
  // Notes that did not fit into the table cannot be entered.
  for (std::int32_t j = parsed; j < result.noteCount; ++j) {
    result.keys.append("ERROR, ");
  }
  return result;
}

}  // namespace quillora
