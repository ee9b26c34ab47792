// The 44-byte header of a RIFF PCM WAV image.
//
// Layout, all numbers little-endian: "RIFF", dataSize + 36, "WAVE", "fmt ",
// 16, 1 (PCM), channels, sample rate, bytes per second, block alignment,
// bits per sample, "data", dataSize. The samples follow at offset 44.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quillora {

inline constexpr std::size_t kWaveHeaderSize = 44;

// The header for `dataSize` bytes of samples with `channels` (1 or 2)
// channels of `bitsPerSample` (8 or 16) bits at `sampleRate` frames per
// second. Bytes per second and block alignment are derived from these.
std::array<std::uint8_t, kWaveHeaderSize> BuildWaveHeader(
    std::uint16_t channels, std::uint16_t bitsPerSample,
    std::uint32_t sampleRate, std::uint32_t dataSize);

}  // namespace quillora
