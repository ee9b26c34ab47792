#include "files/melody_file.h"

#include "base/melody_text.h"
#include "base/text_ops.h"
#include "files/file_replacement.h"
#include "files/ini_file.h"

namespace quillora {
namespace {

constexpr std::string_view kSection = "Melody";
constexpr std::string_view kTitleKey = "Title";
constexpr std::string_view kNotesKey = "Notes";
constexpr std::string_view kTempoKey = "Temp";
constexpr std::string_view kDefaultTempo = "120";

std::string FullName(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? path : absolute).string();
}

void RefuseLineBreak(const std::filesystem::path& path, std::string_view value,
                     const char* what) {
  if (value.find_first_of(std::string_view("\r\n\0", 3)) !=
      std::string_view::npos) {
    throw FileWriteError("Unable to write to " + FullName(path) + ": " + what +
                         " holds a line break");
  }
}

// A value that the file would give back otherwise than written (longer than
// a value may be, or not UTF-8) is refused, so that a save never makes a
// file that opens with less than was saved.
void RefuseUnreadable(const std::filesystem::path& path, const IniFile& ini,
                      std::string_view key, const std::string& value,
                      const char* what) {
  if (ini.ReadString(kSection, key, "") != value) {
    throw FileWriteError("Unable to write to " + FullName(path) + ": " + what +
                         " would not read back whole; a melody file holds at "
                         "most 2047 characters of UTF-8 text in a value");
  }
}

}  // namespace

std::filesystem::path MelodiesFolder(
    const std::filesystem::path& programFolder) {
  return programFolder / "melodies";
}

std::string FlattenMelodyText(std::string_view melodyText) {
  // The normalisation is the one the key sequence and the player apply, so
  // the stored line holds the same notes.
  return NormaliseMelody(Trim(melodyText));
}

MelodyFile LoadMelodyFile(const std::filesystem::path& path) {
  FileContent content = ReadWholeFile(path, kMaxMelodyFileBytes);
  const IniFile ini(content.state == FileContent::State::kRead
                        ? std::move(content.bytes)
                        : std::string());
  return MelodyFile{ini.ReadString(kSection, kTitleKey, ""),
                    ini.ReadString(kSection, kNotesKey, ""),
                    ini.ReadString(kSection, kTempoKey, kDefaultTempo)};
}

void SaveMelodyFile(const std::filesystem::path& path,
                    const MelodyFile& melody) {
  RefuseLineBreak(path, melody.title, "the title");
  RefuseLineBreak(path, melody.notes, "the melody");
  RefuseLineBreak(path, melody.tempo, "the tempo");
  const FileWriteError failure("Unable to write to " + FullName(path));

  // The old content is kept byte for byte, so it must be read whole.
  FileContent old = ReadWholeFile(path, kMaxMelodyFileBytes);
  if (old.state == FileContent::State::kUnusable || !MayReplaceFile(path)) {
    throw failure;
  }
  IniFile ini(std::move(old.bytes));
  ini.WriteString(kSection, kTitleKey, melody.title);
  ini.WriteString(kSection, kNotesKey, melody.notes);
  ini.WriteString(kSection, kTempoKey, melody.tempo);
  RefuseUnreadable(path, ini, kTitleKey, melody.title, "the title");
  RefuseUnreadable(path, ini, kNotesKey, melody.notes, "the melody");
  RefuseUnreadable(path, ini, kTempoKey, melody.tempo, "the tempo");
  if (!ReplaceFileAtomically(path, ini.Content())) throw failure;
}

}  // namespace quillora
