// The attack, hold, decay, sustain and release envelope, applied in place to
// the samples of a synthesised WAV image.
//
// The phases run in that order over the frames 0..F, F = dataSize div frame
// size; each covers its frame count n plus one frame, and the release (or,
// without one, the sustain) ends at frame F, which lies in the spare bytes
// after the sample data or is the last frame that the data cuts in two.
// Every frame's first sample x is turned into y and y is written to all of
// the frame's samples:
//   attack   y = trunc(k * x * (1 / n))                  0 -> full
//   hold     y = x
//   decay    y = x - trunc(k * x * ((100 - Sustain) / n / 100))
//   sustain  y = trunc(x * Sustain / 100)
//   release  y = trunc((n - k) * x * ((Sustain / 100) / n))   -> 0
// with k = 0..n the frame's index within its phase and the products of k and
// x exact. Shares above 100 in total are scaled down to 100 first.
#pragma once

#include <cstdint>
#include <span>

#include "sound/tone_types.h"

namespace quillora {

// The envelope's settings, each 0..100 (values outside are clamped first).
struct EnvelopeSettings {
  std::int16_t Attack = 10;   // share of the length, %
  std::int16_t Hold = 5;      // share of the length, %
  std::int16_t Decay = 20;    // share of the length, %
  std::int16_t Sustain = 50;  // level of the sustain phase, % of full
  std::int16_t Release = 30;  // share of the length, %
};

// Applies `envelope` in place. `samples` starts at the first sample and
// holds the `dataSize` bytes of sample data followed by the spare bytes, of
// the layout given by `resolution` (16-bit signed little-endian or 8-bit
// unsigned) and `stereo` (frames of left then right). Frames that would lie
// past the end of `samples` are left out; an image with its 32 spare bytes
// always holds them all.
void ADSRWaveform(std::span<std::uint8_t> samples, std::uint32_t dataSize,
                  bool stereo, TTGResolution resolution,
                  const EnvelopeSettings& envelope);

}  // namespace quillora
