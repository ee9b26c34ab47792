// The longest tones (32767 ms at 96000 frames per second, 16-bit), timed
// against the floor of any synthesis, a plain fill of the same number of
// bytes, and against sox writing the same tone as a whole process. After the
// usual table it prints each tone's time as a multiple of the fill's, and
// sox's time as a multiple of ours.
//
// Run: build/bench/synthesis_bench [--benchmark_repetitions=5]; with
// repetitions the summary takes each benchmark's best run.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "sound/synthesis.h"

extern char** environ;

namespace {

using quillora::ToneSettings;

constexpr std::int16_t kLongest = 32767;

ToneSettings LongestTone(quillora::TTGWave wave, std::int16_t frequency,
                         bool stereo, int extraTones) {
  ToneSettings settings;
  settings.Waveform = wave;
  settings.Frequency = frequency;
  settings.Duration = kLongest;
  settings.Stereo = stereo;
  // Extra tones at the construction multipliers 0.5 .. 4.0 of the main one.
  for (int i = 0; i < extraTones; ++i) {
    settings.AMAmplitudes[i] =
        static_cast<std::int16_t>(extraTones == 1 ? 30 : 10);
    settings.AMWaveforms[i] = i % 2 ? quillora::tgTriangle : quillora::tgSine;
  }
  return settings;
}

std::size_t ImageBytes(bool stereo) {
  return quillora::SynthesizeWaveImage(
             LongestTone(quillora::tgSine, 440, stereo, 0))
      ->BufferSize;
}

// ---- the floor: filling the same number of bytes ----

void FillHeldBuffer(benchmark::State& state, bool stereo) {
  const std::size_t bytes = ImageBytes(stereo);
  std::vector<std::uint8_t> buffer(bytes);
  int value = 0;
  for (auto _ : state) {
    std::memset(buffer.data(), ++value, bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(bytes));
}

// Allocating, filling and freeing, as a synthesis of a new image does.
void FillNewBuffer(benchmark::State& state, bool stereo) {
  const std::size_t bytes = ImageBytes(stereo);
  int value = 0;
  for (auto _ : state) {
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow)
                                               std::uint8_t[bytes]);
    std::memset(buffer.get(), ++value, bytes);
    benchmark::DoNotOptimize(buffer.get());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(bytes));
}

// ---- the synthesis ----

void Synthesize(benchmark::State& state, ToneSettings settings, bool envelope) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::optional<quillora::WaveImage> image =
        quillora::SynthesizeWaveImage(settings);
    if (envelope) quillora::ApplyEnvelope(*image, settings.Envelope);
    bytes = image->BufferSize;
    benchmark::DoNotOptimize(image->DataBuffer.get());
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(bytes));
}

// ---- the same tone written to a file, by us and by sox ----

std::filesystem::path TempDir() {
  static const std::filesystem::path dir = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "synthesis_bench.XXXXXX")
            .string();
    if (mkdtemp(pattern.data()) == nullptr) return std::filesystem::path();
    return std::filesystem::path(pattern);
  }();
  return dir;
}

// sox's synth triangle starts at its lowest level, as ours does.
void OursToFile(benchmark::State& state) {
  const ToneSettings settings =
      LongestTone(quillora::tgTriangle, 1000, false, 0);
  const std::string file = (TempDir() / "ours.wav").string();
  for (auto _ : state) {
    std::optional<quillora::WaveImage> image =
        quillora::SynthesizeWaveImage(settings);
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
      state.SkipWithError("cannot write to the temporary directory");
      break;
    }
    std::fwrite(image->DataBuffer.get(), 1, image->BufferSize, out);
    std::fclose(out);
  }
}

std::string FindSox() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t from = 0;
  while (from <= dirs.size()) {
    const std::size_t to = std::min(dirs.find(':', from), dirs.size());
    const std::string candidate = dirs.substr(from, to - from) + "/sox";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    from = to + 1;
  }
  return "";
}

void SoxToFile(benchmark::State& state) {
  const std::string sox = FindSox();
  if (sox.empty()) {
    state.SkipWithError("sox is not installed");
    return;
  }
  const std::string file = (TempDir() / "sox.wav").string();
  std::vector<std::string> args = {
      sox, "-n", "-r",    "96000",  "-b",       "16",  "-c",
      "1", file, "synth", "32.767", "triangle", "1000"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    pid_t child;
    if (posix_spawn(&child, sox.c_str(), nullptr, nullptr, argv.data(),
                    environ) != 0) {
      state.SkipWithError("cannot start sox");
      break;
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("sox failed");
      break;
    }
  }
}

// ---- registration and the summary of ratios ----

struct ToneCase {
  std::string name;
  ToneSettings settings;
  bool envelope;
};

std::vector<ToneCase> ToneCases() {
  std::vector<ToneCase> cases;
  const struct {
    const char* name;
    quillora::TTGWave wave;
    std::int16_t frequency;
  } tones[] = {{"triangle_1000Hz", quillora::tgTriangle, 1000},
               {"sine_440Hz", quillora::tgSine, 440}};
  for (const auto& tone : tones) {
    for (bool stereo : {false, true}) {
      for (int extras : {0, 1, 8}) {
        for (bool envelope : {false, true}) {
          cases.push_back(
              {std::string("Synthesis/") + tone.name +
                   (stereo ? "/stereo" : "/mono") + "/extra_tones:" +
                   std::to_string(extras) + (envelope ? "/envelope" : "/plain"),
               LongestTone(tone.wave, tone.frequency, stereo, extras),
               envelope});
        }
      }
    }
  }
  // For comparison, the costlier layers: noise draws for every frame, and
  // at 10020 Hz some cycle ends fall one frame early and are patched.
  cases.push_back({"Synthesis/noise/mono/extra_tones:0/plain",
                   LongestTone(quillora::tgNoise, 1000, false, 0), false});
  cases.push_back({"Synthesis/sawtooth_10020Hz/mono/extra_tones:0/plain",
                   LongestTone(quillora::tgSawtooth, 10020, false, 0), false});
  return cases;
}

// Keeps each benchmark's seconds per iteration, the best of its
// repetitions, while printing as usual.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred &&
          run.iterations > 0) {
        const double perIteration =
            run.real_accumulated_time / static_cast<double>(run.iterations);
        auto [entry, added] =
            seconds.try_emplace(run.benchmark_name(), perIteration);
        if (!added) entry->second = std::min(entry->second, perIteration);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

void PrintRatios(const RecordingReporter& reporter,
                 const std::vector<ToneCase>& cases) {
  auto find = [&](const std::string& name) {
    for (const auto& [key, value] : reporter.seconds) {
      if (key.rfind(name, 0) == 0) return value;
    }
    return 0.0;
  };
  std::printf("\n%-58s %9s %11s %11s\n", "tone", "ms", "x held fill",
              "x new fill");
  for (const ToneCase& c : cases) {
    const double tone = find(c.name);
    if (tone == 0) continue;
    const char* channels = c.settings.Stereo ? "stereo" : "mono";
    const double held = find(std::string("PlainFill/held/") + channels);
    const double fresh = find(std::string("PlainFill/new/") + channels);
    std::printf("%-58s %9.3f %11.2f %11.2f\n", c.name.c_str(), tone * 1e3,
                held ? tone / held : 0, fresh ? tone / fresh : 0);
  }
  const double sox = find("ToFile/sox");
  const double ours = find("ToFile/ours");
  const double oursInMemory =
      find("Synthesis/triangle_1000Hz/mono/extra_tones:0/plain");
  if (sox > 0 && ours > 0) {
    std::printf(
        "\nsox process %.3f ms; ours to file %.3f ms (sox takes %.1f x), "
        "in memory %.3f ms (sox takes %.1f x)\n",
        sox * 1e3, ours * 1e3, sox / ours, oursInMemory * 1e3,
        oursInMemory ? sox / oursInMemory : 0);
  } else {
    std::printf("\nsox: not timed\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  for (bool stereo : {false, true}) {
    const char* channels = stereo ? "stereo" : "mono";
    benchmark::RegisterBenchmark(
        (std::string("PlainFill/held/") + channels).c_str(), FillHeldBuffer,
        stereo)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        (std::string("PlainFill/new/") + channels).c_str(), FillNewBuffer,
        stereo)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  const std::vector<ToneCase> cases = ToneCases();
  for (const ToneCase& c : cases) {
    benchmark::RegisterBenchmark(c.name.c_str(), Synthesize, c.settings,
                                 c.envelope)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RegisterBenchmark("ToFile/ours", OursToFile)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("ToFile/sox", SoxToFile)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(10);

  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintRatios(reporter, cases);
  benchmark::Shutdown();
  std::error_code ignored;
  if (!TempDir().empty()) std::filesystem::remove_all(TempDir(), ignored);
  return 0;
}
