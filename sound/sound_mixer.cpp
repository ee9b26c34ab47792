#include "sound/sound_mixer.h"

#include <utility>

namespace quillora {

SoundMixer::SoundId SoundMixer::Start(StereoFrames frames, bool loop) {
  SoundId id;
  {
    std::lock_guard lock(mutex_);
    std::swap(frames_, frames);  // the old frames are freed after unlocking
    loop_ = loop;
    position_ = 0;
    id = ++currentId_;
    currentEnded_ = frames_.empty();
  }
  soundEnded_.notify_all();
  return id;
}

void SoundMixer::Stop() {
  StereoFrames old;
  {
    std::lock_guard lock(mutex_);
    std::swap(frames_, old);
    currentEnded_ = true;
  }
  soundEnded_.notify_all();
}

bool SoundMixer::HasEnded(SoundId id) const {
  std::lock_guard lock(mutex_);
  return HasEndedLocked(id);
}

void SoundMixer::WaitUntilEnded(SoundId id) {
  std::unique_lock lock(mutex_);
  soundEnded_.wait(lock, [&] { return HasEndedLocked(id); });
}

bool SoundMixer::HasEndedLocked(SoundId id) const {
  return id != currentId_ || currentEnded_;
}

std::uint32_t SoundMixer::Volume() const {
  return volume_.load(std::memory_order_relaxed);
}

void SoundMixer::SetVolume(std::uint32_t volumeWord) {
  volume_.store(volumeWord, std::memory_order_relaxed);
}

void SoundMixer::Render(std::span<std::int16_t> block) {
  const std::uint32_t volume = volume_.load(std::memory_order_relaxed);
  bool endedNow = false;
  {
    std::lock_guard lock(mutex_);
    if (!currentEnded_ && !loop_ && position_ >= frames_.size() / 2) {
      currentEnded_ = true;
      endedNow = true;
    }
    const std::span<const std::int16_t> sound =
        currentEnded_ ? std::span<const std::int16_t>() : frames_;
    RenderBlock(sound, loop_, volume, position_, block);
  }
  if (endedNow) soundEnded_.notify_all();
}

}  // namespace quillora
