#include "sound/sound_output.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "sound/pcm_convert.h"
#include "sound/wav_image.h"

namespace quillora {
namespace {

// Plays nothing, but a waiting play still takes the sound's real time and
// ends early when another play or a stop ends the sound, as a real output
// would.
class SilentSoundOutput final : public SoundOutput {
 public:
  void Play(std::span<const std::uint8_t> wavImage, PlayMode mode) override {
    std::unique_lock lock(mutex_);
    ++generation_;
    changed_.notify_all();
    const std::optional<WavFormat> format = ReadWavFormat(wavImage);
    if (!format || !IsConvertibleRate(format->sampleRate) ||
        mode != PlayMode::kWait) {
      return;
    }
    const std::uint64_t mine = generation_;
    changed_.wait_for(lock, std::chrono::milliseconds(format->DurationMs()),
                      [&] { return generation_ != mine; });
  }
  void Stop() override {
    std::lock_guard lock(mutex_);
    ++generation_;
    changed_.notify_all();
  }
  bool HasSeparateChannelVolumes() const override { return true; }
  std::uint32_t Volume() const override {
    std::lock_guard lock(mutex_);
    return volume_;
  }
  void SetVolume(std::uint32_t volumeWord) override {
    std::lock_guard lock(mutex_);
    volume_ = volumeWord;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t generation_ = 0;
  std::uint32_t volume_ = 0xFFFFFFFF;
};

// Never destroyed: a player thread may still play while the process exits.
std::unique_ptr<SoundOutput>& InstalledOutput() {
  static auto* output =
      new std::unique_ptr<SoundOutput>(std::make_unique<SilentSoundOutput>());
  return *output;
}

}  // namespace

std::unique_ptr<SoundOutput> CreateSilentSoundOutput() {
  return std::make_unique<SilentSoundOutput>();
}

SoundOutput& ProcessSoundOutput() { return *InstalledOutput(); }

void InstallSoundOutput(std::unique_ptr<SoundOutput> output) {
  if (output) InstalledOutput() = std::move(output);
}

}  // namespace quillora
