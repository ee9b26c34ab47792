#include "cli/melody_tool_commands.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>

#include "base/text_ops.h"
#include "cli/cli.h"
#include "files/file_replacement.h"
#include "files/ini_file.h"
#include "files/melody_file.h"
#include "notation/melody_faults.h"
#include "notation/rtttl_export.h"
#include "notation/rtttl_import.h"
#include "sound/melody_render.h"

namespace quillora {
namespace {

// The command line of one command: at most one input file, options with a
// value, nothing else.
struct CommandLine {
  std::optional<std::string> file;
  std::optional<std::string> output;  // -o
  std::optional<std::string> tempo;   // --tempo
};

int UsageError(std::ostream& err, std::string_view command,
               const std::string& message) {
  err << "quillora-cli: " << command << ": " << message << "\n"
      << "Try 'quillora-cli --help'.\n";
  return kExitUsage;
}

// Reads the arguments; returns an error text, empty when they are good.
std::string ReadCommandLine(const std::vector<std::string>& args,
                            bool takesOutput, bool takesTempo,
                            CommandLine& line) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool isOutput = takesOutput && (arg == "-o" || arg == "--output");
    const bool isTempo = takesTempo && arg == "--tempo";
    if (isOutput || isTempo) {
      if (i + 1 == args.size()) return arg + " needs a value";
      (isOutput ? line.output : line.tempo) = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option '" + arg + "'";
    } else if (line.file) {
      return "only one melody file: '" + arg + "'";
    } else {
      line.file = arg;
    }
  }
  return {};
}

std::optional<std::string> ReadInput(const CommandLine& line, std::istream& in,
                                     std::ostream& err) {
  if (!line.file) return ReadStandardInput(in, err);
  FileContent content = ReadWholeFile(*line.file, kMaxMelodyFileBytes);
  switch (content.state) {
    case FileContent::State::kRead:
      return std::move(content.bytes);
    case FileContent::State::kMissing:
      err << "quillora-cli: no such file: " << *line.file << "\n";
      return std::nullopt;
    case FileContent::State::kUnusable:
      break;
  }
  err << "quillora-cli: cannot read " << *line.file << "\n";
  return std::nullopt;
}

// A melody file's three values when `text` is one (it holds any of them),
// else the text as notes with no title and tempo 120. A file named on the
// command line is read with the window's Open.
MelodyFile AsMelody(const CommandLine& line, std::string text) {
  const IniFile ini(text);
  constexpr std::string_view kAbsent = "\n";  // no value holds a line break
  bool isMelodyFile = false;
  for (const char* key : {"Title", "Notes", "Temp"}) {
    if (ini.ReadString("Melody", key, kAbsent) != kAbsent) isMelodyFile = true;
  }
  if (isMelodyFile && line.file) return LoadMelodyFile(*line.file);
  if (isMelodyFile) {
    return {ini.ReadString("Melody", "Title", ""),
            ini.ReadString("Melody", "Notes", ""),
            ini.ReadString("Melody", "Temp", "120")};
  }
  MelodyFile notes;
  notes.notes = std::move(text);
  return notes;
}

// The tempo of a melody file's text value, as the window's Play reads it.
std::int32_t TempoOf(std::string_view text) {
  return ToInt32(Trim(text)).value_or(120);
}

std::optional<MelodyFile> ReadMelody(const CommandLine& line, std::istream& in,
                                     std::ostream& err) {
  std::optional<std::string> text = ReadInput(line, in, err);
  if (!text) return std::nullopt;
  return AsMelody(line, std::move(*text));
}

}  // namespace

int RunImportRtttl(const std::vector<std::string>& args, std::istream& in,
                   std::ostream& out, std::ostream& err) {
  CommandLine line;
  if (std::string error = ReadCommandLine(args, true, false, line);
      !error.empty()) {
    return UsageError(err, "import-rtttl", error);
  }
  const std::optional<std::string> text = ReadInput(line, in, err);
  if (!text) return kExitFailure;
  const RtttlImport imported = ImportRtttl(*text);
  if (!imported.ok()) {
    err << "quillora-cli: import-rtttl: " << imported.error << "\n";
    return kExitFailure;
  }
  for (const std::string& warning : imported.warnings) {
    err << "quillora-cli: warning: " << warning << "\n";
  }
  const MelodyFile melody{imported.title, imported.notes,
                          std::to_string(imported.tempo)};
  if (line.output) {
    try {
      SaveMelodyFile(*line.output, melody);
    } catch (const FileWriteError& error) {
      err << "quillora-cli: " << error.what() << "\n";
      return kExitFailure;
    }
    return kExitOk;
  }
  // The same three values as a melody file holds them.
  IniFile file("[Melody]\n");
  file.WriteString("Melody", "Title", melody.title);
  file.WriteString("Melody", "Notes", melody.notes);
  file.WriteString("Melody", "Temp", melody.tempo);
  out << file.Content();
  return out.good() ? kExitOk : kExitFailure;
}

int RunExportRtttl(const std::vector<std::string>& args, std::istream& in,
                   std::ostream& out, std::ostream& err) {
  CommandLine line;
  if (std::string error = ReadCommandLine(args, false, false, line);
      !error.empty()) {
    return UsageError(err, "export-rtttl", error);
  }
  const std::optional<MelodyFile> melody = ReadMelody(line, in, err);
  if (!melody) return kExitFailure;
  const RtttlExport exported =
      ExportRtttl(melody->title, melody->notes, TempoOf(melody->tempo));
  if (!exported.ok()) {
    err << "quillora-cli: export-rtttl: " << exported.error << "\n";
    return kExitFailure;
  }
  out << exported.text << "\n";
  return out.good() ? kExitOk : kExitFailure;
}

int RunCheck(const std::vector<std::string>& args, std::istream& in,
             std::ostream& out, std::ostream& err) {
  CommandLine line;
  if (std::string error = ReadCommandLine(args, false, false, line);
      !error.empty()) {
    return UsageError(err, "check", error);
  }
  const std::optional<MelodyFile> melody = ReadMelody(line, in, err);
  if (!melody) return kExitFailure;
  const std::vector<MelodyFault> faults = FindMelodyFaults(melody->notes);
  for (const MelodyFault& fault : faults) out << FormatFault(fault) << "\n";
  return faults.empty() && out.good() ? kExitOk : kExitFailure;
}

int RunRender(const std::vector<std::string>& args, std::istream& in,
              std::ostream&, std::ostream& err) {
  CommandLine line;
  if (std::string error = ReadCommandLine(args, true, true, line);
      !error.empty()) {
    return UsageError(err, "render", error);
  }
  if (!line.output) return UsageError(err, "render", "-o FILE.wav is needed");
  std::optional<std::int32_t> tempo;
  if (line.tempo) {
    tempo = ToInt32(*line.tempo);
    if (!tempo) {
      return UsageError(err, "render",
                        "--tempo takes a whole number: '" + *line.tempo + "'");
    }
  }
  const std::optional<MelodyFile> melody = ReadMelody(line, in, err);
  if (!melody) return kExitFailure;

  std::ofstream file(*line.output, std::ios::binary | std::ios::trunc);
  if (!file) {
    err << "quillora-cli: Unable to write to " << *line.output << "\n";
    return kExitFailure;
  }
  const MelodyRender render = RenderMelodyWav(
      melody->notes, tempo.value_or(TempoOf(melody->tempo)), file);
  file.close();
  if (!render.ok() || !file) {
    err << "quillora-cli: Unable to write to " << *line.output;
    if (!render.ok()) err << ": " << render.error;
    err << "\n";
    std::remove(line.output->c_str());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace quillora
