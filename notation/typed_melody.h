// The notes of a melody as the key-sequence generator counts them, each
// with the place where it stands in the text as the user typed it.
//
// The generator reads a normalised copy of the text (NormaliseMelody), in
// which line breaks and doubled blanks are gone, so its tokens do not sit
// at the same offsets as in the typed text. TypedMelody normalises the same
// way while remembering where each byte came from, then splits with the
// generator's own TokenSplitter, so its notes are exactly the generator's
// notes, in the same order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/melody_text.h"

namespace quillora {

// One note, valid until the next note is read.
struct TypedNoteView {
  // Position among the counted notes, from 0 (the note table's index).
  std::int32_t index = 0;
  // The token as the generator reads it ('.' already a '#').
  std::string_view normalised;
  // Byte range in the typed text, from the first to the last byte of the
  // token; line breaks inside the token are part of it.
  std::size_t offset = 0;
  std::size_t length = 0;
  // True when the token runs over a line break: two notes typed on
  // separate lines without a blank between them read as one.
  bool spansLineBreak() const { return length != normalised.size(); }
};

class TypedMelody {
 public:
  // `typedText` must outlive the object. Linear in its length. Neither
  // copied nor moved: the splitter looks into the object's own text.
  explicit TypedMelody(std::string_view typedText);
  TypedMelody(const TypedMelody&) = delete;
  TypedMelody& operator=(const TypedMelody&) = delete;

  // Stores the next token of two or more bytes and returns true, or
  // returns false at the end.
  bool Next(TypedNoteView& note);

  // The token as typed, without the line breaks that it may span: same
  // length as its normalised form, byte for byte.
  std::string TypedToken(const TypedNoteView& note) const;

  // 1-based line and byte column of a typed offset. Offsets asked for must
  // not decrease from one call to the next.
  std::int32_t LineOf(std::size_t offset);
  std::int32_t ColumnOf(std::size_t offset);

 private:
  std::string_view typed_;
  std::string normalised_;
  std::vector<std::size_t> origin_;  // typed offset of each normalised byte
  TokenSplitter splitter_;           // over normalised_
  std::int32_t count_ = 0;
  // Line bookkeeping for LineOf and ColumnOf.
  std::size_t scanned_ = 0;
  std::size_t lineStart_ = 0;
  std::int32_t line_ = 1;
};

}  // namespace quillora
