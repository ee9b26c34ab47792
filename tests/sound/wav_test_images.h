// Hand-made WAV images for the sound output tests: the 44-byte RIFF PCM
// header followed by the samples.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

namespace quillora::test {

inline void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

inline void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

inline std::vector<std::uint8_t> MakeWavImage(
    std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
    std::span<const std::uint8_t> sampleBytes) {
  const auto dataSize = static_cast<std::uint32_t>(sampleBytes.size());
  const std::uint32_t blockAlign = channels * (bits / 8u);
  std::vector<std::uint8_t> image;
  PutTag(image, "RIFF");
  Put32(image, dataSize + 36);
  PutTag(image, "WAVE");
  PutTag(image, "fmt ");
  Put32(image, 16);
  Put16(image, 1);  // PCM
  Put16(image, channels);
  Put32(image, rate);
  Put32(image, rate * blockAlign);
  Put16(image, blockAlign);
  Put16(image, bits);
  PutTag(image, "data");
  Put32(image, dataSize);
  image.insert(image.end(), sampleBytes.begin(), sampleBytes.end());
  return image;
}

// 16-bit signed samples, frames interleaved by channel.
inline std::vector<std::uint8_t> MakeWav16(std::uint16_t channels,
                                           std::uint32_t rate,
                                           std::span<const std::int16_t> samples) {
  std::vector<std::uint8_t> bytes;
  for (std::int16_t sample : samples) {
    Put16(bytes, static_cast<std::uint16_t>(sample));
  }
  return MakeWavImage(channels, rate, 16, bytes);
}

// 8-bit unsigned samples (silence is 128), frames interleaved by channel.
inline std::vector<std::uint8_t> MakeWav8(std::uint16_t channels,
                                          std::uint32_t rate,
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
    wave[i] = amplitude * std::sin(2 * pi * frequency * static_cast<double>(i) /
                                   rate);
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
