// TToneGen: the tone generator component.
//
// Data flow: property setters clamp and store the tone's settings and mark
// what must be synthesised again. Play (or Prepare, ExportFile's caller)
// runs the synthesis when a flag asks for it, keeps the WAV image, and
// hands it to the process's sound output, which has one sound for the whole
// process: a play, a stop or a synthesis of any generator ends whatever
// sounds. While any generator exists the output volume follows the
// generators' LeftVolume and RightVolume; the first one saves the volume it
// finds and the last one to go puts it back.
//
// One generator is used by one thread at a time; it may be created on one
// thread and destroyed on another.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "components/component.h"
#include "sound/sound_output.h"
#include "sound/synthesis.h"
#include "sound/tone_types.h"

namespace quillora {

class TToneGen : public TComponent {
 public:
  // Plays through `output`; by default the process's sound output as it
  // stands when the generator is created, so install the output first
  // (sound_output.h).
  explicit TToneGen(TComponent* owner);
  TToneGen(TComponent* owner, SoundOutput& output);
  ~TToneGen() override;

  std::string_view ClassName() const override { return "TToneGen"; }

  // Clamps `value` to minimum..maximum.
  static std::int16_t LimitValue(std::int16_t minimum, std::int16_t maximum,
                                 std::int32_t value);

  // --- Published properties. Setters clamp silently. ---
  std::int16_t Frequency() const { return settings_.Frequency; }
  void SetFrequency(std::int32_t hertz);  // 20..20000 Hz
  std::int16_t Duration() const { return settings_.Duration; }
  void SetDuration(std::int32_t milliseconds);  // 10..32767 ms
  TTGWave Waveform() const { return settings_.Waveform; }
  void SetWaveform(TTGWave waveform);

  // Envelope: shares of the tone's length in %, 0..100, and the sustain
  // level in % of full.
  std::int16_t Attack() const { return settings_.Envelope.Attack; }
  void SetAttack(std::int32_t percent);
  std::int16_t Hold() const { return settings_.Envelope.Hold; }
  void SetHold(std::int32_t percent);
  std::int16_t Decay() const { return settings_.Envelope.Decay; }
  void SetDecay(std::int32_t percent);
  std::int16_t Sustain() const { return settings_.Envelope.Sustain; }
  void SetSustain(std::int32_t percent);
  std::int16_t Release() const { return settings_.Envelope.Release; }
  void SetRelease(std::int32_t percent);

  // Return from a play at once.
  bool Async() const { return async_; }
  void SetAsync(bool async) { async_ = async; }
  // Repeat the tone until a play or stop ends it; implies returning at once.
  bool Loop() const { return loop_; }
  void SetLoop(bool loop) { loop_ = loop; }

  TTGResolution Resolution() const { return settings_.Resolution; }
  void SetResolution(TTGResolution resolution);
  TTGQuality Quality() const { return settings_.Quality; }
  void SetQuality(TTGQuality quality);
  bool Stereo() const { return settings_.Stereo; }
  void SetStereo(bool stereo);

  // Output volume, % per channel, 0..100. Reaches the output at once while
  // the generator is stopped (or its stored properties are being loaded),
  // else at the next play or PresetVolume.
  std::int16_t LeftVolume() const { return leftVolume_; }
  void SetLeftVolume(std::int32_t percent);
  std::int16_t RightVolume() const { return rightVolume_; }
  void SetRightVolume(std::int32_t percent);

  // The extra tone that AMAmplitude, AMWaveform and AMFrequency show and set.
  TTGAMLevel AMLevel() const { return amLevel_; }
  void SetAMLevel(TTGAMLevel level);
  std::int16_t AMAmplitude() const { return amAmplitude_; }
  void SetAMAmplitude(std::int32_t percent);  // 0..100
  TTGWave AMWaveform() const { return amWaveform_; }
  void SetAMWaveform(TTGWave waveform);
  // A multiplier of Frequency, or Hz (see AMUseMultiplier).
  float AMFrequency() const { return amFrequency_; }
  void SetAMFrequency(float frequency);
  bool AMUseMultiplier() const { return settings_.AMUseMultiplier; }
  void SetAMMultiplier(bool useMultiplier);

  // --- Operations. ---
  void Play();
  void PlayADSR();
  // Ends the process's sound, whichever generator started it.
  void Stop();
  void Prepare();
  void PrepareADSR();
  void PresetVolume();
  // The eight extra tones get their construction values; the AMAmplitude,
  // AMWaveform and AMFrequency copies stay as they are.
  void ResetAM();
  // Writes one extra tone, the amplitude unclamped; the copies stay.
  void SetAMParameter(TTGAMLevel level, float frequency, std::int16_t amplitude,
                      TTGWave waveform);

  // The WAV image, or an empty span before the first synthesis.
  std::span<const std::uint8_t> GetDataBuffer() const;
  std::uint32_t BufferSize() const { return image_ ? image_->BufferSize : 0; }
  std::uint32_t DataSize() const { return image_ ? image_->DataSize : 0; }

  // Writes the whole image to `fileName`, replacing any file of that name.
  // False when there is no image or the file cannot be fully written.
  bool ExportFile(const std::string& fileName) const;

  // Sets Frequency from a note name (note_frequency.h), the octave taken
  // from the note before. Returns the frequency, or 0 (nothing changed).
  std::int32_t SetNote(std::string_view note);
  // Sets the frequency of one extra tone from a note name: as a multiplier
  // of Frequency when AMUseMultiplier is set, else in Hz. Returns the value
  // stored, or 0 (nothing changed). The AMFrequency copy is not updated.
  float SetAMNote(TTGAMLevel level, std::string_view note);

  // Process-wide: the number of generators, and the output volume the first
  // of them found.
  static std::int32_t InstanceCount();
  static std::uint32_t GetOriginalVolume();

  // The synthesis state, for tests and callers that want to know.
  bool WaveDirty() const { return waveDirty_; }
  bool EnvelopeDirty() const { return envelopeDirty_; }
  bool EnvelopeApplied() const { return envelopeApplied_; }
  bool Stopped() const { return stopped_; }
  const std::array<std::int16_t, 8>& AMAmplitudes() const {
    return settings_.AMAmplitudes;
  }
  const std::array<TTGWave, 8>& AMWaveforms() const {
    return settings_.AMWaveforms;
  }
  const std::array<float, 8>& AMFrequencies() const {
    return settings_.AMFrequencies;
  }
  const ToneSettings& Settings() const { return settings_; }

  // Stored form of the extra tones: 100 bytes, little-endian: the highest
  // entry index (7), then per tone amplitude, waveform (each widened to 32
  // bits) and frequency (IEEE single).
  static constexpr std::size_t kAMArrayDataSize = 100;
  Blob WriteAMArrayData() const;
  // Reads the stored form: a count N below 0 reads nothing; else N + 1
  // entries follow, of which the first eight are taken. Throws
  // std::invalid_argument, changing nothing, when the data is shorter than
  // its count says. No clamping, no flags.
  void ReadAMArrayData(std::span<const std::uint8_t> data);

  void PublishProperties(PropertyList& properties) override;
  void DefineProperties(BinaryPropertyList& properties) override;

 private:
  bool CreateWaveform(bool applyEnvelope);
  void PlayWave();
  std::uint32_t GetVolume() const;
  void SetVolume();

  SoundOutput& output_;
  ToneSettings settings_;
  bool async_ = true;
  bool loop_ = false;
  std::int16_t leftVolume_ = 100;
  std::int16_t rightVolume_ = 100;
  TTGAMLevel amLevel_ = tgAMLevel1;
  std::int16_t amAmplitude_ = 0;
  TTGWave amWaveform_ = tgSine;
  float amFrequency_ = 0.5f;

  bool waveDirty_ = true;
  bool envelopeDirty_ = true;
  bool envelopeApplied_ = true;
  bool stopped_ = true;
  std::optional<WaveImage> image_;

  std::int32_t noteOctave_ = 4;
  std::array<std::int32_t, 8> amOctaves_{4, 4, 4, 4, 4, 4, 4, 4};
};

}  // namespace quillora
