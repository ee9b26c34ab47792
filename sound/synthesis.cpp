#include "sound/synthesis.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <numeric>

#include "sound/noise_generator.h"
#include "sound/tone_layers.h"

// The frame-by-frame definition of a tone is: for each layer in turn, walk
// the frames, track the position j within the current cycle and add the
// layer's value of j. This file builds the same bytes in far fewer steps:
//
// - Adding is modulo 2^16 (or 2^8), so the layers can be summed in any
//   order; periodic layers are summed first, noise layers after.
// - With exact arithmetic, cycle c of a layer of f Hz ends at frame
//   floor(c * rate / f), and after f / gcd(rate, f) cycles the pattern starts
//   again at the frame rate / gcd(rate, f), a divisor of the rate. The sum
//   of all periodic layers therefore repeats after the least common multiple
//   of those lengths, at most one second. That second is rendered once and
//   then copied over the rest of the data.
// - The period is a double, and trunc(c * P) can differ from the exact
//   floor only where c * rate / f is a whole number: the error of c * P
//   stays below 1e-9 for the at most 3.2 million frames of a tone, while a
//   fraction c * rate / f that is not whole lies at least 1 / f away from
//   one. There the boundary can come one frame early; those cycles are
//   patched after the copy.
// - Noise draws a new value for every frame and is added frame by frame.

namespace quillora {
namespace {

static_assert(std::endian::native == std::endian::little,
              "samples are stored with host-order 16-bit writes");

// Reads and writes one frame of the sample data: the left sample is read,
// and a written value goes to every sample of the frame.
template <int BytesPerSample, int Channels>
struct FrameAccess {
  static constexpr int kBytesPerSample = BytesPerSample;
  static constexpr int kFrameSize = BytesPerSample * Channels;

  static std::uint32_t Left(const std::uint8_t* frame) {
    if constexpr (BytesPerSample == 2) {
      std::uint16_t sample;
      std::memcpy(&sample, frame, 2);
      return sample;
    } else {
      return frame[0];
    }
  }
  static void Write(std::uint8_t* frame, std::uint32_t value) {
    for (int channel = 0; channel < Channels; ++channel) {
      if constexpr (BytesPerSample == 2) {
        const auto sample = static_cast<std::uint16_t>(value);
        std::memcpy(frame + 2 * channel, &sample, 2);
      } else {
        frame[channel] = static_cast<std::uint8_t>(value);
      }
    }
  }
  static void Add(std::uint8_t* frame, std::uint32_t delta) {
    Write(frame, Left(frame) + delta);
  }
};

template <class Action>
void WithFrameAccess(const SampleFormat& format, Action&& action) {
  if (format.bytesPerSample == 2) {
    if (format.channels == 2) {
      action(FrameAccess<2, 2>{});
    } else {
      action(FrameAccess<2, 1>{});
    }
  } else if (format.channels == 2) {
    action(FrameAccess<1, 2>{});
  } else {
    action(FrameAccess<1, 1>{});
  }
}

// A periodic layer with what its rendering needs.
struct PeriodicLayer {
  const ToneLayer* layer;
  // The contributions of j = 0 .. trunc(P) + 1: exact cycles are trunc(P)
  // or trunc(P) + 1 frames long, and the cycle after an early end is one
  // frame longer.
  std::vector<std::uint32_t> contributions;
  std::int64_t patternFrames;  // rate / gcd(rate, f)
  std::int64_t patternCycles;  // f / gcd(rate, f)
};

PeriodicLayer PreparePeriodic(const ToneLayer& layer,
                              const SampleFormat& format) {
  const std::int64_t divisor = std::gcd(format.rate, layer.frequency);
  return PeriodicLayer{
      .layer = &layer,
      .contributions =
          CycleContributions(layer, format.EightBit(), layer.firstCycle + 2),
      .patternFrames = format.rate / divisor,
      .patternCycles = layer.frequency / divisor,
  };
}

// Exact end of cycle c: floor(c * rate / f).
std::int64_t ExactCycleEnd(std::int64_t c, const SampleFormat& format,
                           const ToneLayer& layer) {
  return c * format.rate / layer.frequency;
}

// Adds, with exact cycle boundaries, what the layer gives frames 0..count-1.
template <class Access>
void AddExactCycles(const PeriodicLayer& periodic, const SampleFormat& format,
                    std::uint8_t* data, std::int64_t count) {
  const std::uint32_t* values = periodic.contributions.data();
  std::int64_t start = 0;
  for (std::int64_t c = 1; start < count; ++c) {
    const std::int64_t end = ExactCycleEnd(c, format, *periodic.layer);
    const std::int64_t stop = std::min(end, count);
    std::uint8_t* out = data + start * Access::kFrameSize;
    for (std::int64_t j = 0; j < stop - start; ++j) {
      Access::Add(out + j * Access::kFrameSize, values[j]);
    }
    start = end;
  }
}

// Copies the first `patternBytes` of `data` over the rest of its `total`
// bytes. The pattern is first doubled up to a block that stays in the cache,
// then the block is copied.
void RepeatPattern(std::uint8_t* data, std::size_t patternBytes,
                   std::size_t total) {
  constexpr std::size_t kBlockBytes = 64 * 1024;
  std::size_t filled = std::min(patternBytes, total);
  while (filled < total && filled < kBlockBytes) {
    const std::size_t chunk = std::min(filled, total - filled);
    std::memcpy(data + filled, data, chunk);
    filled += chunk;
  }
  const std::size_t block = filled;
  while (filled < total) {
    const std::size_t chunk = std::min(block, total - filled);
    std::memcpy(data + filled, data, chunk);
    filled += chunk;
  }
}

// Writes the sum of the periodic layers (with exact boundaries) and the
// silence level into frames 0..frames-1. The layers are added in the frames
// themselves, which wrap around as the sum does, so no scratch memory is
// needed.
template <class Access>
void WritePeriodicSum(std::uint8_t* data, std::int64_t frames,
                      const std::vector<PeriodicLayer>& periodic,
                      const SampleFormat& format) {
  std::int64_t repeatFrames = 1;
  for (const PeriodicLayer& p : periodic) {
    repeatFrames = std::lcm(repeatFrames, p.patternFrames);
  }
  const std::int64_t patternFrames = std::min(repeatFrames, frames);
  for (std::int64_t i = 0; i < patternFrames; ++i) {
    Access::Write(data + i * Access::kFrameSize, format.silence);
  }
  for (const PeriodicLayer& p : periodic) {
    AddExactCycles<Access>(p, format, data, patternFrames);
  }
  RepeatPattern(data,
                static_cast<std::size_t>(patternFrames) * Access::kFrameSize,
                static_cast<std::size_t>(frames) * Access::kFrameSize);
}

// Where trunc(c * P) ends cycle c one frame before its exact end m, frame
// m - 1 already starts cycle c + 1, which grows by one frame: re-renders
// those frames. Only c that are multiples of the pattern's cycle count can
// end early (see the top of the file).
template <class Access>
void PatchEarlyBoundaries(std::uint8_t* data, std::int64_t frames,
                          const PeriodicLayer& periodic,
                          const SampleFormat& format) {
  const ToneLayer& layer = *periodic.layer;
  if (periodic.patternCycles == 1) return;  // P is whole: c * P is exact
  const std::uint32_t* values = periodic.contributions.data();
  for (std::int64_t t = 1;; ++t) {
    const std::int64_t exactEnd = t * periodic.patternFrames;
    if (exactEnd - 1 >= frames) break;
    const std::int64_t c = t * periodic.patternCycles;
    const auto end =
        static_cast<std::int64_t>(static_cast<double>(c) * layer.period);
    if (end >= exactEnd) continue;  // never later, at most one frame early
    const std::int64_t cycleStart = ExactCycleEnd(c - 1, format, layer);
    const std::int64_t nextEnd =
        std::min(ExactCycleEnd(c + 1, format, layer), frames);
    std::uint8_t* frame = data + (exactEnd - 1) * Access::kFrameSize;
    Access::Add(frame, values[0] - values[exactEnd - 1 - cycleStart]);
    for (std::int64_t i = exactEnd; i < nextEnd; ++i) {
      frame += Access::kFrameSize;
      const std::int64_t j = i - exactEnd;
      Access::Add(frame, values[j + 1] - values[j]);
    }
  }
}

// Adds a noise layer whose first draw follows `drawsBefore` earlier draws.
// Eight interleaved generator states keep the multiplications independent:
// lane l holds the state of the draws l, l + 8, l + 16, ...
template <class Access>
void AddNoise(std::uint8_t* data, std::int64_t frames, const ToneLayer& layer,
              std::uint64_t drawsBefore) {
  constexpr bool kEightBit = Access::kBytesPerSample == 1;
  constexpr int kLanes = 8;
  const std::uint32_t range = NoiseRange(layer);
  const NoiseGenerator::Step laneStep = NoiseGenerator::StepOf(kLanes);
  std::uint32_t states[kLanes];
  for (int lane = 0; lane < kLanes; ++lane) {
    states[lane] = NoiseGenerator::StepOf(drawsBefore + lane + 1).Apply(1);
  }
  std::int64_t i = 0;
  for (; i + kLanes <= frames; i += kLanes) {
    std::uint32_t contributions[kLanes];
    for (int lane = 0; lane < kLanes; ++lane) {
      contributions[lane] = NoiseContribution<kEightBit>(
          layer, NoiseGenerator::Scale(states[lane], range));
      states[lane] = laneStep.Apply(states[lane]);
    }
    for (int lane = 0; lane < kLanes; ++lane) {
      Access::Add(data + (i + lane) * Access::kFrameSize, contributions[lane]);
    }
  }
  for (int lane = 0; i < frames; ++i, ++lane) {
    Access::Add(data + i * Access::kFrameSize,
                NoiseContribution<kEightBit>(
                    layer, NoiseGenerator::Scale(states[lane], range)));
  }
}

void RenderSamples(const ToneSettings& settings, const SampleFormat& format,
                   WaveImage& image) {
  std::uint8_t* data = image.DataBuffer.get() + kWaveHeaderSize;
  const int frameSize = format.FrameSize();
  // Frames are visited while their offset is below DataSize, so a frame
  // that DataSize cuts in two is completed in the spare bytes.
  const std::int64_t frames = (image.DataSize + frameSize - 1) / frameSize;
  const std::size_t visitedBytes = static_cast<std::size_t>(frames) * frameSize;

  const std::vector<ToneLayer> layers = SoundingLayers(settings, format);
  std::vector<PeriodicLayer> periodic;
  for (const ToneLayer& layer : layers) {
    if (layer.wave != tgNoise) {
      periodic.push_back(PreparePeriodic(layer, format));
    }
  }

  WithFrameAccess(format, [&](auto access) {
    using Access = decltype(access);
    if (periodic.empty()) {
      std::memset(data, format.silence, visitedBytes);
    } else {
      WritePeriodicSum<Access>(data, frames, periodic, format);
      for (const PeriodicLayer& p : periodic) {
        PatchEarlyBoundaries<Access>(data, frames, p, format);
      }
    }
    std::uint64_t drawsBefore = 0;
    for (const ToneLayer& layer : layers) {
      if (layer.wave != tgNoise) continue;
      AddNoise<Access>(data, frames, layer, drawsBefore);
      drawsBefore += static_cast<std::uint64_t>(frames);
    }
  });
  std::memset(data + visitedBytes, format.silence,
              image.BufferSize - kWaveHeaderSize - visitedBytes);
}

}  // namespace

std::optional<WaveImage> SynthesizeWaveImage(const ToneSettings& settings) {
  WaveImage image;
  if (!SynthesizeWaveImage(settings, image)) return std::nullopt;
  return image;
}

bool SynthesizeWaveImage(const ToneSettings& settings, WaveImage& image) {
  const SampleFormat format = FormatOf(settings);
  image.Resolution = settings.Resolution;
  image.Stereo = settings.Stereo;
  image.DataSize = DataSizeOf(settings, format);
  image.BufferSize = static_cast<std::uint32_t>(
      image.DataSize + kWaveHeaderSize + kWaveSpareBytes);
  if (!image.DataBuffer || image.Capacity < image.BufferSize) {
    image.DataBuffer.reset();  // the old buffer goes before the new one comes
    image.DataBuffer.reset(new (std::nothrow) std::uint8_t[image.BufferSize]);
    image.Capacity = image.DataBuffer ? image.BufferSize : 0;
    if (!image.DataBuffer) return false;
  }

  const auto header =
      BuildWaveHeader(static_cast<std::uint16_t>(format.channels),
                      static_cast<std::uint16_t>(8 * format.bytesPerSample),
                      static_cast<std::uint32_t>(format.rate), image.DataSize);
  std::memcpy(image.DataBuffer.get(), header.data(), header.size());
  try {
    RenderSamples(settings, format, image);
  } catch (const std::bad_alloc&) {
    image.DataBuffer.reset();
    image.Capacity = 0;
    return false;
  }
  return true;
}

void ApplyEnvelope(WaveImage& image, const EnvelopeSettings& envelope) {
  ADSRWaveform(image.Samples(), image.DataSize, image.Stereo, image.Resolution,
               envelope);
}

}  // namespace quillora
