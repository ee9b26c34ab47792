#include "notation/melody_faults.h"

#include "base/text_ops.h"
#include "notation/note_table.h"
#include "notation/typed_melody.h"

namespace quillora {
namespace {

std::string LengthReason(std::string_view lengthText) {
  return "length " + std::string(lengthText) +
         " is not one of 1, 2, 4, 8, 16, 32";
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!IsAsciiDigit(c)) return false;
  }
  return true;
}

// Why a note name (upper-cased, as read) names no note of the phone.
std::string NameReason(std::string_view typedName) {
  const std::string upper = ToUpperAscii(typedName);
  if (upper.empty()) return "no note name";
  if (upper == "E#" || upper == "#E" || upper == "E." || upper == ".E") {
    return "E has no sharp on the phone";
  }
  if (upper == "B#" || upper == "#B" || upper == "B." || upper == ".B") {
    return "B has no sharp on the phone";
  }
  if (upper == "-" || upper == "P") return "a pause takes no octave";
  if (upper == "#" || upper == ".") return "a sharp sign without a note letter";
  if (upper.size() == 2 && upper[0] >= 'A' && upper[0] <= 'G' &&
      upper[1] == 'B') {
    static constexpr std::string_view kSharpOfFlat[] = {
        "G#", "A#", "B", "C#", "D#", "E", "F#"};  // Ab Bb Cb Db Eb Fb Gb
    return "the phone has no flats: write " +
           std::string(kSharpOfFlat[upper[0] - 'A']) + " for " +
           std::string(typedName);
  }
  return "'" + std::string(typedName) + "' is not a note name";
}

}  // namespace

std::optional<std::string> TokenFaultReason(std::string_view normalised,
                                            std::string_view typed) {
  if (typed.size() != normalised.size()) typed = normalised;
  NoteEntry entry;
  ParseNoteToken(normalised, entry);
  const NoteTokenParts parts = CutNoteToken(normalised);
  const auto typedPart = [&](std::string_view part) {
    return typed.substr(
        static_cast<std::size_t>(part.data() - normalised.data()), part.size());
  };

  // The generator's checks, in its order: note key, length, octave.
  const bool isPause = entry.Octave < 1;
  if (!isPause && (entry.Semitone < 0 || entry.Semitone > 11)) {
    if (parts.length.empty()) return "no note length";
    // Leading digits too large to read: nothing of the token was stored.
    if (!ToInt32(parts.length)) {
      return LengthReason(parts.length);
    }
    return NameReason(typedPart(parts.name));
  }
  if (!IsComposerLength(entry.Duration)) return LengthReason(parts.length);
  if (entry.Octave > 3) {
    if (AllDigits(parts.octave)) {
      return "octave " + std::string(parts.octave) +
             " is beyond the phone's three octaves";
    }
    if (parts.octaveMissing) return "no octave";
    return "'" + std::string(typedPart(parts.octave)) + "' is not an octave";
  }
  return std::nullopt;
}

std::vector<MelodyFault> FindMelodyFaults(std::string_view melodyText) {
  std::vector<MelodyFault> faults;
  TypedMelody melody(melodyText);
  TypedNoteView note;
  while (melody.Next(note)) {
    std::optional<std::string> reason;
    if (note.index >= NoteTable::kCapacity) {
      reason = "the phone's composer takes at most 10000 notes";
    } else {
      // Judged on the generator's reading first; the typed spelling is
      // looked up only for the few notes that are faulty.
      reason = TokenFaultReason(note.normalised, note.normalised);
      if (!reason) continue;
      reason = TokenFaultReason(note.normalised, melody.TypedToken(note));
      // The usual cause of a note that runs over a line break.
      if (note.spansLineBreak()) {
        reason =
            "a line break without a blank before it joins two notes "
            "into one (" +
            *reason + ")";
      }
    }
    faults.push_back({note.index, melody.LineOf(note.offset),
                      melody.ColumnOf(note.offset), note.offset, note.length,
                      melody.TypedToken(note), std::move(*reason)});
  }
  return faults;
}

std::string FormatFault(const MelodyFault& fault) {
  return std::to_string(fault.line) + ":" + std::to_string(fault.column) +
         ": " + fault.token + ": " + fault.reason;
}

}  // namespace quillora
