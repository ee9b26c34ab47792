#include "cli/tone_command.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/tone_options.h"
#include "sound/tone_gen.h"

#ifdef QUILLORA_HAVE_SOUND_OUTPUT
#include "sound/sdl_sound_output.h"
#endif

namespace quillora {
namespace {

void ApplyOptions(const ToneOptions& options, TToneGen& generator) {
  if (options.note.empty()) {
    generator.SetFrequency(options.frequency);
  } else {
    generator.SetNote(options.note);
  }
  generator.SetDuration(options.duration);
  generator.SetWaveform(options.waveform);
  generator.SetResolution(options.resolution);
  generator.SetQuality(options.quality);
  generator.SetStereo(options.stereo);
  generator.SetAMMultiplier(!options.extrasInHz);
  for (const ExtraTone& tone : options.extras) {
    generator.SetAMParameter(tone.level, tone.frequency, tone.amplitude,
                             tone.waveform);
  }
  const EnvelopeSettings& shape = options.envelopeShape;
  generator.SetAttack(shape.Attack);
  generator.SetHold(shape.Hold);
  generator.SetDecay(shape.Decay);
  generator.SetSustain(shape.Sustain);
  generator.SetRelease(shape.Release);
}

#ifdef QUILLORA_HAVE_SOUND_OUTPUT
// Makes the sound device the process's sound output, once per process; the
// output then lives until the process ends. False when no device opens.
bool InstallDeviceOutput() {
  static const bool installed = [] {
    std::unique_ptr<SoundOutput> output = CreateSdlSoundOutput();
    if (!output) return false;
    InstallSoundOutput(std::move(output));
    return true;
  }();
  return installed;
}

int PlayTone(const ToneOptions& options, std::ostream& err) {
  // A generator plays through the output installed when it was made.
  if (!InstallDeviceOutput()) {
    err << "quillora-cli: no sound device could be opened\n";
    return kExitFailure;
  }
  TToneGen generator(nullptr);
  ApplyOptions(options, generator);
  generator.SetAsync(false);
  generator.SetLoop(false);
  if (options.envelope) {
    generator.PlayADSR();
  } else {
    generator.Play();
  }
  // The generator makes no sound when it could not make the tone.
  if (generator.GetDataBuffer().empty()) {
    err << "quillora-cli: not enough memory for the tone\n";
    return kExitFailure;
  }
  return kExitOk;
}
#else
int PlayTone(const ToneOptions&, std::ostream& err) {
  err << "quillora-cli: --play is not available: this quillora-cli was built "
         "without sound output\n";
  return kExitFailure;
}
#endif

int WriteTone(const ToneOptions& options, std::ostream& err) {
  TToneGen generator(nullptr);
  ApplyOptions(options, generator);
  if (options.envelope) {
    generator.PrepareADSR();
  } else {
    generator.Prepare();
  }
  if (generator.GetDataBuffer().empty()) {
    err << "quillora-cli: not enough memory for the tone\n";
    return kExitFailure;
  }
  if (!generator.ExportFile(options.outputFile)) {
    err << "quillora-cli: cannot write '" << options.outputFile << "'\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

int RunToneCommand(const std::vector<std::string>& args, std::ostream& out,
                   std::ostream& err) {
  const ToneCommandLine commandLine = ParseToneCommandLine(args);
  switch (commandLine.kind) {
    case ToneCommandLine::Kind::kHelp:
      out << ToneHelp();
      return out.good() ? kExitOk : kExitFailure;
    case ToneCommandLine::Kind::kUsageError:
      err << "quillora-cli: " << commandLine.error << "\n"
          << "Try 'quillora-cli tone --help'.\n";
      return kExitUsage;
    case ToneCommandLine::Kind::kRun:
      break;
  }
  const ToneOptions& options = commandLine.options;
  return options.play ? PlayTone(options, err) : WriteTone(options, err);
}

}  // namespace quillora
