// quillora-cli commands around a melody: RTTTL import and export, the
// faults of a melody explained, and a melody rendered to a WAV file.
//
// Each reads its melody from FILE or standard input. A melody file (the
// window's .qlr files, or the same text on standard input) gives its notes,
// title and tempo; any other text is the notes themselves.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quillora {

inline constexpr std::string_view kMelodyToolsUsage =
    "  import-rtttl [FILE] [-o FILE.qlr]\n"
    "          Read a ringtone in RTTTL (Tune:d=4,o=5,b=100:8c6,8e6,p) and\n"
    "          print it as a melody file for the phone's composer, or save\n"
    "          it into FILE.qlr with -o. What changes the sound (octaves\n"
    "          moved, a dotted 32nd) is reported on standard error.\n"
    "          Example: printf 'Tune:d=4,o=5,b=100:8c6,8e6,4g6,p' | \\\n"
    "                     quillora-cli import-rtttl\n"
    "  export-rtttl [FILE]\n"
    "          Print a melody, with its title and tempo, as one RTTTL line;\n"
    "          a melody with faulty notes is refused, naming them.\n"
    "  check [FILE]\n"
    "          Print every faulty note of a melody, one per line, as\n"
    "          LINE:COLUMN: TOKEN: REASON; exit 1 when there is any.\n"
    "          Example: printf '8c2 4#e2 3c1' | quillora-cli check\n"
    "  render [FILE] -o FILE.wav [--tempo N]\n"
    "          Write what the player sounds for a melody as a WAV file,\n"
    "          without playing it; the tempo is N, else the melody file's,\n"
    "          else 120.\n";

// Each runs its command on the arguments after the command's name and
// returns kExitOk, kExitFailure or kExitUsage.
int RunImportRtttl(const std::vector<std::string>& args, std::istream& in,
                   std::ostream& out, std::ostream& err);
int RunExportRtttl(const std::vector<std::string>& args, std::istream& in,
                   std::ostream& out, std::ostream& err);
int RunCheck(const std::vector<std::string>& args, std::istream& in,
             std::ostream& out, std::ostream& err);
int RunRender(const std::vector<std::string>& args, std::istream& in,
              std::ostream& out, std::ostream& err);

}  // namespace quillora
