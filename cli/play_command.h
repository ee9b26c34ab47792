// quillora-cli play: a melody through the melody player, on the sound device
// or, with --dry-run, as a list of what the player does.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quillora {

inline constexpr std::string_view kPlayUsage =
    "  play    Play a melody in the phone composer's notation, read from\n"
    "          FILE or standard input, at --tempo N quarter notes a minute\n"
    "          (4 to 899; anything else plays at 120, the default), and\n"
    "          return when it has finished. With --dry-run nothing sounds\n"
    "          and nothing waits; each step is printed instead: 'play\n"
    "          <frequency> <duration>' when a tone starts, 'stop' when the\n"
    "          sound is stopped, 'sleep <ms>' for each wait.\n"
    "          Example: printf '4c1 4c1 4- 4c1' | quillora-cli play "
    "--dry-run\n";

// Runs the play command on the arguments after "play". Returns kExitOk,
// kExitFailure (the file could not be read, no sound device) or kExitUsage.
int RunPlayCommand(const std::vector<std::string>& args, std::istream& in,
                   std::ostream& out, std::ostream& err);

}  // namespace quillora
