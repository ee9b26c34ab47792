// A sound output for tests: records every call, plays nothing, waits for
// nothing.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "sound/sound_output.h"

namespace quillora::testing_support {

class RecordingOutput : public SoundOutput {
 public:
  struct PlayCall {
    std::vector<std::uint8_t> image;
    PlayMode mode;
  };

  void Play(std::span<const std::uint8_t> wavImage, PlayMode mode) override {
    std::lock_guard lock(mutex_);
    plays.push_back({{wavImage.begin(), wavImage.end()}, mode});
  }
  void Stop() override {
    std::lock_guard lock(mutex_);
    ++stops;
  }
  bool HasSeparateChannelVolumes() const override { return separateVolumes; }
  std::uint32_t Volume() const override {
    std::lock_guard lock(mutex_);
    return volume;
  }
  void SetVolume(std::uint32_t word) override {
    std::lock_guard lock(mutex_);
    volume = word;
    volumeWrites.push_back(word);
  }

  std::vector<PlayCall> plays;
  int stops = 0;
  std::uint32_t volume = 0x40004000;
  std::vector<std::uint32_t> volumeWrites;
  bool separateVolumes = true;

 private:
  mutable std::mutex mutex_;
};

}  // namespace quillora::testing_support
