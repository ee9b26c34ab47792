#include "notation/typed_melody.h"

#include "base/melody_text.h"
#include "base/text_ops.h"

namespace quillora {

// NormaliseMelody in one pass: ',' -> ' ', '.' -> '#', CR and LF dropped,
// then of each pair of blanks that those steps leave, the second dropped
// (the pairs are taken from the left, as one left-to-right replacement
// pass takes them).
TypedMelody::TypedMelody(std::string_view typedText)
    : typed_(typedText), splitter_(std::string_view{}) {
  normalised_.reserve(typedText.size());
  origin_.reserve(typedText.size());
  bool secondOfPair = false;
  for (std::size_t i = 0; i < typedText.size(); ++i) {
    char c = typedText[i];
    if (c == '\r' || c == '\n') continue;
    if (c == ',') c = ' ';
    if (c == '.') c = '#';
    if (c == ' ') {
      if (secondOfPair) {
        secondOfPair = false;
        continue;
      }
      secondOfPair = true;
    } else {
      secondOfPair = false;
    }
    normalised_.push_back(c);
    origin_.push_back(i);
  }
  splitter_ = TokenSplitter(normalised_);
}

bool TypedMelody::Next(TypedNoteView& note) {
  std::string_view token;
  while (splitter_.Next(token)) {
    if (token.size() < 2) continue;
    // The splitter's tokens are views into normalised_.
    const auto start =
        static_cast<std::size_t>(token.data() - normalised_.data());
    note.index = count_++;
    note.normalised = token;
    note.offset = origin_[start];
    note.length = origin_[start + token.size() - 1] - note.offset + 1;
    return true;
  }
  return false;
}

std::string TypedMelody::TypedToken(const TypedNoteView& note) const {
  const auto start =
      static_cast<std::size_t>(note.normalised.data() - normalised_.data());
  std::string typed;
  typed.reserve(note.normalised.size());
  for (std::size_t k = 0; k < note.normalised.size(); ++k) {
    typed.push_back(typed_[origin_[start + k]]);
  }
  return typed;
}

std::int32_t TypedMelody::LineOf(std::size_t offset) {
  for (; scanned_ < offset && scanned_ < typed_.size(); ++scanned_) {
    if (typed_[scanned_] == '\n') {
      ++line_;
      lineStart_ = scanned_ + 1;
    }
  }
  return line_;
}

std::int32_t TypedMelody::ColumnOf(std::size_t offset) {
  LineOf(offset);
  return static_cast<std::int32_t>(offset - lineStart_ + 1);
}

}  // namespace quillora
