// The command line of `quillora-cli tone`, read into the settings of one
// tone generator and what to do with the tone.
//
// Unlike the tone generator's setters, which clamp silently, the command
// line refuses a value that is no number or lies out of range, naming the
// option and its range; the help text below states every rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sound/envelope.h"
#include "sound/synthesis.h"
#include "sound/tone_types.h"

namespace quillora {

// The tone command's help: usage line, options and exit statuses.
std::string ToneHelp();
// The options part of ToneHelp, also shown in the companion's main help.
extern const std::string_view kToneOptionsHelp;

struct ExtraTone {
  TTGAMLevel level = tgAMLevel1;
  std::int16_t amplitude = 0;  // % of full
  TTGWave waveform = tgSine;
  float frequency = 0;  // a multiplier of the main frequency, or Hz
};

// Everything the command line can say. The tone defaults are those of a
// new tone generator.
struct ToneOptions {
  std::int16_t frequency = ToneSettings{}.Frequency;  // Hz, also from `note`
  std::string note;  // the note name the frequency came from, or empty
  std::int16_t duration = ToneSettings{}.Duration;  // ms
  TTGWave waveform = ToneSettings{}.Waveform;
  TTGResolution resolution = ToneSettings{}.Resolution;
  TTGQuality quality = ToneSettings{}.Quality;
  bool stereo = ToneSettings{}.Stereo;
  std::vector<ExtraTone> extras;  // at most one per level, in given order
  bool extrasInHz = !ToneSettings{}.AMUseMultiplier;
  bool envelope = false;
  EnvelopeSettings envelopeShape;
  std::string outputFile;  // empty when playing
  bool play = false;
};

struct ToneCommandLine {
  enum class Kind { kRun, kHelp, kUsageError };
  Kind kind = Kind::kRun;
  ToneOptions options;  // for kRun
  std::string error;    // for kUsageError: one line, without a prefix
};

// Reads the arguments after the command name ("tone" itself excluded).
ToneCommandLine ParseToneCommandLine(const std::vector<std::string>& args);

}  // namespace quillora
