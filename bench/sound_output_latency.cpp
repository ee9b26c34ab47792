// How long the SDL sound output takes from a Play call until the sound's
// first frames are mixed for the device (the audio callback), and how long
// the Play call itself takes (mostly converting the image), on SDL's dummy
// and disk drivers; also how closely each driver's pace follows real time.
//
// Prints min / median / max in milliseconds over a number of plays started
// at random points of the device's block cycle.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "sound/sdl_sound_output.h"
#include "tests/sound/wav_test_images.h"

namespace {

using Clock = std::chrono::steady_clock;
using quillora::PlayMode;
using quillora::SdlSoundOutput;

constexpr int kPlays = 40;

// A 16-bit WAV image of a full-scale 1 kHz triangle, as the tone generator
// makes them.
std::vector<std::uint8_t> TriangleImage(std::uint16_t channels,
                                        std::uint32_t rate, int milliseconds,
                                        int extraFrames = 0) {
  const std::uint32_t frames = rate * milliseconds / 1000 + extraFrames;
  const double period = rate / 1000.0;
  std::vector<std::int16_t> samples;
  for (std::uint32_t i = 0; i < frames; ++i) {
    const double phase = std::fmod(i, period) / period;  // 0..1
    const double value = phase < 0.5 ? -32767 + 4 * 32767 * phase
                                     : 32767 - 4 * 32767 * (phase - 0.5);
    samples.insert(samples.end(), channels, static_cast<std::int16_t>(value));
  }
  return quillora::test::MakeWav16(channels, rate, samples);
}

struct Figures {
  double min, median, max;
};

Figures Summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.back()};
}

void Print(const char* what, const Figures& f) {
  std::printf("    %-28s %8.2f %8.2f %8.2f\n", what, f.min, f.median, f.max);
}

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// What the audio thread reports to the measuring thread.
struct Probe {
  std::atomic<bool> armed{false};
  std::atomic<Clock::rep> soundAt{0};  // when an armed probe saw sound
  std::atomic<std::uint64_t> silentBlocks{0};
  std::atomic<std::uint64_t> frames{0};

  void OnBlock(std::span<const std::int16_t> block) {
    frames += block.size() / 2;
    const bool sounding = std::any_of(block.begin(), block.end(),
                                      [](std::int16_t s) { return s != 0; });
    if (!sounding) {
      ++silentBlocks;
    } else if (armed.exchange(false)) {
      soundAt = Clock::now().time_since_epoch().count();
    }
  }
};

template <typename Done>
bool WaitFor(Done done) {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

void MeasureDriver(const char* driver) {
  setenv("SDL_AUDIODRIVER", driver, 1);
  char diskFile[] = "/tmp/quillora-latency-XXXXXX";
  const int fd = mkstemp(diskFile);
  if (fd >= 0) close(fd);
  setenv("SDL_DISKAUDIOFILE", diskFile, 1);

  Probe probe;
  auto output = SdlSoundOutput::Open(
      [&probe](std::span<const std::int16_t> block) { probe.OnBlock(block); });
  if (!output) {
    std::printf("%s: no output opened\n", driver);
    return;
  }
  std::printf("%s driver (opened: %s, %u frames/s)\n", driver,
              output->DriverName().c_str(), output->FrameRate());

  const auto paceStart = Clock::now();
  const std::uint64_t framesBefore = probe.frames;
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const double audioMs = 1000.0 *
                         static_cast<double>(probe.frames - framesBefore) /
                         output->FrameRate();
  std::printf("  pace: %.1f ms of sound pulled in %.1f ms\n", audioMs,
              MillisecondsBetween(paceStart, Clock::now()));

  struct Case {
    const char* name;
    std::vector<std::uint8_t> image;
  };
  const Case cases[] = {
      {"200 ms beep, 96 kHz mono", TriangleImage(1, 96000, 200)},
      {"2 s note, 96 kHz mono", TriangleImage(1, 96000, 2000)},
      {"200 ms, 44.1 kHz stereo", TriangleImage(2, 44100, 200)},
      // A length whose output frames fall at thousands of different places
      // between the image's frames: the filter weights are worked out for
      // every frame.
      {"200 ms + 1 frame, 44.1 kHz st.", TriangleImage(2, 44100, 200, 1)},
      {"200 ms, 48 kHz stereo", TriangleImage(2, 48000, 200)},
  };
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> offsetUs(0, 15000);
  std::printf("    %-28s %8s %8s %8s   (ms)\n", "", "min", "median", "max");
  for (const Case& c : cases) {
    std::vector<double> callMs;
    std::vector<double> startMs;
    for (int i = 0; i < kPlays; ++i) {
      output->Stop();
      const std::uint64_t silent = probe.silentBlocks;
      if (!WaitFor([&] { return probe.silentBlocks >= silent + 2; })) break;
      std::this_thread::sleep_for(std::chrono::microseconds(offsetUs(random)));
      probe.soundAt = 0;
      probe.armed = true;
      const auto begin = Clock::now();
      output->Play(c.image, PlayMode::kAsync);
      const auto returned = Clock::now();
      if (!WaitFor([&] { return probe.soundAt != 0; })) break;
      const Clock::time_point soundAt{Clock::duration(probe.soundAt.load())};
      callMs.push_back(MillisecondsBetween(begin, returned));
      startMs.push_back(MillisecondsBetween(begin, soundAt));
    }
    if (startMs.empty()) {
      std::printf("  %s: the sound never reached the device\n", c.name);
      continue;
    }
    std::printf("  %s\n", c.name);
    Print("Play call", Summarise(callMs));
    Print("Play to first mixed block", Summarise(startMs));
  }
  output.reset();
  std::remove(diskFile);
}

}  // namespace

int main() {
  for (const char* driver : {"dummy", "disk"}) MeasureDriver(driver);
  return 0;
}
