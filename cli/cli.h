// quillora-cli: the command-line companion of Quillora.
//
// Data flow: main() hands the arguments and the standard streams to RunCli,
// which picks the command by its first argument and runs it on the notation
// and sound libraries. Kept apart from main() so that tests can run every
// command on strings.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace quillora {

// Exit statuses of the companion.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// All of standard input `in`, or std::nullopt after telling `err` that it
// could not be read.
std::optional<std::string> ReadStandardInput(std::istream& in,
                                             std::ostream& err);

// Runs the command named by args[0] (the program name excluded).
int RunCli(const std::vector<std::string>& args, std::istream& in,
           std::ostream& out, std::ostream& err);

}  // namespace quillora
