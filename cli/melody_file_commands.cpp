#include "cli/melody_file_commands.h"

#include <iostream>

#include "base/text_ops.h"
#include "cli/cli.h"
#include "files/file_replacement.h"
#include "files/melody_file.h"

namespace quillora {

std::optional<std::string> ReadMelodyFileNotes(const std::string& path,
                                               std::ostream& err) {
  // A melody file that is not there reads as an empty melody in the window;
  // a script is better told.
  switch (ReadWholeFile(path, kMaxMelodyFileBytes).state) {
    case FileContent::State::kRead:
      return LoadMelodyFile(path).notes;
    case FileContent::State::kMissing:
      err << "quillora-cli: no such file: " << path << "\n";
      return std::nullopt;
    case FileContent::State::kUnusable:
      break;
  }
  err << "quillora-cli: cannot read " << path << " as a melody file\n";
  return std::nullopt;
}

int RunSaveCommand(const std::vector<std::string>& args, std::istream& in,
                   std::ostream& err) {
  auto usageError = [&err](const std::string& message) {
    err << "quillora-cli: " << message << "\n"
        << "Try 'quillora-cli --help'.\n";
    return kExitUsage;
  };
  std::optional<std::string> path;
  MelodyFile melody;  // the window's fields at start-up: no title, tempo 120
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--title" || arg == "--tempo") {
      if (i + 1 == args.size()) return usageError(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--title") {
        melody.title = value;
      } else if (value.empty() || ToInt32(value)) {
        // The window's tempo field holds a whole number or nothing.
        melody.tempo = value;
      } else {
        return usageError("--tempo takes a whole number: '" + value + "'");
      }
    } else if (!arg.empty() && arg[0] == '-') {
      return usageError("save has no option '" + arg + "'");
    } else if (path) {
      return usageError("save takes one file: '" + arg + "'");
    } else {
      path = arg;
    }
  }
  if (!path) return usageError("save needs a file name");

  const std::optional<std::string> typed = ReadStandardInput(in, err);
  if (!typed) return kExitFailure;
  melody.notes = FlattenMelodyText(*typed);
  try {
    SaveMelodyFile(*path, melody);
  } catch (const FileWriteError& error) {
    err << "quillora-cli: " << error.what() << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace quillora
