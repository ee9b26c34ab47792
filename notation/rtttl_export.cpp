#include "notation/rtttl_export.h"

#include <array>
#include <vector>

#include "base/text_ops.h"
#include "notation/melody_faults.h"
#include "notation/note_table.h"
#include "notation/typed_melody.h"

namespace quillora {
namespace {

// Listing more faulty notes than this in one message helps nobody.
constexpr std::size_t kFaultsNamed = 5;

std::string CleanTitle(std::string_view title) {
  std::string clean;
  for (const char c : Trim(title)) {
    if (c != ':' && static_cast<unsigned char>(c) >= 32) clean.push_back(c);
  }
  return clean;
}

std::string RefusalFor(const std::vector<MelodyFault>& faults) {
  std::string message = "the melody cannot be written as RTTTL: " +
                        std::to_string(faults.size()) +
                        (faults.size() == 1 ? " note is" : " notes are") +
                        " faulty: ";
  for (std::size_t i = 0; i < faults.size() && i < kFaultsNamed; ++i) {
    if (i > 0) message += "; ";
    message += FormatFault(faults[i]);
  }
  if (faults.size() > kFaultsNamed) {
    message +=
        "; and " + std::to_string(faults.size() - kFaultsNamed) + " more";
  }
  return message;
}

// The notes as RTTTL writes them: length, letter, sharp, RTTTL octave.
std::string NoteText(const NoteEntry& note, std::int32_t defaultLength,
                     std::int32_t defaultOctave) {
  static constexpr std::string_view kNames[12] = {
      "c", "c#", "d", "d#", "e", "f", "f#", "g", "g#", "a", "a#", "b"};
  std::string text;
  if (note.Duration != defaultLength) text = std::to_string(note.Duration);
  if (note.Octave < 1) return text + "p";
  text += kNames[note.Semitone];
  const std::int32_t octave = note.Octave + 4;
  if (octave != defaultOctave) text += std::to_string(octave);
  return text;
}

std::string DefaultsText(std::int32_t length, std::int32_t octave,
                         std::int32_t beats) {
  std::string text;
  const auto add = [&text](char key, std::int32_t value) {
    if (!text.empty()) text.push_back(',');
    text += std::string(1, key) + "=" + std::to_string(value);
  };
  if (length != 4) add('d', length);
  if (octave != 6) add('o', octave);
  if (beats != 63) add('b', beats);
  return text;
}

}  // namespace

RtttlExport ExportRtttl(std::string_view title, std::string_view melodyText,
                        std::int32_t tempo) {
  const std::vector<MelodyFault> faults = FindMelodyFaults(melodyText);
  if (!faults.empty()) return {.text = {}, .error = RefusalFor(faults)};

  std::vector<NoteEntry> notes;
  TypedMelody melody(melodyText);
  TypedNoteView typed;
  while (melody.Next(typed)) {
    NoteEntry entry;
    ParseNoteToken(typed.normalised, entry);
    notes.push_back(entry);
  }
  if (notes.empty()) {
    return {.text = {}, .error = "the melody has no notes to write as RTTTL"};
  }
  const std::int32_t beats = tempo >= 4 && tempo <= 899 ? tempo : 120;

  // Try every default length and octave; keep the shortest line.
  static constexpr std::array<std::int32_t, 6> kLengths = {4, 8, 16, 2, 1, 32};
  static constexpr std::array<std::int32_t, 3> kOctaves = {6, 5, 7};
  std::string best;
  for (const std::int32_t length : kLengths) {
    for (const std::int32_t octave : kOctaves) {
      std::string line =
          CleanTitle(title) + ":" + DefaultsText(length, octave, beats) + ":";
      for (std::size_t i = 0; i < notes.size(); ++i) {
        if (i > 0) line.push_back(',');
        line += NoteText(notes[i], length, octave);
      }
      if (best.empty() || line.size() < best.size()) best = std::move(line);
    }
  }
  return {.text = std::move(best), .error = {}};
}

}  // namespace quillora
