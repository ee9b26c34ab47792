// The table of parsed notes and the parser of one note token.
//
// A note token is written as the phone's composer shows it: a length (the
// denominator of a whole note), a note name with an optional sharp before or
// after the letter, and an octave digit, for instance 8c2, 16#f1 or 4a#3;
// or a length and a pause sign: 4-, 8p, 8P.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

#include "base/melody_text.h"

namespace quillora {

struct NoteEntry {
  // Note length as the denominator of a whole note (1, 2, 4, 8, 16, 32 are
  // valid; the key-sequence generator judges that).
  std::int32_t Duration = 0;
  // Pitch class 0 (C) to 11 (B), or -1 for no known note name.
  std::int32_t Semitone = 0;
  // Composer octave 1 to 3 (octaves 5-7 are stored as 1-3); 0 is a pause.
  std::int32_t Octave = 0;

  friend bool operator==(const NoteEntry&, const NoteEntry&) = default;
};

// What a field holds when the parse of its token ended before reaching it.
// A token that does not fit the grammar must never borrow a field from the
// token parsed at the same index earlier, and must never read as a valid
// note or as a pause: an unknown semitone makes it an invalid note, and an
// octave far above the composer's range keeps it from counting as a pause.
inline constexpr std::int32_t kUnparsedDuration = 0;
inline constexpr std::int32_t kUnparsedSemitone = -1;
inline constexpr std::int32_t kUnparsedOctave =
    std::numeric_limits<std::int32_t>::max();

// The fixed-size table filled by the key-sequence generator. Entries at and
// beyond `NoteCount` are never read.
struct NoteTable {
  static constexpr std::int32_t kCapacity = 10000;

  std::array<NoteEntry, kCapacity> entries{};
  // Number of tokens of the last melody, including those that did not fit
  // into the table (see GenerateKeySequence).
  std::int32_t NoteCount = 0;
};

// The program-wide table: zero at start-up, allocated once, never resized.
// Used on the window thread only.
NoteTable& ProgramNoteTable();

// The note lengths the phone's composer takes.
constexpr bool IsComposerLength(std::int32_t duration) {
  return duration == 1 || duration == 2 || duration == 4 || duration == 8 ||
         duration == 16 || duration == 32;
}

// A token cut into the parts that ParseNoteToken reads; views into the
// token.
struct NoteTokenParts {
  std::string_view length;  // the leading digits, perhaps none
  std::string_view name;    // then up to the first digit or '.'
  // The rest after the name; when nothing follows the name, the rest after
  // the length (a token of digits only is read again from its start).
  std::string_view octave;
  bool octaveMissing = false;  // nothing follows the name
};
NoteTokenParts CutNoteToken(std::string_view token);

// Parses one token into `entry`. The token is a text without spaces. A token
// that does not fit the grammar is not reported: the fields that its parse
// reached hold what it read, the others hold the kUnparsed* markers.
void ParseNoteToken(std::string_view token, NoteEntry& entry);

// Parses into entry `index` (0 .. kCapacity-1) of the program-wide table;
// any other index is ignored.
void ParseNoteToken(std::string_view token, std::int32_t index);

}  // namespace quillora
