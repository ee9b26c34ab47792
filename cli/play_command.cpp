#include "cli/play_command.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "sound/midi_play_thread.h"

#ifdef QUILLORA_HAVE_SOUND_OUTPUT
#include "sound/sdl_sound_output.h"
#endif

namespace quillora {
namespace {

struct PlayOptions {
  std::int32_t tempo = 120;
  bool dryRun = false;
  std::optional<std::string> file;
};

// Writes what the player does, one line per step, and never waits. Runs on
// the player's thread while the command's thread waits for it.
class DryRunLog final : public PlayerObserver, public Sleeper {
 public:
  explicit DryRunLog(std::ostream& out) : out_(out) {}

  void GeneratorPlayed(std::int16_t frequency, std::int16_t duration) override {
    out_ << "play " << frequency << " " << duration << "\n";
  }
  void GeneratorStopped() override { out_ << "stop\n"; }
  void SleepMilliseconds(std::int64_t milliseconds) override {
    out_ << "sleep " << milliseconds << "\n";
  }

 private:
  std::ostream& out_;
};

// Sounds nothing and returns at once.
class MuteOutput final : public SoundOutput {
 public:
  void Play(std::span<const std::uint8_t>, PlayMode) override {}
  void Stop() override {}
  bool HasSeparateChannelVolumes() const override { return true; }
  std::uint32_t Volume() const override { return volume_; }
  void SetVolume(std::uint32_t volumeWord) override { volume_ = volumeWord; }

 private:
  std::uint32_t volume_ = 0xFFFFFFFF;
};

int UsageError(std::ostream& err, const std::string& message) {
  err << "quillora-cli: play: " << message << "\n"
      << "Try 'quillora-cli --help'.\n";
  return kExitUsage;
}

std::optional<std::int32_t> ParseTempo(const std::string& text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [next, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || next != end) return std::nullopt;
  return value;
}

void PlayMelody(const std::string& melody, std::int32_t tempo,
                PlayerEnvironment environment) {
  MyMidiPlayThread player(true, environment);
  player.SetMelody(melody);
  player.SetTempo(tempo);
  player.SetPriority(ThreadPriority::kTimeCritical);
  player.Start();
  player.WaitFor();
}

int PlayOnDevice(const std::string& melody, std::int32_t tempo,
                 std::ostream& err) {
#ifdef QUILLORA_HAVE_SOUND_OUTPUT
  std::unique_ptr<SoundOutput> output = CreateSdlSoundOutput();
  if (!output) {
    err << "quillora-cli: no sound device could be opened\n";
    return kExitFailure;
  }
  PlayMelody(melody, tempo, {.output = output.get()});
  return kExitOk;
#else
  (void)melody;
  (void)tempo;
  err << "quillora-cli: play is not available: this quillora-cli was built "
         "without a sound output (try --dry-run)\n";
  return kExitFailure;
#endif
}

}  // namespace

int RunPlayCommand(const std::vector<std::string>& args, std::istream& in,
                   std::ostream& out, std::ostream& err) {
  PlayOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      out << "Usage: quillora-cli play [--tempo N] [--dry-run] [FILE]\n\n"
          << kPlayUsage;
      return kExitOk;
    }
    if (arg == "--dry-run") {
      options.dryRun = true;
    } else if (arg == "--tempo") {
      if (i + 1 == args.size()) return UsageError(err, "--tempo needs a value");
      const std::optional<std::int32_t> tempo = ParseTempo(args[++i]);
      if (!tempo) {
        return UsageError(err,
                          "--tempo takes a whole number: '" + args[i] + "'");
      }
      options.tempo = *tempo;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError(err, "unknown option '" + arg + "'");
    } else if (options.file) {
      return UsageError(err, "only one melody file: '" + arg + "'");
    } else {
      options.file = arg;
    }
  }

  std::string melody;
  if (options.file) {
    std::ifstream file(*options.file, std::ios::binary);
    melody.assign(std::istreambuf_iterator<char>(file),
                  std::istreambuf_iterator<char>());
    if (!file.is_open() || file.bad()) {
      err << "quillora-cli: cannot read " << *options.file << "\n";
      return kExitFailure;
    }
  } else {
    std::optional<std::string> typed = ReadStandardInput(in, err);
    if (!typed) return kExitFailure;
    melody = std::move(*typed);
  }

  if (!options.dryRun) return PlayOnDevice(melody, options.tempo, err);
  MuteOutput mute;
  DryRunLog log(out);
  PlayMelody(melody, options.tempo,
             {.output = &mute, .sleeper = &log, .observer = &log});
  return out.good() ? kExitOk : kExitFailure;
}

}  // namespace quillora
