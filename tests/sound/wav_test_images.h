// Hand-made WAV images for the sound output tests: the 44-byte RIFF PCM
// header followed by the samples.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace quillora::test {

// Writes `value` little-endian into `bytes` at `offset`.
inline void PutLittleEndian(std::vector<std::uint8_t>& bytes,
                            std::size_t offset, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) {
    bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

inline std::vector<std::uint8_t> MakeWavImage(
    std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
    std::span<const std::uint8_t> sampleBytes) {
  const auto dataSize = static_cast<std::uint32_t>(sampleBytes.size());
  const std::uint32_t blockAlign = channels * (bits / 8u);
  std::vector<std::uint8_t> image(44 + sampleBytes.size());
  std::memcpy(&image[0], "RIFF", 4);
  PutLittleEndian(image, 4, dataSize + 36, 4);
  std::memcpy(&image[8], "WAVEfmt ", 8);
  PutLittleEndian(image, 16, 16, 4);  // format chunk length
  PutLittleEndian(image, 20, 1, 2);   // PCM
  PutLittleEndian(image, 22, channels, 2);
  PutLittleEndian(image, 24, rate, 4);
  PutLittleEndian(image, 28, rate * blockAlign, 4);
  PutLittleEndian(image, 32, blockAlign, 2);
  PutLittleEndian(image, 34, bits, 2);
  std::memcpy(&image[36], "data", 4);
  PutLittleEndian(image, 40, dataSize, 4);
  std::copy(sampleBytes.begin(), sampleBytes.end(), image.begin() + 44);
  return image;
}

// 16-bit signed samples, frames interleaved by channel.
inline std::vector<std::uint8_t> MakeWav16(
    std::uint16_t channels, std::uint32_t rate,
    std::span<const std::int16_t> samples) {
  std::vector<std::uint8_t> bytes(2 * samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    PutLittleEndian(bytes, 2 * i, static_cast<std::uint16_t>(samples[i]), 2);
  }
  return MakeWavImage(channels, rate, 16, bytes);
}

// 8-bit unsigned samples (silence is 128), frames interleaved by channel.
inline std::vector<std::uint8_t> MakeWav8(
    std::uint16_t channels, std::uint32_t rate,
    std::span<const std::uint8_t> samples) {
  return MakeWavImage(channels, rate, 8, samples);
}

// `frames` samples of a sine of `frequency` Hz and peak `amplitude`,
// starting at phase 0.
inline std::vector<double> Sine(double frequency, std::uint32_t rate,
                                std::size_t frames, double amplitude) {
  const double pi = std::acos(-1.0);
  std::vector<double> wave(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    wave[i] = amplitude *
              std::sin(2 * pi * frequency * static_cast<double>(i) / rate);
  }
  return wave;
}

inline std::vector<std::int16_t> ToSamples16(const std::vector<double>& wave) {
  std::vector<std::int16_t> samples;
  for (double value : wave) {
    samples.push_back(static_cast<std::int16_t>(std::lround(value)));
  }
  return samples;
}

// An 8-bit image's samples of `wave`, whose values are at 8-bit scale.
inline std::vector<std::uint8_t> ToSamples8(const std::vector<double>& wave) {
  std::vector<std::uint8_t> samples;
  for (double value : wave) {
    samples.push_back(static_cast<std::uint8_t>(128 + std::lround(value)));
  }
  return samples;
}

}  // namespace quillora::test
