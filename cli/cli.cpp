#include "cli/cli.h"

#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "cli/melody_file_commands.h"
#include "cli/melody_tool_commands.h"
#include "cli/play_command.h"
#include "cli/tone_command.h"
#include "cli/tone_options.h"
#include "notation/key_sequence.h"

namespace quillora {
namespace {

constexpr std::string_view kUsage =
    "Usage: quillora-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands, each described below:\n"
    "  keys          the key presses that enter a melody into the phone\n"
    "  check         the faulty notes of a melody, with their reasons\n"
    "  play          play a melody\n"
    "  render        write what the player sounds as a WAV file\n"
    "  save          save a melody into a melody file\n"
    "  import-rtttl  a ringtone in RTTTL as a melody for the phone\n"
    "  export-rtttl  a melody as one RTTTL line\n"
    "  tone          synthesise one tone\n"
    "  help          show this text (also --help, -h)\n"
    "\n"
    "  keys [FILE.qlr]\n"
    "          Read a melody in the phone composer's notation from standard\n"
    "          input, or the melody of a melody file, and print two lines:\n"
    "          the number of notes, then the key presses that enter the\n"
    "          melody into the phone, each item followed by \", \". Faulty\n"
    "          notes show as ERROR.\n"
    "          Example: printf '8c2 4#f1 16-' | quillora-cli keys\n";

constexpr std::string_view kToneUsage =
    "\n"
    "  tone    Synthesise one tone and write it as a WAV file (-o FILE) or\n"
    "          play it (--play); the options follow below, and\n"
    "          'quillora-cli tone --help' shows them alone.\n"
    "          Example: quillora-cli tone --frequency 1000 --duration 200 \\\n"
    "                     --waveform triangle -o t.wav\n";

constexpr std::string_view kPlayUsageHeader =
    "\nCommand play [--tempo N] [--dry-run] [FILE]:\n\n";

constexpr std::string_view kSaveUsageHeader =
    "\nCommand save FILE.qlr [--title T] [--tempo N]:\n\n";

constexpr std::string_view kMelodyToolsHeader =
    "\nCommands for faults, WAV files and RTTTL:\n\n";

void PrintUsage(std::ostream& out) {
  out << kUsage << kMelodyToolsHeader << kMelodyToolsUsage << kPlayUsageHeader
      << kPlayUsage << kSaveUsageHeader << kSaveUsage << kToneUsage
      << "\nOptions of tone:\n\n"
      << kToneOptionsHelp;
}

int UsageError(std::ostream& err, std::string_view message) {
  err << "quillora-cli: " << message << "\n"
      << "Try 'quillora-cli --help'.\n";
  return kExitUsage;
}

int RunKeys(const std::vector<std::string>& args, std::istream& in,
            std::ostream& out, std::ostream& err) {
  std::optional<std::string> file;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      PrintUsage(out);
      return kExitOk;
    }
    if (file || (!args[i].empty() && args[i][0] == '-')) {
      return UsageError(err, "keys takes one melody file: '" + args[i] + "'");
    }
    file = args[i];
  }
  std::string melody;
  if (file) {
    std::optional<std::string> notes = ReadMelodyFileNotes(*file, err);
    if (!notes) return kExitFailure;
    melody = std::move(*notes);
  } else {
    std::optional<std::string> typed = ReadStandardInput(in, err);
    if (!typed) return kExitFailure;
    melody = std::move(*typed);
  }
  // One table for this run, as the window keeps one for its lifetime.
  NoteTable& table = ProgramNoteTable();
  const KeySequence sequence = GenerateKeySequence(melody, table);
  out << sequence.noteCount << "\n" << sequence.keys << "\n";
  return out.good() ? kExitOk : kExitFailure;
}

}  // namespace

std::optional<std::string> ReadStandardInput(std::istream& in,
                                             std::ostream& err) {
  std::string text{std::istreambuf_iterator<char>(in),
                   std::istreambuf_iterator<char>()};
  if (in.bad()) {
    err << "quillora-cli: cannot read standard input\n";
    return std::nullopt;
  }
  return text;
}

int RunCli(const std::vector<std::string>& args, std::istream& in,
           std::ostream& out, std::ostream& err) {
  if (args.empty()) return UsageError(err, "no command given");
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    PrintUsage(out);
    return kExitOk;
  }
  if (command == "keys") return RunKeys(args, in, out, err);
  if (command == "save") {
    return RunSaveCommand({args.begin() + 1, args.end()}, in, err);
  }
  if (command == "play") {
    return RunPlayCommand({args.begin() + 1, args.end()}, in, out, err);
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "import-rtttl") return RunImportRtttl(rest, in, out, err);
  if (command == "export-rtttl") return RunExportRtttl(rest, in, out, err);
  if (command == "check") return RunCheck(rest, in, out, err);
  if (command == "render") return RunRender(rest, in, out, err);
  if (command == "tone") {
    return RunToneCommand({args.begin() + 1, args.end()}, out, err);
  }
  return UsageError(err, "unknown command '" + command + "'");
}

}  // namespace quillora
