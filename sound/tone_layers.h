// The layers of a tone: which of the main tone and the eight extra tones
// sound, with what constants, and the values one cycle of a layer adds.
//
// A layer with amplitude A % and frequency f Hz has the span Hi and the
// negative peak Lo (A * 65534 / 100 and -32767 * A / 100 in 16-bit, A * 254
// / 100 and -127 * A / 100 in 8-bit) and the period P = rate / f frames. Its
// cycle c ends at frame trunc(c * P); within a cycle, the value of frame j
// depends on j alone for every waveform but noise, which draws per frame.
// Internal to the synthesis.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/synthesis.h"

namespace quillora {

struct SampleFormat {
  int bytesPerSample;    // 2 or 1
  int channels;          // 1 or 2
  std::int32_t rate;     // frames per second: 96000 or 44100
  std::uint8_t silence;  // byte value of silence: 0 or 128
  int FrameSize() const { return bytesPerSample * channels; }
  bool EightBit() const { return bytesPerSample == 1; }
};

SampleFormat FormatOf(const ToneSettings& settings);

// (bytes per sample * Duration * rate / 1000), doubled in stereo; 0 for a
// negative Duration.
std::uint32_t DataSizeOf(const ToneSettings& settings,
                         const SampleFormat& format);

struct ToneLayer {
  TTGWave wave;             // tgNoise for every value after tgSawtooth
  std::int32_t frequency;   // Hz, 1..32767
  double hi;                // span
  double lo;                // negative peak
  double period;            // frames per cycle, above 1.3
  std::int64_t firstCycle;  // trunc(period), the length of cycle 1
  std::int64_t halfPeriod;  // trunc(period + 0.5) div 2
};

// The layers that sound, in the order in which they are added: the main
// tone, then extra tones 0..7. A layer with amplitude or frequency 0 or less
// is left out, and so is a triangle whose half period is 0 frames (above
// rate / 1.5 Hz): its ramp would need an infinite step. An extra tone in Hz
// whose whole part does not fit in 16 bits signed (or that is not a number)
// has no frequency and is left out too.
std::vector<ToneLayer> SoundingLayers(const ToneSettings& settings,
                                      const SampleFormat& format);

// What frame j = 0..count-1 of a cycle adds to the sample, for a layer
// other than noise, modulo 2^32. In 16-bit a layer value v adds trunc(v);
// in 8-bit it adds trunc(128 + v) - 128.
std::vector<std::uint32_t> CycleContributions(const ToneLayer& layer,
                                              bool eightBit,
                                              std::int64_t count);

// What a noise layer's frame with `draw` = 0..trunc(hi + 1) - 1 adds.
template <bool EightBit>
std::uint32_t NoiseContribution(const ToneLayer& layer, std::uint32_t draw) {
  // hi and lo stay below 2^28 for any amplitude that 16-bit settings can
  // give, so the draw and the value fit in 32 bits signed.
  const double v = static_cast<std::int32_t>(draw) + layer.lo;
  return EightBit ? static_cast<std::uint32_t>(
                        static_cast<std::int32_t>(128.0 + v) - 128)
                  : static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
}

// The noise layer's range of draws, trunc(hi + 1).
std::uint32_t NoiseRange(const ToneLayer& layer);

}  // namespace quillora
