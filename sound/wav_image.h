// Reading the format of a RIFF PCM WAV image held in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace quillora {

struct WavFormat {
  std::uint16_t channels = 0;       // 1 or 2
  std::uint32_t sampleRate = 0;     // frames per second
  std::uint16_t bitsPerSample = 0;  // 8 (unsigned) or 16 (signed)
  // The sample data, within the image: whole frames only, clipped to the
  // image's end.
  std::span<const std::uint8_t> samples;

  std::uint32_t FrameSize() const { return channels * (bitsPerSample / 8u); }
  std::uint64_t FrameCount() const { return samples.size() / FrameSize(); }
  // Playing time in milliseconds.
  std::uint64_t DurationMs() const { return FrameCount() * 1000 / sampleRate; }
};

// The format and samples of `image`, or std::nullopt when it is not a RIFF
// WAVE image with a PCM "fmt " chunk of 1 or 2 channels at 8 or 16 bits and a
// "data" chunk. Chunks are walked by their stated sizes; nothing is read
// outside `image`.
std::optional<WavFormat> ReadWavFormat(std::span<const std::uint8_t> image);

}  // namespace quillora
