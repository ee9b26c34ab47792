#include "sound/sdl_sound_output.h"

#include <SDL.h>

#include <memory>
#include <optional>
#include <utility>

#include "sound/pcm_convert.h"
#include "sound/wav_image.h"

namespace quillora {
namespace {

constexpr int kWantedFrameRate = 48000;

// 10 ms per block: short enough for a prompt start, and a whole number of
// milliseconds, which is what SDL's timer-paced drivers (dummy, disk) sleep
// after each block.
constexpr Uint16 kBlockFrames = 480;

}  // namespace

std::unique_ptr<SdlSoundOutput> SdlSoundOutput::Open(BlockMonitor monitor) {
  std::unique_ptr<SdlSoundOutput> output(
      new SdlSoundOutput(std::move(monitor)));
  PrepareConversion();
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (output->OpenDevice()) return output;

  // The override outranks SDL_AUDIODRIVER; resetting it afterwards leaves
  // the next opening to the environment again.
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  const bool opened = output->OpenDevice();
  SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  if (!opened) return nullptr;
  return output;
}

SdlSoundOutput::SdlSoundOutput(BlockMonitor monitor)
    : monitor_(std::move(monitor)) {}

SdlSoundOutput::~SdlSoundOutput() {
  mixer_.Stop();
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);  // joins the audio thread
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

bool SdlSoundOutput::OpenDevice() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec wanted{};
  wanted.freq = kWantedFrameRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = kBlockFrames;
  wanted.callback = &SdlSoundOutput::FillBlock;
  wanted.userdata = this;
  SDL_AudioSpec obtained{};
  // A device that prefers another rate gets it (images are converted to it
  // anyway); SDL adapts any other difference itself.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                                SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  frameRate_ = static_cast<std::uint32_t>(obtained.freq);
  const char* driver = SDL_GetCurrentAudioDriver();
  driverName_ = driver ? driver : "";
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void SdlSoundOutput::FillBlock(void* self, std::uint8_t* stream, int length) {
  auto& output = *static_cast<SdlSoundOutput*>(self);
  // SDL hands over a buffer of whole S16 stereo frames, suitably aligned.
  const std::span<std::int16_t> block(reinterpret_cast<std::int16_t*>(stream),
                                      static_cast<std::size_t>(length) / 2);
  output.mixer_.Render(block);
  if (output.monitor_) output.monitor_(block);
}

void SdlSoundOutput::Play(std::span<const std::uint8_t> wavImage,
                          PlayMode mode) noexcept {
  const bool loop = mode == PlayMode::kLoop;
  std::unique_ptr<FrameSource> sound;
  try {
    // Made before the current sound is replaced; it converts as the device
    // reads it, so this costs a copy of the samples, into memory that an
    // earlier sound gave back, and no more.
    if (const std::optional<WavFormat> format = ReadWavFormat(wavImage)) {
      sound = ConvertingFrameSource(
          *format, frameRate_, loop ? SoundEnds::kWrapped : SoundEnds::kSilent,
          &samplePool_);
    }
  } catch (...) {
    // Out of memory for the copy: this play sounds nothing.
    sound.reset();
  }
  if (!sound) {
    mixer_.Stop();
    return;
  }
  const SoundMixer::SoundId id = mixer_.StartSource(std::move(sound), loop);
  if (mode == PlayMode::kWait) mixer_.WaitUntilEnded(id);
}

void SdlSoundOutput::Stop() { mixer_.Stop(); }

std::uint32_t SdlSoundOutput::Volume() const { return mixer_.Volume(); }

void SdlSoundOutput::SetVolume(std::uint32_t volumeWord) {
  mixer_.SetVolume(volumeWord);
}

std::unique_ptr<SoundOutput> CreateSdlSoundOutput() {
  return SdlSoundOutput::Open();
}

}  // namespace quillora
