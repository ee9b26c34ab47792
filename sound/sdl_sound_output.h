// The process's sound output on SDL's audio: one output device, opened once
// as 16-bit stereo, fed from SDL's audio thread. Play copies the image's
// samples and returns; they are converted to the device's format block by
// block as the device takes them, so the caller's image is never read after
// Play returns and a long tone starts as fast as a short one. The volume word
// is applied to the samples in software; the desktop's volume is never touched.
//
// Only SDL's audio subsystem is used, and SDL installs no signal handlers.
// The SDL_AUDIODRIVER environment variable chooses the driver as usual. When
// the chosen driver has no device to open (no sound server, as on a build
// machine), the output falls back, silently, to SDL's "dummy" driver, which
// plays nothing but pulls the sound at real-time pace, so every play still
// lasts its real time.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "sound/sample_buffer_pool.h"
#include "sound/sound_mixer.h"
#include "sound/sound_output.h"

namespace quillora {

class SdlSoundOutput final : public SoundOutput {
 public:
  // Called on the audio thread with each block of stereo frames just mixed
  // for the device; for measuring the output, not for the program.
  using BlockMonitor = std::function<void(std::span<const std::int16_t>)>;

  // Opens the output device, or returns null when not even SDL's dummy
  // driver opens. Only one output should be open at a time.
  static std::unique_ptr<SdlSoundOutput> Open(BlockMonitor monitor = {});

  // Ends the sound (waking any waiting Play) and closes the device.
  ~SdlSoundOutput() override;

  // Never throws: an image that cannot be played (not a WAV image, a rate
  // the conversion does not take, no memory for its copy) ends the current
  // sound and plays nothing, and the output stays usable.
  void Play(std::span<const std::uint8_t> wavImage,
            PlayMode mode) noexcept override;
  void Stop() override;
  bool HasSeparateChannelVolumes() const override { return true; }
  std::uint32_t Volume() const override;
  void SetVolume(std::uint32_t volumeWord) override;

  // The audio driver in use ("pulseaudio", "alsa", "dummy", ...) and the
  // device's frame rate.
  const std::string& DriverName() const { return driverName_; }
  std::uint32_t FrameRate() const { return frameRate_; }

  SdlSoundOutput(const SdlSoundOutput&) = delete;
  SdlSoundOutput& operator=(const SdlSoundOutput&) = delete;

 private:
  explicit SdlSoundOutput(BlockMonitor monitor);
  bool OpenDevice();
  static void FillBlock(void* self, std::uint8_t* stream, int length);

  // Declared before the mixer, whose sounds give their copies back to it.
  SampleBufferPool samplePool_;
  SoundMixer mixer_;
  BlockMonitor monitor_;
  std::uint32_t device_ = 0;  // SDL's device id; 0 while none is open
  std::uint32_t frameRate_ = 0;
  std::string driverName_;
};

// The SDL output as the process's sound output, or null when none opens (the
// silent output then stays in place).
std::unique_ptr<SoundOutput> CreateSdlSoundOutput();

}  // namespace quillora
