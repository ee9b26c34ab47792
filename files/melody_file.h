// Melody files: a melody's title, notes and tempo as a small INI file.
//
// Data flow: Open reads the file's bytes (ReadWholeFile), finds the three
// values of section "Melody" with the INI reader (IniFile), decoding each
// as UTF-8 or, failing that, Windows-1252, and hands them to the window.
// Save flattens the melody text to one line (FlattenMelodyText), reads the
// old file if there is one, sets the three values in its text, changing no
// other byte, and replaces the file in one step (ReplaceFileAtomically), so
// that a failed save leaves the old file whole.
//
// A file as Save writes it from scratch:
//   [Melody]
//   Title=Evening tune
//   Notes=8c2 8e2 4g2 4- 8#f2 2c3
//   Temp=140
// with CR LF line ends.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillora {

struct MelodyFile {
  std::string title;
  std::string notes;
  std::string tempo = "120";

  friend bool operator==(const MelodyFile&, const MelodyFile&) = default;
};

// A save that did not happen; what() is "Unable to write to <full name>",
// followed by the reason when a value cannot be stored.
class FileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Files larger than this are not melody files: Open takes the defaults and
// Save refuses to rewrite them.
inline constexpr std::size_t kMaxMelodyFileBytes = 16 * 1024 * 1024;

// The folder "melodies" beside the executable in `programFolder`.
std::filesystem::path MelodiesFolder(
    const std::filesystem::path& programFolder);

// The melody text as a melody file stores it, on one line: blanks (codes 0
// to 32) trimmed at both ends, then each "," turned into a blank, each "."
// into "#", every CR and LF deleted and each pair of blanks made one, each
// replacement in one left-to-right pass. The notes it gives are those of the
// original text.
std::string FlattenMelodyText(std::string_view melodyText);

// Reads the melody file `path`. Never fails: a missing, unreadable or
// foreign file, a missing section or a missing key gives the defaults (an
// empty title, empty notes, the tempo "120"); a key present with an empty
// value gives "". Values come as UTF-8, each cut to 2047 characters.
MelodyFile LoadMelodyFile(const std::filesystem::path& path);

// Writes the three values, as given, into section "Melody" of `path`,
// creating the file if needed and keeping every other byte of an existing
// one. All or nothing: on failure the file stays as it was and
// FileWriteError is thrown. Values holding a line break (or a NUL byte) are
// refused, as they would break the file's lines.
void SaveMelodyFile(const std::filesystem::path& path,
                    const MelodyFile& melody);

}  // namespace quillora
