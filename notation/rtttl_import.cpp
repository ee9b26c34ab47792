#include "notation/rtttl_import.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "base/text_ops.h"
#include "notation/note_table.h"

namespace quillora {
namespace {

constexpr std::int32_t kDefaultLength = 4;
constexpr std::int32_t kDefaultOctave = 6;
constexpr std::int32_t kDefaultBeats = 63;
// The composer's tempo range: the player plays any other tempo at 120, and
// tempos below 4 leave no whole quarter notes in its length reckoning.
constexpr std::int32_t kLowestTempo = 4;
constexpr std::int32_t kHighestTempo = 899;
// RTTTL's octave that the composer calls octave 1.
constexpr std::int32_t kComposerOctaveOffset = 4;

const std::string kNotRtttl = "not RTTTL: ";

std::string WithoutBlanks(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    if (!IsBlank(c)) result.push_back(c);
  }
  return result;
}

bool IsRtttlLength(std::int32_t length) {
  return length == 1 || length == 2 || length == 4 || length == 8 ||
         length == 16 || length == 32 || length == 64;
}

std::optional<std::int32_t> ReadNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  for (const char c : digits) {
    if (!IsAsciiDigit(c)) return std::nullopt;
  }
  return ToInt32(digits);
}

struct Defaults {
  std::int32_t length = kDefaultLength;
  std::int32_t octave = kDefaultOctave;
  std::int32_t beats = kDefaultBeats;
};

// Reads "d=8,o=5,b=100" (any order, each optional). Returns an error text,
// empty on success.
std::string ReadDefaults(std::string_view section, Defaults& defaults,
                         std::vector<std::string>& warnings) {
  const std::string text = WithoutBlanks(section);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    const std::string_view item =
        std::string_view(text).substr(start, comma - start);
    start = comma + 1;
    if (item.empty()) continue;
    const std::size_t equals = item.find('=');
    const std::string key = ToUpperAscii(item.substr(0, equals));
    if (equals != std::string_view::npos && (key == "L" || key == "S")) {
      // Loop count and style of the RTX variant: the composer has neither.
      warnings.push_back("the setting '" + std::string(item) +
                         "' has no place in the phone's composer and was "
                         "left out");
      continue;
    }
    const std::optional<std::int32_t> value =
        equals == std::string_view::npos ? std::nullopt
                                         : ReadNumber(item.substr(equals + 1));
    if (!value || key.size() != 1) {
      return kNotRtttl + "'" + std::string(item) +
             "' in the defaults is not d=, o= or b= with a number";
    }
    switch (key[0]) {
      case 'D':
        if (!IsRtttlLength(*value)) {
          return kNotRtttl + "default length d=" + std::to_string(*value) +
                 " is not one of 1, 2, 4, 8, 16, 32";
        }
        defaults.length = *value;
        break;
      case 'O':
        if (*value > 9) {
          return kNotRtttl + "default octave o=" + std::to_string(*value) +
                 " is not 0 to 9";
        }
        defaults.octave = *value;
        break;
      case 'B':
        if (*value < 1) return kNotRtttl + "tempo b=0 is not a tempo";
        defaults.beats = *value;
        break;
      default:
        return kNotRtttl + "'" + std::string(item) +
               "' in the defaults is not d=, o= or b= with a number";
    }
  }
  return {};
}

// One note of the RTTTL text, read but not yet fitted to the composer.
struct RtttlNote {
  std::int32_t length = 4;
  bool dotted = false;
  bool pause = false;
  std::int32_t semitone = 0;  // 0..11
  std::int32_t octave = 0;    // RTTTL's octave
};

// Reads one note, blanks already removed. Returns std::nullopt when it is
// not a note.
std::optional<RtttlNote> ReadNote(std::string_view token,
                                  const Defaults& defaults) {
  static constexpr std::int32_t kLetterSemitone[8] = {9, 11, 0, 2,
                                                      4, 5,  7, 11};  // a-h
  RtttlNote note;
  std::size_t i = 0;
  const auto digitsFrom = [&](std::size_t from) {
    std::size_t end = from;
    while (end < token.size() && IsAsciiDigit(token[end])) ++end;
    return end;
  };

  std::size_t end = digitsFrom(i);
  if (end > i) {
    const std::optional<std::int32_t> length =
        ReadNumber(token.substr(i, end - i));
    if (!length || !IsRtttlLength(*length)) return std::nullopt;
    note.length = *length;
  } else {
    note.length = defaults.length;
  }
  i = end;

  if (i == token.size()) return std::nullopt;
  const char letter = static_cast<char>(token[i] | 0x20);  // lower case
  if (letter == 'p') {
    note.pause = true;
  } else if (letter >= 'a' && letter <= 'h') {
    note.semitone = kLetterSemitone[letter - 'a'];
  } else {
    return std::nullopt;
  }
  ++i;

  std::int32_t octave = defaults.octave;
  if (!note.pause && i < token.size() && token[i] == '#') {
    ++note.semitone;
    ++i;
  }
  if (i < token.size() && token[i] == '.') {
    note.dotted = true;
    ++i;
  }
  end = digitsFrom(i);
  if (end > i) {
    const std::optional<std::int32_t> value =
        ReadNumber(token.substr(i, end - i));
    if (!value || *value > 9) return std::nullopt;
    octave = *value;
  }
  i = end;
  if (i < token.size() && token[i] == '.' && !note.dotted) {
    note.dotted = true;
    ++i;
  }
  if (i != token.size()) return std::nullopt;

  // E# is F; B# is the C above.
  if (note.semitone == 12) {
    note.semitone = 0;
    ++octave;
  }
  note.octave = octave;
  return note;
}

// A note of the composer, before and after its octave is fitted.
struct ComposerNote {
  std::int32_t length = 4;
  bool pause = false;
  std::int32_t semitone = 0;
  std::int32_t octave = 1;
  std::size_t source = 0;  // index of the RTTTL note it comes from
};

// The whole-octave shift that puts the most notes into octaves 1 to 3,
// the smallest such shift when several do.
std::int32_t BestShift(const std::vector<ComposerNote>& notes) {
  std::int32_t lowest = 1000, highest = -1000;
  for (const ComposerNote& note : notes) {
    if (note.pause) continue;
    lowest = std::min(lowest, note.octave);
    highest = std::max(highest, note.octave);
  }
  if (lowest > highest) return 0;  // pauses only
  std::int32_t best = 0;
  std::size_t bestInside = 0;
  for (std::int32_t distance = 0; distance <= highest - lowest + 6;
       ++distance) {
    for (const std::int32_t shift : {-distance, distance}) {
      std::size_t inside = 0;
      for (const ComposerNote& note : notes) {
        if (!note.pause && note.octave + shift >= 1 && note.octave + shift <= 3)
          ++inside;
      }
      if (inside > bestInside) {
        bestInside = inside;
        best = shift;
      }
    }
  }
  return best;
}

std::string ComposerToken(const ComposerNote& note) {
  static constexpr std::string_view kNames[12] = {
      "c", "c#", "d", "d#", "e", "f", "f#", "g", "g#", "a", "a#", "b"};
  std::string token = std::to_string(note.length);
  if (note.pause) return token + "-";
  token += kNames[note.semitone];
  token += static_cast<char>('0' + note.octave);
  return token;
}

RtttlImport Refused(std::string error) {
  RtttlImport result;
  result.error = std::move(error);
  return result;
}

std::string Plural(std::int32_t count, std::string_view word) {
  return std::to_string(count) + " " + std::string(word) +
         (count == 1 ? "" : "s");
}

}  // namespace

RtttlImport ImportRtttl(std::string_view text) {
  RtttlImport result;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  const std::size_t firstColon = text.find(':');
  const std::size_t secondColon = firstColon == std::string_view::npos
                                      ? std::string_view::npos
                                      : text.find(':', firstColon + 1);
  if (secondColon == std::string_view::npos) {
    result.error = kNotRtttl +
                   "expected a title, the defaults and the notes separated "
                   "by two colons, as in Tune:d=4,o=5,b=100:8c6,8e6,4g6";
    return result;
  }
  std::string_view title = text.substr(0, firstColon);
  if (const std::size_t lineEnd = title.rfind('\n');
      lineEnd != std::string_view::npos) {
    title.remove_prefix(lineEnd + 1);
  }
  std::string_view notesSection = text.substr(secondColon + 1);
  // A file may hold several melodies, one to a line: read the first.
  if (const std::size_t nextColon = notesSection.find(':');
      nextColon != std::string_view::npos) {
    const std::size_t lineEnd = notesSection.rfind('\n', nextColon);
    if (lineEnd == std::string_view::npos) {
      result.error = kNotRtttl + "a third colon in the notes";
      return result;
    }
    notesSection = notesSection.substr(0, lineEnd);
    result.warnings.push_back(
        "the text holds more than one melody; only the first was read");
  }

  Defaults defaults;
  if (std::string error = ReadDefaults(
          text.substr(firstColon + 1, secondColon - firstColon - 1), defaults,
          result.warnings);
      !error.empty()) {
    return Refused(std::move(error));
  }

  // Read every note, splitting each dotted note into the note and a note of
  // half its length at the same pitch.
  const std::string notesText = WithoutBlanks(notesSection);
  std::vector<ComposerNote> notes;
  std::size_t start = 0;
  std::size_t source = 0;
  while (start <= notesText.size()) {
    std::size_t comma = notesText.find(',', start);
    if (comma == std::string::npos) comma = notesText.size();
    const std::string_view token =
        std::string_view(notesText).substr(start, comma - start);
    start = comma + 1;
    if (token.empty()) continue;
    ++source;
    const std::optional<RtttlNote> read = ReadNote(token, defaults);
    if (!read) {
      return Refused(kNotRtttl + "note " + std::to_string(source) + " '" +
                     std::string(token) + "' is not a note or a pause");
    }
    const std::string where =
        "note " + std::to_string(source) + " (" + std::string(token) + "): ";
    ComposerNote note{read->length, read->pause, read->semitone,
                      read->octave - kComposerOctaveOffset, source};
    if (note.length == 64) {
      note.length = 32;
      result.warnings.push_back(where +
                                "a 64th note is shorter than the phone's "
                                "shortest note and became a 32nd");
    }
    notes.push_back(note);
    if (read->dotted) {
      if (note.length == 32) {
        result.warnings.push_back(where +
                                  "a dotted 32nd has no half on the phone "
                                  "and became a plain 32nd");
      } else {
        note.length *= 2;
        notes.push_back(note);
      }
    }
  }
  if (notes.empty()) {
    return Refused(kNotRtttl +
                   "there are no notes after the "
                   "second colon");
  }
  if (notes.size() > static_cast<std::size_t>(NoteTable::kCapacity)) {
    return Refused("the melody has " + std::to_string(notes.size()) +
                   " notes; the phone's composer takes at most " +
                   std::to_string(NoteTable::kCapacity));
  }

  // Fit the melody into the composer's three octaves.
  const std::int32_t shift = BestShift(notes);
  if (shift != 0) {
    result.warnings.push_back(
        "the melody was moved " + std::string(shift > 0 ? "up " : "down ") +
        Plural(std::abs(shift), "octave") + " to fit the phone's octaves");
  }
  for (ComposerNote& note : notes) {
    if (note.pause) {
      note.octave = 1;
      continue;
    }
    note.octave += shift;
    if (note.octave >= 1 && note.octave <= 3) continue;
    const std::int32_t folded = note.octave < 1 ? 1 : 3;
    result.warnings.push_back("note " + std::to_string(note.source) + " lies " +
                              Plural(std::abs(note.octave - folded), "octave") +
                              (note.octave < 1 ? " below" : " above") +
                              " the phone's range and was moved into octave " +
                              std::to_string(folded));
    note.octave = folded;
  }

  result.title = std::string(Trim(title));
  result.tempo = std::clamp(defaults.beats, kLowestTempo, kHighestTempo);
  if (result.tempo != defaults.beats) {
    result.warnings.push_back("tempo b=" + std::to_string(defaults.beats) +
                              " is beyond the composer's tempos and became " +
                              std::to_string(result.tempo));
  }
  for (const ComposerNote& note : notes) {
    if (!result.notes.empty()) result.notes.push_back(' ');
    result.notes += ComposerToken(note);
  }
  return result;
}

}  // namespace quillora
