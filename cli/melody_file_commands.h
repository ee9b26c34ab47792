// quillora-cli and melody files: the key list of a melody file's notes, and
// a melody from standard input saved as a melody file, just as the window's
// Save writes it.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillora {

inline constexpr std::string_view kSaveUsage =
    "  save    Read a melody in the phone composer's notation from standard\n"
    "          input and save it into FILE as the window's Save does: the\n"
    "          melody flattened to one line, the title (--title T, empty by\n"
    "          default) and the tempo (--tempo N, 120 by default). An\n"
    "          existing file keeps everything but these three values.\n"
    "          Example: printf '8c2 8e2 4g2' | quillora-cli save tune.qlr \\\n"
    "                     --title 'Evening tune' --tempo 140\n";

// The "Notes" value of the melody file `path`, or nothing, after a message
// on `err`, when there is no readable file of that name.
std::optional<std::string> ReadMelodyFileNotes(const std::string& path,
                                               std::ostream& err);

// Runs the save command on the arguments after "save". Returns kExitOk,
// kExitFailure (the file could not be written) or kExitUsage.
int RunSaveCommand(const std::vector<std::string>& args, std::istream& in,
                   std::ostream& err);

}  // namespace quillora
