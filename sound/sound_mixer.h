// The single current sound of a sound output, shared between the threads
// that play and stop sounds and the device thread that pulls blocks of
// frames from it. Knows nothing of any device: a device calls Render at its
// own pace.
//
// All members are thread-safe. Render holds the lock only to read one block
// from the current sound (converting it, for a converting source), and never
// allocates or frees memory; a replaced sound is freed on the thread that
// replaced it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "sound/pcm_convert.h"

namespace quillora {

class SoundMixer {
 public:
  using SoundId = std::uint64_t;

  // Ends the current sound and makes `sound` (stereo frames at the device's
  // rate) the current one, played once or looping. Returns the new sound's
  // id. A sound without frames (or none at all) has ended at once.
  SoundId StartSource(std::unique_ptr<FrameSource> sound, bool loop);
  SoundId Start(StereoFrames frames, bool loop);

  // Ends the current sound, if any.
  void Stop();

  // Whether sound `id` has ended: a sound played once ends when the device,
  // having taken its last frame, asks for more; any sound ends when a Start
  // or Stop replaces it.
  bool HasEnded(SoundId id) const;

  // Returns once sound `id` has ended.
  void WaitUntilEnded(SoundId id);

  // The volume word of the output: left in the low 16 bits, right in the
  // high 16 bits, 0 to 65535 each. It applies from the next block on.
  std::uint32_t Volume() const;
  void SetVolume(std::uint32_t volumeWord);

  // For the device: fills `block` (stereo frames) with the next frames of the
  // current sound, scaled by the volume, and silence where there is none.
  // Reads the current sound's frames under the lock, so a source that
  // converts as it is read does so here.
  void Render(std::span<std::int16_t> block);

 private:
  bool HasEndedLocked(SoundId id) const;

  mutable std::mutex mutex_;
  std::condition_variable soundEnded_;
  std::unique_ptr<FrameSource> sound_;  // the current one, until Start or Stop
  bool loop_ = false;
  std::size_t position_ = 0;  // next frame of sound_ to render
  SoundId currentId_ = 0;
  bool currentEnded_ = true;
  std::atomic<std::uint32_t> volume_{0xFFFFFFFF};
};

}  // namespace quillora
