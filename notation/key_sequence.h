// Melody notation: from the melody text to the phone's key presses.
//
// Data flow: the melody text is normalised (NormaliseMelody), split into
// tokens (TokenSplitter), and every token of two or more characters is
// parsed into the next entry of a NoteTable (ParseNoteToken). The generator
// then walks the table, tracking the composer's current note length and
// octave, and emits for each note only the presses that enter it: the note
// key, then the length keys, then the octave keys. Faulty notes show as
// "ERROR" in the key list. The result feeds the note count and the key-list
// display of the main window and, later, the key-entry animation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "notation/note_table.h"

namespace quillora {

struct KeySequence {
  // Every token of two or more characters, faulty ones included.
  std::int32_t noteCount = 0;
  // The key list: items of keys, each followed by ", "; pauses lead with a
  // space (" 0"); faulty notes as "ERROR" or " ERROR,".
  std::string keys;
};

// Parses `melodyText` into `table` (setting its NoteCount) and builds the key
// list. Tokens past the table's capacity are counted and each shows as an
// invalid note; nothing is written outside the table. Linear in the length
// of the melody.
KeySequence GenerateKeySequence(std::string_view melodyText, NoteTable& table);

}  // namespace quillora
