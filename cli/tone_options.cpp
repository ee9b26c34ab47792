#include "cli/tone_options.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "sound/note_frequency.h"

namespace quillora {

const std::string_view kToneOptionsHelp =
    "Tone:\n"
    "  -f, --frequency HZ    main tone's frequency, 20..20000 Hz\n"
    "                        (default 440)\n"
    "  -n, --note NAME       the main tone's frequency as a note name, in\n"
    "                        place of --frequency: a letter A..G, then # or\n"
    "                        + (sharp) or - (flat) if wanted, after an\n"
    "                        optional octave O0..O9 (default O4) or a run\n"
    "                        of < and > (an octave down, up); or N and a\n"
    "                        note number 0..121. Octaves run from A to G#;\n"
    "                        O4A, N48, is 440 Hz.\n"
    "                        Examples: A, C#, B-, O3A, <G, N48\n"
    "  -d, --duration MS     length, 10..32767 ms (default 100)\n"
    "  -w, --waveform WAVE   sine, square, triangle, sawtooth or noise\n"
    "                        (default sine)\n"
    "      --resolution BITS 16 or 8 bits per sample (default 16)\n"
    "      --quality Q       sample rate hi (96000 Hz) or lo (44100 Hz)\n"
    "                        (default hi)\n"
    "      --stereo          two equal channels (default mono)\n"
    "\n"
    "Extra tones, mixed into the main tone:\n"
    "      --extra LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY\n"
    "                        one of eight extra tones; repeat for more.\n"
    "                        LEVEL 1..8, each at most once; AMPLITUDE\n"
    "                        0..100 % of full, taken from the main tone's\n"
    "                        share; WAVEFORM as for --waveform; FREQUENCY\n"
    "                        a decimal multiplier of the main frequency,\n"
    "                        the product 20..20000 Hz.\n"
    "                        Example: --extra 1:30:sine:2\n"
    "      --extra-hz        every FREQUENCY of --extra is in Hz instead,\n"
    "                        20..20000\n"
    "  When the amplitudes add up to 100 or more, the main tone is silent\n"
    "  and the extra tones share the full level in proportion.\n"
    "\n"
    "Envelope:\n"
    "      --envelope        shape the tone by the five values below,\n"
    "                        which need --envelope\n"
    "      --attack PERCENT  rise from silence to full, % of the length\n"
    "                        (default 10)\n"
    "      --hold PERCENT    stay at full, % of the length (default 5)\n"
    "      --decay PERCENT   fall to the sustain level, % of the length\n"
    "                        (default 20)\n"
    "      --sustain PERCENT the sustain level, % of full (default 50)\n"
    "      --release PERCENT fall to silence, % of the length (default 30)\n"
    "  Each value is 0..100. The sustain lasts what attack, hold, decay\n"
    "  and release leave of the length; when they add up to more than 100\n"
    "  they are scaled down to 100 and there is no sustain.\n"
    "\n"
    "Output, exactly one of:\n"
    "  -o, --output FILE     write the tone to FILE as a WAV file,\n"
    "                        replacing any file of that name; 32 bytes of\n"
    "                        silence follow the samples\n"
    "  -p, --play            play the tone and return at its end\n"
    "\n"
    "  -h, --help            show this text\n"
    "\n"
    "Values go as '--name VALUE' or '--name=VALUE', '-f VALUE' or\n"
    "'-fVALUE'. A later option replaces an earlier one of the same name,\n"
    "except --extra.\n";

std::string ToneHelp() {
  return "Usage: quillora-cli tone [OPTIONS] (-o FILE | --play)\n"
         "\n"
         "Synthesise one tone with the tone generator and write it as a WAV\n"
         "file or play it.\n"
         "\n" +
         std::string(kToneOptionsHelp) +
         "\n"
         "Example: quillora-cli tone --frequency 1000 --duration 200 \\\n"
         "           --waveform triangle -o t.wav\n"
         "\n"
         "Exit status: 0 done, 1 the file could not be written or the tone\n"
         "not played, 2 a faulty command line.\n";
}

namespace {

// A faulty command line; caught in ParseToneCommandLine.
struct UsageProblem : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// `text` as a whole decimal number in minimum..maximum; `what` names the
// value in messages, `unit` follows the range ("Hz", or empty).
std::int16_t WholeNumber(std::string_view what, std::string_view text,
                         std::int16_t minimum, std::int16_t maximum,
                         std::string_view unit) {
  std::int64_t value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value);
  // A number too large for `value` is still read to its end.
  const bool whole = !text.empty() && end == text.data() + text.size();
  if (!whole) {
    throw UsageProblem(std::string(what) + ": " + Quoted(text) +
                       " is not a whole number");
  }
  if (error == std::errc::result_out_of_range || value < minimum ||
      value > maximum) {
    std::string range =
        std::to_string(minimum) + ".." + std::to_string(maximum);
    if (!unit.empty()) range += " " + std::string(unit);
    throw UsageProblem(std::string(what) + " must be " + range + ", not " +
                       Quoted(text));
  }
  return static_cast<std::int16_t>(value);
}

// `text` as a finite decimal number such as 2, 0.5 or 1.25.
double DecimalNumber(std::string_view what, std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(
      text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (text.empty() || error != std::errc() ||
      end != text.data() + text.size() || !std::isfinite(value)) {
    throw UsageProblem(std::string(what) + ": " + Quoted(text) +
                       " is not a number");
  }
  return value;
}

TTGWave WaveformNamed(std::string_view what, std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, TTGWave>, 5> kNames{
      {{"sine", tgSine},
       {"square", tgSquare},
       {"triangle", tgTriangle},
       {"sawtooth", tgSawtooth},
       {"noise", tgNoise}}};
  for (const auto& [known, waveform] : kNames) {
    if (name == known) return waveform;
  }
  throw UsageProblem(std::string(what) + " must be sine, square, triangle, " +
                     "sawtooth or noise, not " + Quoted(name));
}

// One --extra value, LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY. The frequency is
// checked once the whole command line is known (see CheckExtraFrequency).
ExtraTone ExtraToneFrom(std::string_view text) {
  std::array<std::string_view, 4> fields;
  std::string_view rest = text;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::size_t colon = rest.find(':');
    const bool last = i + 1 == fields.size();
    if (last != (colon == std::string_view::npos)) {
      throw UsageProblem("--extra " + Quoted(text) +
                         " must be LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY");
    }
    fields[i] = rest.substr(0, colon);
    if (!last) rest.remove_prefix(colon + 1);
  }
  ExtraTone tone;
  tone.level = static_cast<TTGAMLevel>(
      WholeNumber("--extra LEVEL", fields[0], 1, 8, "") - 1);
  tone.amplitude = WholeNumber("--extra AMPLITUDE", fields[1], 0, 100, "%");
  tone.waveform = WaveformNamed("--extra WAVEFORM", fields[2]);
  const double frequency = DecimalNumber("--extra FREQUENCY", fields[3]);
  // Above 20000 no value is in range, neither as Hz nor as a multiplier of
  // a main frequency of at least 20 Hz.
  if (frequency <= 0 || frequency > 20000) {
    throw UsageProblem("--extra FREQUENCY must be above 0 and at most " +
                       std::string("20000, not ") + Quoted(fields[3]));
  }
  tone.frequency = static_cast<float>(frequency);
  return tone;
}

// The frequency the synthesis will give the extra tone must lie in the range
// it would otherwise clamp to (multipliers) or could not hold (Hz).
void CheckExtraFrequency(const ExtraTone& tone, const ToneOptions& options) {
  std::ostringstream problem;
  problem << "--extra level " << tone.level + 1 << ": FREQUENCY "
          << tone.frequency;
  if (options.extrasInHz) {
    if (tone.frequency >= 20 && tone.frequency <= 20000) return;
    problem << " must be 20..20000 Hz with --extra-hz";
  } else {
    const double hertz =
        std::trunc(options.frequency * static_cast<double>(tone.frequency));
    if (hertz >= 20 && hertz <= 20000) return;
    problem << " times the main frequency of " << options.frequency
            << " Hz gives " << std::fixed << std::setprecision(0) << hertz
            << " Hz; it must give 20..20000 Hz";
  }
  throw UsageProblem(problem.str());
}

// What an option's value does to the options.
using ApplyValue = void (*)(ToneOptions&, std::string_view value);

struct KnownOption {
  std::string_view longName;  // without the leading "--"
  char shortName;             // '\0' for none
  bool takesValue;
  ApplyValue apply;
};

constexpr std::string_view kHelpOption = "help";

const std::array<KnownOption, 18> kOptions{{
    {"frequency", 'f', true,
     [](ToneOptions& o, std::string_view v) {
       o.frequency = WholeNumber("--frequency", v, 20, 20000, "Hz");
     }},
    {"note", 'n', true,
     [](ToneOptions& o, std::string_view v) {
       std::int32_t octave = 4;  // a new generator's octave memory
       const std::int32_t hertz = ParseNoteFrequency(v, octave);
       if (hertz == 0) {
         throw UsageProblem("--note " + Quoted(v) +
                            " is no note name of 20..20000 Hz (such as A, "
                            "C#, O3A, <G, N48)");
       }
       o.note = std::string(v);
       o.frequency = static_cast<std::int16_t>(hertz);
     }},
    {"duration", 'd', true,
     [](ToneOptions& o, std::string_view v) {
       o.duration = WholeNumber("--duration", v, 10, 32767, "ms");
     }},
    {"waveform", 'w', true,
     [](ToneOptions& o, std::string_view v) {
       o.waveform = WaveformNamed("--waveform", v);
     }},
    {"resolution", '\0', true,
     [](ToneOptions& o, std::string_view v) {
       if (v == "16") {
         o.resolution = tg16Bit;
       } else if (v == "8") {
         o.resolution = tg8Bit;
       } else {
         throw UsageProblem("--resolution must be 16 or 8, not " + Quoted(v));
       }
     }},
    {"quality", '\0', true,
     [](ToneOptions& o, std::string_view v) {
       if (v == "hi") {
         o.quality = tgHiQ;
       } else if (v == "lo") {
         o.quality = tgLoQ;
       } else {
         throw UsageProblem("--quality must be hi or lo, not " + Quoted(v));
       }
     }},
    {"stereo", '\0', false,
     [](ToneOptions& o, std::string_view) { o.stereo = true; }},
    {"extra", '\0', true,
     [](ToneOptions& o, std::string_view v) {
       const ExtraTone tone = ExtraToneFrom(v);
       for (const ExtraTone& earlier : o.extras) {
         if (earlier.level == tone.level) {
           throw UsageProblem("--extra level " +
                              std::to_string(tone.level + 1) +
                              " is given twice");
         }
       }
       o.extras.push_back(tone);
     }},
    {"extra-hz", '\0', false,
     [](ToneOptions& o, std::string_view) { o.extrasInHz = true; }},
    {"envelope", '\0', false,
     [](ToneOptions& o, std::string_view) { o.envelope = true; }},
    {"attack", '\0', true,
     [](ToneOptions& o, std::string_view v) {
       o.envelopeShape.Attack = WholeNumber("--attack", v, 0, 100, "%");
     }},
    {"hold", '\0', true,
     [](ToneOptions& o, std::string_view v) {
       o.envelopeShape.Hold = WholeNumber("--hold", v, 0, 100, "%");
     }},
    {"decay", '\0', true,
     [](ToneOptions& o, std::string_view v) {
       o.envelopeShape.Decay = WholeNumber("--decay", v, 0, 100, "%");
     }},
    {"sustain", '\0', true,
     [](ToneOptions& o, std::string_view v) {
       o.envelopeShape.Sustain = WholeNumber("--sustain", v, 0, 100, "%");
     }},
    {"release", '\0', true,
     [](ToneOptions& o, std::string_view v) {
       o.envelopeShape.Release = WholeNumber("--release", v, 0, 100, "%");
     }},
    {"output", 'o', true,
     [](ToneOptions& o, std::string_view v) {
       if (v.empty()) throw UsageProblem("--output needs a file name");
       o.outputFile = std::string(v);
     }},
    {"play", 'p', false,
     [](ToneOptions& o, std::string_view) { o.play = true; }},
    {kHelpOption, 'h', false, nullptr},
}};

const KnownOption* FindLong(std::string_view name) {
  for (const KnownOption& known : kOptions) {
    if (known.longName == name) return &known;
  }
  return nullptr;
}

const KnownOption* FindShort(char name) {
  for (const KnownOption& known : kOptions) {
    if (known.shortName != '\0' && known.shortName == name) return &known;
  }
  return nullptr;
}

bool IsEnvelopeValue(const KnownOption& known) {
  for (std::string_view name :
       {"attack", "hold", "decay", "sustain", "release"}) {
    if (known.longName == name) return true;
  }
  return false;
}

// The checks that need the whole command line.
void CheckCombination(const ToneOptions& options, bool frequencyGiven,
                      const KnownOption* envelopeValueGiven) {
  if (frequencyGiven && !options.note.empty()) {
    throw UsageProblem("give either --frequency or --note, not both");
  }
  if (envelopeValueGiven != nullptr && !options.envelope) {
    throw UsageProblem("--" + std::string(envelopeValueGiven->longName) +
                       " needs --envelope");
  }
  for (const ExtraTone& tone : options.extras) {
    CheckExtraFrequency(tone, options);
  }
  if (options.play && !options.outputFile.empty()) {
    throw UsageProblem("give either --output or --play, not both");
  }
  if (!options.play && options.outputFile.empty()) {
    throw UsageProblem("tone needs --output FILE or --play");
  }
}

}  // namespace

ToneCommandLine ParseToneCommandLine(const std::vector<std::string>& args) {
  ToneCommandLine result;
  ToneOptions& options = result.options;
  bool frequencyGiven = false;
  const KnownOption* envelopeValueGiven = nullptr;
  try {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string_view arg = args[i];
      const KnownOption* known = nullptr;
      std::optional<std::string_view> attached;  // "--name=VALUE", "-fVALUE"
      if (arg.starts_with("--")) {
        const std::string_view name = arg.substr(2, arg.find('=') - 2);
        if (name.size() + 2 < arg.size()) {
          attached = arg.substr(name.size() + 3);
        }
        known = FindLong(name);
        if (known == nullptr) {
          throw UsageProblem("unknown option " +
                             Quoted(arg.substr(0, name.size() + 2)));
        }
        if (!known->takesValue && attached) {
          throw UsageProblem("option '--" + std::string(name) +
                             "' takes no value");
        }
      } else if (arg.size() >= 2 && arg[0] == '-') {
        known = FindShort(arg[1]);
        if (known == nullptr || (!known->takesValue && arg.size() > 2)) {
          throw UsageProblem("unknown option " + Quoted(arg));
        }
        if (arg.size() > 2) attached = arg.substr(2);
      } else {
        throw UsageProblem("unexpected argument " + Quoted(arg));
      }

      if (known->longName == kHelpOption) {
        result.kind = ToneCommandLine::Kind::kHelp;
        return result;
      }
      std::string_view value;
      if (known->takesValue) {
        if (attached) {
          value = *attached;
        } else if (i + 1 < args.size()) {
          value = args[++i];
        } else {
          throw UsageProblem("option '--" + std::string(known->longName) +
                             "' needs a value");
        }
      }
      known->apply(options, value);
      if (known->longName == "frequency") frequencyGiven = true;
      if (IsEnvelopeValue(*known) && envelopeValueGiven == nullptr) {
        envelopeValueGiven = known;
      }
    }
    CheckCombination(options, frequencyGiven, envelopeValueGiven);
  } catch (const UsageProblem& problem) {
    result.kind = ToneCommandLine::Kind::kUsageError;
    result.error = problem.what();
  }
  return result;
}

}  // namespace quillora
