// The melody text as both its readers see it: the key-sequence generator
// and the melody player normalise it the same way, walk the same tokens and
// know the same twelve note names. Pure; safe on any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillora {

// Semitone index 0..11 of a note name ("C", "c#", "#F", ...; case ignored,
// the sharp before or after the letter), or -1 for any other text.
std::int32_t NoteNameToIndex(std::string_view name);

// Applies, in this order and each in one left-to-right pass: "," -> " ",
// "." -> "#", CR -> "", LF -> "", two spaces -> one space. So a comma
// separates like a space, a '.' is a sharp, and a line break joins the last
// token of a line to the first of the next one.
std::string NormaliseMelody(std::string_view text);

// Splits a normalised melody into its space-separated tokens, each trimmed
// of blanks. Empty and one-character tokens are returned too; callers skip
// them. The view passed in must outlive the splitter.
class TokenSplitter {
 public:
  explicit TokenSplitter(std::string_view normalisedMelody);

  // Stores the next token and returns true, or returns false at the end.
  bool Next(std::string_view& token);

 private:
  std::string_view source_;
  std::size_t pos_ = 0;
  bool started_ = false;
};

}  // namespace quillora
