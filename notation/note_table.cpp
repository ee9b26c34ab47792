#include "notation/note_table.h"

#include <memory>

#include "base/melody_text.h"
#include "base/text_ops.h"

namespace quillora {

NoteTable& ProgramNoteTable() {
  // Allocated on first use and kept until the process ends.
  static const auto table = std::make_unique<NoteTable>();
  return *table;
}

NoteTokenParts CutNoteToken(std::string_view token) {
  NoteTokenParts parts;
  std::size_t digits = 0;
  while (digits < token.size() && IsAsciiDigit(token[digits])) ++digits;
  parts.length = token.substr(0, digits);
  // A token of digits only is read again from its start as name and octave.
  const std::string_view rest =
      digits == token.size() ? token : token.substr(digits);
  std::size_t nameEnd = 0;
  while (nameEnd < rest.size() && !IsAsciiDigit(rest[nameEnd]) &&
         rest[nameEnd] != '.') {
    ++nameEnd;
  }
  parts.name = rest.substr(0, nameEnd);
  parts.octaveMissing = nameEnd == rest.size();
  parts.octave = parts.octaveMissing ? rest : rest.substr(nameEnd);
  return parts;
}

void ParseNoteToken(std::string_view token, NoteEntry& entry) {
  entry = {kUnparsedDuration, kUnparsedSemitone, kUnparsedOctave};

  const NoteTokenParts parts = CutNoteToken(token);
  const std::optional<std::int32_t> duration = ToInt32(parts.length);
  if (!duration) return;
  entry.Duration = *duration;

  entry.Semitone = NoteNameToIndex(parts.name);

  if (parts.octave == "-" || parts.octave == "P" || parts.octave == "p") {
    entry.Octave = 0;
    return;
  }
  const std::optional<std::int32_t> octave = ToInt32(parts.octave);
  if (!octave) return;
  entry.Octave = *octave > 4 ? *octave - 4 : *octave;
}

void ParseNoteToken(std::string_view token, std::int32_t index) {
  if (index < 0 || index >= NoteTable::kCapacity) return;
  ParseNoteToken(token, ProgramNoteTable().entries[index]);
}

}  // namespace quillora
