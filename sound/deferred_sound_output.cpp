#include "sound/deferred_sound_output.h"

#include <exception>
#include <utility>

namespace quillora {

DeferredSoundOutput::DeferredSoundOutput(
    std::function<std::unique_ptr<SoundOutput>()> open) {
  opener_ = std::thread([this, open = std::move(open)] {
    std::unique_ptr<SoundOutput> output;
    try {
      output = open();
    } catch (const std::exception&) {
      // No device: the silent output stands in.
    }
    if (!output) output = CreateSilentSoundOutput();
    std::lock_guard lock(mutex_);
    output->SetVolume(volume_);
    output_ = std::move(output);
    opened_ = true;
    openedChanged_.notify_all();
  });
}

DeferredSoundOutput::~DeferredSoundOutput() { opener_.join(); }

SoundOutput& DeferredSoundOutput::Opened() {
  std::unique_lock lock(mutex_);
  openedChanged_.wait(lock, [this] { return opened_; });
  return *output_;
}

void DeferredSoundOutput::Play(std::span<const std::uint8_t> wavImage,
                               PlayMode mode) {
  Opened().Play(wavImage, mode);
}

void DeferredSoundOutput::Stop() { Opened().Stop(); }

std::uint32_t DeferredSoundOutput::Volume() const {
  std::lock_guard lock(mutex_);
  return volume_;
}

void DeferredSoundOutput::SetVolume(std::uint32_t volumeWord) {
  std::lock_guard lock(mutex_);
  volume_ = volumeWord;
  if (opened_) output_->SetVolume(volumeWord);
}

}  // namespace quillora
