#include "sound/melody_render.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <vector>

#include "base/sleeper.h"
#include "sound/midi_play_thread.h"
#include "sound/sound_output.h"
#include "sound/wav_image.h"
#include "sound/wave_header.h"

namespace quillora {
namespace {

// The format of the player's voice (16-bit mono at the high quality rate),
// used when the melody never sounds a tone.
constexpr std::uint32_t kVoiceRate = 96000;
constexpr std::uint16_t kVoiceChannels = 1;
constexpr std::uint16_t kVoiceBits = 16;

// One change of the sound: a tone starts (image >= 0) or the sound stops.
struct SoundChange {
  std::uint64_t atMilliseconds = 0;
  int image = -1;  // index into the recording's images; -1: stop
  bool loop = false;
  std::uint32_t volumeWord = 0xFFFFFFFF;
};

// A sound output and a clock that only record. Used by the player's thread
// alone; read after it has ended.
class Recording final : public SoundOutput, public Sleeper {
 public:
  void Play(std::span<const std::uint8_t> wavImage, PlayMode mode) override {
    if (!ReadWavFormat(wavImage)) {
      Stop();  // what is not a WAV image plays nothing but ends the sound
      return;
    }
    // Notes of the same pitch and length give the same image: keep one.
    std::vector<std::uint8_t> bytes(wavImage.begin(), wavImage.end());
    const auto [place, added] =
        imageIndex_.try_emplace(std::move(bytes), images_.size());
    if (added) images_.push_back(&place->first);
    changes_.push_back({now_, static_cast<int>(place->second),
                        mode == PlayMode::kLoop, volume_});
  }
  void Stop() override { changes_.push_back({now_, -1, false, volume_}); }
  bool HasSeparateChannelVolumes() const override { return true; }
  std::uint32_t Volume() const override { return volume_; }
  void SetVolume(std::uint32_t volumeWord) override { volume_ = volumeWord; }

  void SleepMilliseconds(std::int64_t milliseconds) override {
    if (milliseconds > 0) now_ += static_cast<std::uint64_t>(milliseconds);
  }

  std::uint64_t Now() const { return now_; }
  const std::vector<SoundChange>& Changes() const { return changes_; }
  std::span<const std::uint8_t> Image(int index) const {
    return *images_[static_cast<std::size_t>(index)];
  }

 private:
  std::uint64_t now_ = 0;
  std::uint32_t volume_ = 0xFFFFFFFF;
  std::map<std::vector<std::uint8_t>, std::size_t> imageIndex_;
  std::vector<const std::vector<std::uint8_t>*> images_;
  std::vector<SoundChange> changes_;
};

// Writes `frames` frames of `tone` (repeated when `loop`, else once and then
// silence) scaled by the output volume of each channel.
void WriteTone(const WavFormat& tone, bool loop, std::uint32_t volumeWord,
               std::uint64_t frames, std::ostream& out) {
  const std::uint32_t frameSize = tone.FrameSize();
  const std::uint64_t toneFrames = tone.FrameCount();
  const std::uint32_t channelVolume[2] = {volumeWord & 0xFFFF,
                                          volumeWord >> 16};
  std::vector<char> buffer;
  buffer.reserve(64 * 1024);
  std::uint64_t position = 0;
  for (std::uint64_t f = 0; f < frames; ++f) {
    const bool sounding = toneFrames > 0 && (loop || f < toneFrames);
    for (std::uint32_t c = 0; c < tone.channels; ++c) {
      const std::uint32_t volume = channelVolume[tone.channels == 1 ? 0 : c];
      if (tone.bitsPerSample == 16) {
        std::int32_t sample = 0;
        if (sounding) {
          const std::uint8_t* p =
              tone.samples.data() + position * frameSize + 2 * c;
          sample = static_cast<std::int16_t>(p[0] | (p[1] << 8));
          sample = static_cast<std::int32_t>(static_cast<std::int64_t>(sample) *
                                             volume / 0xFFFF);
        }
        buffer.push_back(static_cast<char>(sample & 0xFF));
        buffer.push_back(static_cast<char>((sample >> 8) & 0xFF));
      } else {
        std::int32_t sample = 0;
        if (sounding) {
          sample = tone.samples[position * frameSize + c] - 128;
          sample = static_cast<std::int32_t>(static_cast<std::int64_t>(sample) *
                                             volume / 0xFFFF);
        }
        buffer.push_back(static_cast<char>(sample + 128));
      }
    }
    if (sounding && ++position == toneFrames) position = 0;
    if (buffer.size() >= 60 * 1024) {
      out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      buffer.clear();
    }
  }
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}

}  // namespace

MelodyRender RenderMelodyWav(std::string_view melodyText, std::int32_t tempo,
                             std::ostream& out) {
  Recording recording;
  {
    MyMidiPlayThread player(
        true,
        {.output = &recording, .sleeper = &recording, .observer = nullptr});
    player.SetMelody(melodyText);
    player.SetTempo(tempo);
    player.Start();
    player.WaitFor();
  }

  MelodyRender result;
  result.lengthMilliseconds = recording.Now();
  result.sampleRate = kVoiceRate;
  result.channels = kVoiceChannels;
  result.bitsPerSample = kVoiceBits;
  for (const SoundChange& change : recording.Changes()) {
    if (change.image < 0) continue;
    const WavFormat tone = *ReadWavFormat(recording.Image(change.image));
    result.sampleRate = tone.sampleRate;
    result.channels = tone.channels;
    result.bitsPerSample = tone.bitsPerSample;
    break;
  }
  const std::uint32_t frameSize = result.channels * (result.bitsPerSample / 8u);
  const auto frameAt = [&](std::uint64_t milliseconds) {
    return milliseconds * result.sampleRate / 1000;
  };
  const std::uint64_t totalFrames = frameAt(result.lengthMilliseconds);
  const std::uint64_t dataSize = totalFrames * frameSize;
  if (dataSize > std::numeric_limits<std::uint32_t>::max() - 36) {
    result.error = "the melody lasts too long for a WAV file";
    return result;
  }

  const auto header =
      BuildWaveHeader(result.channels, result.bitsPerSample, result.sampleRate,
                      static_cast<std::uint32_t>(dataSize));
  out.write(reinterpret_cast<const char*>(header.data()), header.size());

  // Lay the tones out on the time line: each sounds until the next change.
  std::uint64_t written = 0;
  const std::vector<SoundChange>& changes = recording.Changes();
  for (std::size_t i = 0; i <= changes.size(); ++i) {
    const std::uint64_t until =
        i < changes.size()
            ? std::min(frameAt(changes[i].atMilliseconds), totalFrames)
            : totalFrames;
    if (until > written) {
      const SoundChange* current = i > 0 ? &changes[i - 1] : nullptr;
      WavFormat silence{
          result.channels, result.sampleRate, result.bitsPerSample, {}};
      std::optional<WavFormat> tone;
      if (current && current->image >= 0) {
        tone = ReadWavFormat(recording.Image(current->image));
        if (tone->channels != result.channels ||
            tone->bitsPerSample != result.bitsPerSample ||
            tone->sampleRate != result.sampleRate) {
          tone.reset();  // one voice, one format; never mix formats
        }
      }
      WriteTone(tone ? *tone : silence, current && current->loop,
                current ? current->volumeWord : 0xFFFFFFFF, until - written,
                out);
      written = until;
    }
  }
  if (!out) result.error = "the WAV file could not be written";
  return result;
}

}  // namespace quillora
