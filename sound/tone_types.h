// The enumerations of the tone generator and its synthesis. Each is held in
// one byte; the values count from 0 in the order listed, which is also the
// order in which stored window layouts number them.
#pragma once

#include <cstdint>

namespace quillora {

// A layer's waveform. Any value after tgSawtooth (possible in a stored
// layout) sounds as noise.
enum TTGWave : std::uint8_t {
  tgSine,
  tgSquare,
  tgTriangle,
  tgSawtooth,
  tgNoise,
};

// Bits per sample: 16-bit signed samples, or 8-bit unsigned samples with 128
// as silence.
enum TTGResolution : std::uint8_t {
  tg16Bit,
  tg8Bit,
};

// Sample rate: 96000 (tgHiQ) or 44100 (tgLoQ) frames per second.
enum TTGQuality : std::uint8_t {
  tgHiQ,
  tgLoQ,
};

// Which of the eight extra tones: tgAMLevel1 is index 0, tgAMLevel8 index 7.
enum TTGAMLevel : std::uint8_t {
  tgAMLevel1,
  tgAMLevel2,
  tgAMLevel3,
  tgAMLevel4,
  tgAMLevel5,
  tgAMLevel6,
  tgAMLevel7,
  tgAMLevel8,
};

}  // namespace quillora
