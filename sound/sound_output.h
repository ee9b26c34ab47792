// The process's sound output, as the tone generators see it.
//
// A process has one sound at a time: a play or a stop from any tone
// generator, on any thread, ends whatever sounds. Implementations are
// thread-safe. The WAV image handed to Play is read only during the call
// (the output keeps its own converted copy), so a caller may free or
// rebuild its image as soon as Play returns.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace quillora {

enum class PlayMode {
  kWait,   // return when the sound has ended (or another play or stop ends it)
  kAsync,  // return at once; the sound plays once
  kLoop,   // return at once; the sound repeats until a play or stop ends it
};

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;

  // Ends the current sound, then plays `wavImage`, a RIFF PCM image (8-bit
  // unsigned or 16-bit signed samples, one or two channels, 1000 to 384000
  // frames per second). Any other image plays nothing. Never throws.
  virtual void Play(std::span<const std::uint8_t> wavImage, PlayMode mode) = 0;

  // Ends the current sound, if any.
  virtual void Stop() = 0;

  // Whether the output has separate left and right volumes.
  virtual bool HasSeparateChannelVolumes() const = 0;

  // The output volume word: left volume in the low 16 bits, right in the
  // high 16 bits, each 0 (silent) to 65535 (full). It scales what this
  // output plays; it never changes the volume of the desktop.
  virtual std::uint32_t Volume() const = 0;
  virtual void SetVolume(std::uint32_t volumeWord) = 0;
};

// An output that plays nothing, but whose waiting plays still take the
// sound's real time and end early when another play or a stop ends the
// sound, as a real output's would. Thread-safe.
std::unique_ptr<SoundOutput> CreateSilentSoundOutput();

// The output every tone generator uses. Until InstallSoundOutput is called
// it is a silent output whose plays still last their real time.
SoundOutput& ProcessSoundOutput();

// Makes `output` the process's output. Call it at start-up, before any tone
// generator exists and before any other thread starts; the output lives
// until the process ends.
void InstallSoundOutput(std::unique_ptr<SoundOutput> output);

}  // namespace quillora
