// The notes of a melody as the key-sequence generator counts them, each
// with the place where it stands in the text as the user typed it.
//
// The generator reads a normalised copy of the text (NormaliseMelody), in
// which line breaks and doubled blanks are gone, so its tokens do not sit
// at the same offsets as in the typed text. SplitTypedMelody normalises
// the same way while remembering where each byte came from, then splits
// with the generator's own TokenSplitter, so its notes are exactly the
// generator's notes, in the same order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillora {

struct TypedNote {
  // Position among the counted notes, from 0 (the note table's index).
  std::int32_t index = 0;
  // The token as the generator reads it ('.' already a '#').
  std::string normalised;
  // The token as typed, without the line breaks that a token may span.
  // Same length as `normalised`, byte for byte.
  std::string typed;
  // Byte range in the typed text, from the first to the last byte of the
  // token; line breaks inside the token are part of it.
  std::size_t offset = 0;
  std::size_t length = 0;
  // 1-based line and byte column of the token's first byte.
  std::int32_t line = 1;
  std::int32_t column = 1;
  // True when the token runs over a line break: two notes typed on
  // separate lines without a blank between them read as one.
  bool spansLineBreak = false;
};

// Every token of two or more bytes of `melodyText`, in order. Linear in the
// length of the text.
std::vector<TypedNote> SplitTypedMelody(std::string_view melodyText);

}  // namespace quillora
