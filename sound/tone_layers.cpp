#include "sound/tone_layers.h"

#include <cmath>
#include <numbers>

namespace quillora {
namespace {

constexpr std::int32_t kLowestMultipliedHz = 20;
constexpr std::int32_t kHighestMultipliedHz = 20000;

// A layer value as it is added to a sample (see CycleContributions).
std::uint32_t Contribution(double v, bool eightBit) {
  return eightBit ? static_cast<std::uint32_t>(
                        static_cast<std::int64_t>(128.0 + v) - 128)
                  : static_cast<std::uint32_t>(static_cast<std::int64_t>(v));
}

// Extra tone `index`'s frequency in Hz, or 0 when it has none.
std::int32_t ExtraToneFrequency(const ToneSettings& settings, int index) {
  const double factor = settings.AMFrequencies[index];
  if (settings.AMUseMultiplier) {
    const double hz = settings.Frequency * factor;
    if (std::isnan(hz)) return 0;
    // Clamping before the truncation gives the same result as after it and
    // keeps the conversion in range.
    if (hz < kLowestMultipliedHz) return kLowestMultipliedHz;
    if (hz > kHighestMultipliedHz) return kHighestMultipliedHz;
    return static_cast<std::int32_t>(hz);
  }
  // The whole part must fit in 16 bits signed; NaN fails the test as well.
  if (!(factor > -32769.0 && factor < 32768.0)) return 0;
  return static_cast<std::int32_t>(factor);
}

}  // namespace

SampleFormat FormatOf(const ToneSettings& settings) {
  const bool eightBit = settings.Resolution == tg8Bit;
  return SampleFormat{
      .bytesPerSample = eightBit ? 1 : 2,
      .channels = settings.Stereo ? 2 : 1,
      .rate = settings.Quality == tgLoQ ? 44100 : 96000,
      .silence = static_cast<std::uint8_t>(eightBit ? 128 : 0),
  };
}

std::uint32_t DataSizeOf(const ToneSettings& settings,
                         const SampleFormat& format) {
  const std::int64_t samplesPer10Ms = format.rate / 100;
  std::int64_t size = format.bytesPerSample * std::int64_t{settings.Duration} *
                      samplesPer10Ms / 10;
  if (settings.Stereo) size *= 2;
  return size < 0 ? 0 : static_cast<std::uint32_t>(size);
}

std::vector<ToneLayer> SoundingLayers(const ToneSettings& settings,
                                      const SampleFormat& format) {
  std::int32_t amplitudeSum = 0;
  for (std::int16_t amplitude : settings.AMAmplitudes)
    amplitudeSum += amplitude;

  std::vector<ToneLayer> layers;
  auto add = [&](std::int32_t amplitude, std::int32_t frequency, TTGWave wave) {
    if (amplitude <= 0 || frequency <= 0) return;
    ToneLayer layer;
    layer.wave = wave > tgSawtooth ? tgNoise : wave;
    layer.frequency = frequency;
    const std::int64_t a = amplitude;
    layer.hi = format.EightBit() ? static_cast<double>(a * 254) / 100
                                 : static_cast<double>(a * 65534) / 100;
    layer.lo = format.EightBit() ? static_cast<double>(-127 * a) / 100
                                 : static_cast<double>(-32767 * a) / 100;
    // frequency <= 32767 < rate / 1.3, so the period exceeds 1.3 frames.
    layer.period = static_cast<double>(format.rate) / frequency;
    layer.firstCycle = static_cast<std::int64_t>(layer.period);
    layer.halfPeriod = static_cast<std::int64_t>(layer.period + 0.5) / 2;
    if (layer.wave == tgTriangle && layer.halfPeriod == 0) return;
    layers.push_back(layer);
  };

  add(100 - amplitudeSum, settings.Frequency, settings.Waveform);
  for (int i = 0; i < 8; ++i) {
    std::int32_t amplitude = settings.AMAmplitudes[i];
    if (amplitudeSum > 100) amplitude = amplitude * 100 / amplitudeSum;
    add(amplitude, ExtraToneFrequency(settings, i), settings.AMWaveforms[i]);
  }
  return layers;
}

std::vector<std::uint32_t> CycleContributions(const ToneLayer& layer,
                                              bool eightBit,
                                              std::int64_t count) {
  std::vector<std::uint32_t> values(static_cast<std::size_t>(count));
  switch (layer.wave) {
    case tgSine: {
      const double step = 2 * std::numbers::pi / layer.firstCycle;
      for (std::int64_t j = 0; j < count; ++j) {
        const double v = std::trunc(std::sin(j * step) / 2 * layer.hi);
        values[j] = Contribution(v, eightBit);
      }
      break;
    }
    case tgSquare:
      for (std::int64_t j = 0; j < count; ++j) {
        const double v = j < layer.halfPeriod ? layer.lo : layer.hi / 2;
        values[j] = Contribution(v, eightBit);
      }
      break;
    case tgTriangle: {
      // The ramp is summed step by step, exactly as a frame-by-frame walk
      // does, so that the rounding of every value is the same.
      const double step = layer.hi / layer.halfPeriod;
      double ramp = layer.lo;
      for (std::int64_t j = 0; j < count; ++j) {
        values[j] = Contribution(std::trunc(ramp), eightBit);
        if (j < layer.halfPeriod) {
          ramp += step;
        } else {
          ramp -= step;
          if (ramp < layer.lo) ramp = layer.lo;
        }
      }
      break;
    }
    case tgSawtooth: {
      const double step = layer.hi / layer.firstCycle;
      double ramp = layer.lo;
      for (std::int64_t j = 0; j < count; ++j) {
        values[j] = Contribution(std::trunc(ramp), eightBit);
        ramp += step;
      }
      break;
    }
    case tgNoise:
      break;
  }
  return values;
}

std::uint32_t NoiseRange(const ToneLayer& layer) {
  return static_cast<std::uint32_t>(layer.hi + 1);
}

}  // namespace quillora
