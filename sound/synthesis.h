// Tone synthesis: from a tone generator's settings to a WAV image in memory.
//
// Data flow: ToneSettings -> SynthesizeWaveImage. The sample data is sized
// from Duration, Resolution, Quality and Stereo; the block of header, data
// and 32 spare bytes is filled with the silence level and starts with the
// header of wave_header.h. Nine layers are then added into every frame of
// the data, with wrap-around: the main tone, whose amplitude is what the
// extra tones leave of 100 %, and the eight extra tones. A layer is a
// waveform cut into cycles of the layer's period (cycle c ends at frame
// trunc(c * P)), or noise from a generator that restarts with every
// synthesis. Stereo frames hold two equal samples. The caller may then
// shape the samples with the envelope (envelope.h, ApplyEnvelope below) and
// owns the image: the tone generator keeps it, plays it and writes it out.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "sound/envelope.h"
#include "sound/tone_types.h"
#include "sound/wave_header.h"

namespace quillora {

// Bytes after the sample data, set to the silence level. The last frame of
// the synthesis and of the envelope may reach into them.
inline constexpr std::size_t kWaveSpareBytes = 32;

// Everything the synthesis reads. The defaults are a new tone generator's.
// The tone generator's setters keep the values in the ranges given; the
// synthesis copes with any value without undefined behaviour.
struct ToneSettings {
  std::int16_t Frequency = 440;  // main tone, Hz, 20..20000
  std::int16_t Duration = 100;   // ms, 10..32767 (below 0 counts as 0)
  TTGWave Waveform = tgSine;
  TTGResolution Resolution = tg16Bit;
  TTGQuality Quality = tgHiQ;
  bool Stereo = false;  // two equal channels
  // The extra tones' frequencies are multipliers of Frequency (the result
  // clamped to 20..20000 Hz), else whole Hz.
  bool AMUseMultiplier = true;
  // The eight extra tones, indexed by TTGAMLevel. Amplitudes in %, normally
  // 0..100; when they sum to more than 100 each is scaled down in proportion
  // and the main tone is silent.
  std::array<std::int16_t, 8> AMAmplitudes{};
  std::array<TTGWave, 8> AMWaveforms{};
  std::array<float, 8> AMFrequencies{0.5f, 1.0f, 1.5f, 2.0f,
                                     2.5f, 3.0f, 3.5f, 4.0f};
  EnvelopeSettings Envelope;
};

// A WAV image: the 44-byte header, DataSize bytes of samples and the spare
// bytes. BufferSize = DataSize + 76.
struct WaveImage {
  std::unique_ptr<std::uint8_t[]> DataBuffer;
  std::uint32_t BufferSize = 0;
  std::uint32_t DataSize = 0;
  // Bytes allocated at DataBuffer, at least BufferSize.
  std::uint32_t Capacity = 0;
  // The sample layout the image was made with.
  TTGResolution Resolution = tg16Bit;
  bool Stereo = false;

  std::span<const std::uint8_t> Bytes() const {
    return {DataBuffer.get(), BufferSize};
  }
  // The sample data and the spare bytes after it.
  std::span<std::uint8_t> Samples() {
    return {DataBuffer.get() + kWaveHeaderSize, BufferSize - kWaveHeaderSize};
  }
};

// Builds the image of `settings` without the envelope. Returns std::nullopt,
// and allocates nothing that outlives the call, when memory runs out. The
// same settings always give the same bytes.
std::optional<WaveImage> SynthesizeWaveImage(const ToneSettings& settings);

// The same image, built in `image`'s buffer when its Capacity holds it, so
// that a tone made again and again touches no fresh memory. Every byte of
// the new image is written; what the buffer held before does not matter.
// Returns false, and leaves `image` without a buffer, when memory runs out.
bool SynthesizeWaveImage(const ToneSettings& settings, WaveImage& image);

// Applies `envelope` to the samples of `image` (ADSRWaveform with the
// image's layout).
void ApplyEnvelope(WaveImage& image, const EnvelopeSettings& envelope);

}  // namespace quillora
