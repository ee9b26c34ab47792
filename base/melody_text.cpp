#include "base/melody_text.h"

#include "base/text_ops.h"

namespace quillora {

std::int32_t NoteNameToIndex(std::string_view name) {
  struct Row {
    std::string_view name;
    std::int32_t index;
  };
  static constexpr Row kNames[] = {
      {"C", 0},  {"C#", 1}, {"#C", 1},  {"D", 2},   {"D#", 3}, {"#D", 3},
      {"E", 4},  {"F", 5},  {"F#", 6},  {"#F", 6},  {"G", 7},  {"G#", 8},
      {"#G", 8}, {"A", 9},  {"A#", 10}, {"#A", 10}, {"B", 11},
  };
  if (name.size() > 2) return -1;
  const std::string upper = ToUpperAscii(name);
  for (const Row& row : kNames) {
    if (row.name == upper) return row.index;
  }
  return -1;
}

std::string NormaliseMelody(std::string_view text) {
  std::string result = ReplaceAll(text, ",", " ");
  result = ReplaceAll(result, ".", "#");
  result = ReplaceAll(result, "\r", "");
  result = ReplaceAll(result, "\n", "");
  return ReplaceAll(result, "  ", " ");
}

TokenSplitter::TokenSplitter(std::string_view normalisedMelody)
    : source_(Trim(normalisedMelody)) {}

// The source is the trimmed melody followed by one space. Each step takes the
// text before the next space as the token and moves past that space; the
// walk goes on while more than one character of the source is left. The
// first step always runs, so an empty melody yields one empty token.
bool TokenSplitter::Next(std::string_view& token) {
  const std::size_t sourceLength = source_.size() + 1;  // the appended space
  if (started_ && sourceLength - pos_ <= 1) return false;
  started_ = true;
  std::size_t space = source_.find(' ', pos_);
  if (space == std::string_view::npos) space = source_.size();
  token = Trim(source_.substr(pos_, space - pos_));
  pos_ = space + 1;
  return true;
}

}  // namespace quillora
