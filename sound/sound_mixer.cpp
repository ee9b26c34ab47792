#include "sound/sound_mixer.h"

#include <algorithm>
#include <utility>

namespace quillora {

SoundMixer::SoundId SoundMixer::StartSource(std::unique_ptr<FrameSource> sound,
                                            bool loop) {
  SoundId id;
  {
    std::lock_guard lock(mutex_);
    std::swap(sound_, sound);  // the old sound is freed after unlocking
    loop_ = loop;
    position_ = 0;
    id = ++currentId_;
    currentEnded_ = !sound_ || sound_->FrameCount() == 0;
  }
  soundEnded_.notify_all();
  return id;
}

SoundMixer::SoundId SoundMixer::Start(StereoFrames frames, bool loop) {
  return StartSource(StoredFrameSource(std::move(frames)), loop);
}

void SoundMixer::Stop() {
  std::unique_ptr<FrameSource> old;
  {
    std::lock_guard lock(mutex_);
    std::swap(sound_, old);
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
  const std::size_t blockFrames = block.size() / 2;
  std::size_t written = 0;
  bool endedNow = false;
  {
    std::lock_guard lock(mutex_);
    const std::size_t soundFrames =
        currentEnded_ || !sound_ ? 0 : sound_->FrameCount();
    if (!currentEnded_ && !loop_ && position_ >= soundFrames) {
      currentEnded_ = true;
      endedNow = true;
    }
    while (!currentEnded_ && written < blockFrames) {
      if (position_ >= soundFrames) {
        if (!loop_) break;
        position_ = 0;
      }
      const std::size_t count =
          std::min(blockFrames - written, soundFrames - position_);
      sound_->ReadFrames(position_, block.subspan(2 * written, 2 * count));
      position_ += count;
      written += count;
    }
  }
  ScaleFrames(block.first(2 * written), volume);
  std::fill(block.begin() + static_cast<std::ptrdiff_t>(2 * written),
            block.end(), std::int16_t{0});
  if (endedNow) soundEnded_.notify_all();
}

}  // namespace quillora
