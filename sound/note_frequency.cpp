#include "sound/note_frequency.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "base/text_ops.h"

namespace quillora {
namespace {

// Semitones above A of each letter.
std::optional<std::int32_t> LetterIndex(char letter) {
  switch (letter) {
    case 'A':
      return 0;
    case 'B':
      return 2;
    case 'C':
      return 3;
    case 'D':
      return 5;
    case 'E':
      return 7;
    case 'F':
      return 8;
    case 'G':
      return 10;
    default:
      return std::nullopt;
  }
}

// The note number of `text` (upper case, trimmed), updating `octave`, or
// std::nullopt when the text is no valid note.
std::optional<std::int32_t> NoteNumber(std::string_view text,
                                       std::int32_t& octave) {
  if (!text.empty() && text.front() == 'N') {
    const std::optional<std::int32_t> number = ToInt32(text.substr(1));
    if (!number || *number < 0 || *number > 121) return std::nullopt;
    return number;
  }

  std::size_t pos = 0;
  std::int32_t o = octave;
  if (pos < text.size() && text[pos] == 'O') {
    if (pos + 1 >= text.size() || !IsAsciiDigit(text[pos + 1]))
      return std::nullopt;
    o = text[pos + 1] - '0';
    pos += 2;
  } else {
    for (; pos < text.size() && (text[pos] == '<' || text[pos] == '>'); ++pos) {
      o = text[pos] == '<' ? std::max(o - 1, 0) : std::min(o + 1, 9);
    }
  }

  if (pos >= text.size()) return std::nullopt;
  const char letter = text[pos++];
  std::optional<std::int32_t> index = LetterIndex(letter);
  if (!index) return std::nullopt;

  if (pos < text.size()) {
    const char accidental = text[pos];
    if (accidental == '#' || accidental == '+') {
      if (letter == 'B' || letter == 'E') return std::nullopt;
      ++*index;
      ++pos;
    } else if (accidental == '-') {
      if (letter == 'C' || letter == 'F') return std::nullopt;
      if (letter == 'A') {
        *index = 11;
        if (--o < 0) return std::nullopt;
      } else {
        --*index;
      }
      ++pos;
    }
  }
  if (pos != text.size()) return std::nullopt;

  const std::int64_t number = *index + 12LL * o;
  if (number < 0) return std::nullopt;
  octave = o;
  return static_cast<std::int32_t>(number);
}

}  // namespace

std::int32_t ParseNoteFrequency(std::string_view text, std::int32_t& octave) {
  const std::string upper = ToUpperAscii(Trim(text));
  std::int32_t o = octave;
  const std::optional<std::int32_t> number = NoteNumber(upper, o);
  if (!number) return 0;
  octave = o;
  const double frequency =
      std::trunc(440.0 * std::pow(2.0, (*number - 48) / 12.0) + 0.5);
  if (frequency < 20 || frequency > 20000) return 0;
  return static_cast<std::int32_t>(frequency);
}

}  // namespace quillora
