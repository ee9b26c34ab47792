// A sound output that opens its device on a thread of its own, so that the
// program's window can appear while the device is still being opened (which
// takes from a few to over a hundred milliseconds, depending on the sound
// server).
//
// Until the device is open, plays and stops wait for it; the volume is kept
// here, so that tone generators created meanwhile read and set it without
// waiting, and it is handed to the device once open.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "sound/sound_output.h"

namespace quillora {

class DeferredSoundOutput final : public SoundOutput {
 public:
  // Starts `open` on a new thread. It may return null (no device): plays
  // are then silent but still last their real time.
  explicit DeferredSoundOutput(
      std::function<std::unique_ptr<SoundOutput>()> open);
  // Waits for the opening to end, then closes the device.
  ~DeferredSoundOutput() override;

  void Play(std::span<const std::uint8_t> wavImage, PlayMode mode) override;
  void Stop() override;
  // Separate volumes: every output of the program mixes in software.
  bool HasSeparateChannelVolumes() const override { return true; }
  std::uint32_t Volume() const override;
  void SetVolume(std::uint32_t volumeWord) override;

 private:
  // The output, once opened; waits for the opening thread.
  SoundOutput& Opened();

  mutable std::mutex mutex_;
  std::condition_variable openedChanged_;
  std::unique_ptr<SoundOutput> output_;
  bool opened_ = false;
  std::uint32_t volume_ = 0xFFFFFFFF;
  std::thread opener_;
};

}  // namespace quillora
