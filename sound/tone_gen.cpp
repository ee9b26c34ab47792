#include "sound/tone_gen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <stdexcept>

#include "sound/note_frequency.h"

namespace quillora {
namespace {

// What all generators share: how many exist, and the output volume the
// first one found. Generators are created and destroyed on different
// threads, so every update holds the lock.
struct SharedState {
  std::mutex mutex;
  std::int32_t instanceCount = 0;
  std::uint32_t savedVolume = 0;
};

SharedState& Shared() {
  static SharedState state;
  return state;
}

constexpr std::array<float, 8> kInitialAMFrequencies = {0.5f, 1.0f, 1.5f, 2.0f,
                                                        2.5f, 3.0f, 3.5f, 4.0f};

const std::vector<std::string> kWaveNames = {"tgSine", "tgSquare", "tgTriangle",
                                             "tgSawtooth", "tgNoise"};

void Put32(Blob& out, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Get32(std::span<const std::uint8_t> in, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= std::uint32_t{in[offset + i]} << (8 * i);
  return value;
}

}  // namespace

TToneGen::TToneGen(TComponent* owner) : TToneGen(owner, ProcessSoundOutput()) {}

TToneGen::TToneGen(TComponent* owner, SoundOutput& output)
    : TComponent(owner), output_(output) {
  ResetAM();
  amFrequency_ = settings_.AMFrequencies[0];
  amWaveform_ = settings_.AMWaveforms[0];
  amAmplitude_ = settings_.AMAmplitudes[0];
  SharedState& shared = Shared();
  std::lock_guard lock(shared.mutex);
  if (shared.instanceCount == 0) {
    shared.savedVolume = GetVolume();
    SetVolume();
  }
  ++shared.instanceCount;
}

TToneGen::~TToneGen() {
  Stop();
  image_.reset();
  SharedState& shared = Shared();
  std::lock_guard lock(shared.mutex);
  if (--shared.instanceCount == 0) output_.SetVolume(shared.savedVolume);
}

std::int16_t TToneGen::LimitValue(std::int16_t minimum, std::int16_t maximum,
                                  std::int32_t value) {
  return static_cast<std::int16_t>(
      std::clamp<std::int32_t>(value, minimum, maximum));
}

void TToneGen::SetFrequency(std::int32_t hertz) {
  settings_.Frequency = LimitValue(20, 20000, hertz);
  waveDirty_ = true;
}

void TToneGen::SetDuration(std::int32_t milliseconds) {
  settings_.Duration = LimitValue(10, 32767, milliseconds);
  waveDirty_ = true;
}

void TToneGen::SetWaveform(TTGWave waveform) {
  settings_.Waveform = waveform;
  waveDirty_ = true;
}

void TToneGen::SetAttack(std::int32_t percent) {
  settings_.Envelope.Attack = LimitValue(0, 100, percent);
  envelopeDirty_ = true;
}

void TToneGen::SetHold(std::int32_t percent) {
  settings_.Envelope.Hold = LimitValue(0, 100, percent);
  envelopeDirty_ = true;
}

void TToneGen::SetDecay(std::int32_t percent) {
  settings_.Envelope.Decay = LimitValue(0, 100, percent);
  envelopeDirty_ = true;
}

void TToneGen::SetSustain(std::int32_t percent) {
  settings_.Envelope.Sustain = LimitValue(0, 100, percent);
  envelopeDirty_ = true;
}

void TToneGen::SetRelease(std::int32_t percent) {
  settings_.Envelope.Release = LimitValue(0, 100, percent);
  envelopeDirty_ = true;
}

void TToneGen::SetResolution(TTGResolution resolution) {
  settings_.Resolution = resolution;
  waveDirty_ = true;
}

void TToneGen::SetQuality(TTGQuality quality) {
  settings_.Quality = quality;
  waveDirty_ = true;
}

void TToneGen::SetStereo(bool stereo) {
  settings_.Stereo = stereo;
  waveDirty_ = true;
}

void TToneGen::SetLeftVolume(std::int32_t percent) {
  leftVolume_ = LimitValue(0, 100, percent);
  if (stopped_ || IsLoading()) SetVolume();
}

void TToneGen::SetRightVolume(std::int32_t percent) {
  rightVolume_ = LimitValue(0, 100, percent);
  if (stopped_ || IsLoading()) SetVolume();
}

void TToneGen::SetAMLevel(TTGAMLevel level) {
  amLevel_ = static_cast<TTGAMLevel>(std::min<int>(level, 7));
  SetAMAmplitude(settings_.AMAmplitudes[amLevel_]);
  SetAMWaveform(settings_.AMWaveforms[amLevel_]);
  SetAMFrequency(settings_.AMFrequencies[amLevel_]);
}

void TToneGen::SetAMAmplitude(std::int32_t percent) {
  amAmplitude_ = LimitValue(0, 100, percent);
  settings_.AMAmplitudes[amLevel_] = amAmplitude_;
  waveDirty_ = true;
}

void TToneGen::SetAMWaveform(TTGWave waveform) {
  amWaveform_ = waveform;
  settings_.AMWaveforms[amLevel_] = waveform;
  waveDirty_ = true;
}

void TToneGen::SetAMFrequency(float frequency) {
  amFrequency_ = frequency;
  settings_.AMFrequencies[amLevel_] = frequency;
  waveDirty_ = true;
}

void TToneGen::SetAMMultiplier(bool useMultiplier) {
  settings_.AMUseMultiplier = useMultiplier;
  waveDirty_ = true;
}

void TToneGen::Play() {
  if (waveDirty_ || envelopeApplied_) CreateWaveform(false);
  stopped_ = false;
  PlayWave();
  if (!async_ && !loop_) stopped_ = true;
}

void TToneGen::PlayADSR() {
  if (waveDirty_ || envelopeDirty_) CreateWaveform(true);
  stopped_ = false;
  PlayWave();
  if (!async_ && !loop_) stopped_ = true;
}

void TToneGen::Stop() {
  output_.Stop();
  stopped_ = true;
}

void TToneGen::Prepare() {
  SetVolume();
  CreateWaveform(false);
}

void TToneGen::PrepareADSR() {
  SetVolume();
  CreateWaveform(true);
}

void TToneGen::PresetVolume() { SetVolume(); }

void TToneGen::ResetAM() {
  settings_.AMAmplitudes.fill(0);
  settings_.AMWaveforms.fill(tgSine);
  settings_.AMFrequencies = kInitialAMFrequencies;
  waveDirty_ = true;
}

void TToneGen::SetAMParameter(TTGAMLevel level, float frequency,
                              std::int16_t amplitude, TTGWave waveform) {
  const int index = std::min<int>(level, 7);
  settings_.AMFrequencies[index] = frequency;
  settings_.AMAmplitudes[index] = amplitude;
  settings_.AMWaveforms[index] = waveform;
  waveDirty_ = true;
}

std::span<const std::uint8_t> TToneGen::GetDataBuffer() const {
  if (!image_) return {};
  return image_->Bytes();
}

bool TToneGen::ExportFile(const std::string& fileName) const {
  if (!image_) return false;
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) return false;
  const std::span<const std::uint8_t> bytes = image_->Bytes();
  // A short write is a failure: the file would not hold the tone.
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

std::int32_t TToneGen::SetNote(std::string_view note) {
  std::int32_t octave = noteOctave_;
  const std::int32_t frequency = ParseNoteFrequency(note, octave);
  if (frequency <= 0) return 0;
  SetFrequency(frequency);
  noteOctave_ = octave;
  waveDirty_ = true;
  return frequency;
}

float TToneGen::SetAMNote(TTGAMLevel level, std::string_view note) {
  const int index = std::min<int>(level, 7);
  std::int32_t octave = amOctaves_[index];
  const std::int32_t frequency = ParseNoteFrequency(note, octave);
  if (frequency <= 0) return 0;
  float value = static_cast<float>(frequency);
  if (settings_.AMUseMultiplier)
    value /= static_cast<float>(settings_.Frequency);
  settings_.AMFrequencies[index] = value;
  amOctaves_[index] = octave;
  waveDirty_ = true;
  return value;
}

std::int32_t TToneGen::InstanceCount() {
  SharedState& shared = Shared();
  std::lock_guard lock(shared.mutex);
  return shared.instanceCount;
}

std::uint32_t TToneGen::GetOriginalVolume() {
  SharedState& shared = Shared();
  std::lock_guard lock(shared.mutex);
  return shared.savedVolume;
}

bool TToneGen::CreateWaveform(bool applyEnvelope) {
  // Building a tone ends whatever the process plays, before the old image
  // goes: a new tone never sounds mixed with the one it replaces.
  output_.Stop();
  // The new image is built in the old one's buffer: a melody's notes then
  // reuse one block of memory instead of touching fresh pages for each.
  WaveImage image = image_ ? std::move(*image_) : WaveImage{};
  image_.reset();
  if (!SynthesizeWaveImage(settings_, image)) return false;
  image_ = std::move(image);
  waveDirty_ = false;
  envelopeDirty_ = true;
  envelopeApplied_ = false;
  if (applyEnvelope) {
    ApplyEnvelope(*image_, settings_.Envelope);
    envelopeDirty_ = false;
    envelopeApplied_ = true;
  }
  return true;
}

void TToneGen::PlayWave() {
  // Ends whatever sounds; Stopped keeps what Play decided.
  output_.Stop();
  SetVolume();
  if (!image_) return;
  PlayMode mode = PlayMode::kWait;
  if (async_) mode = PlayMode::kAsync;
  if (loop_) mode = PlayMode::kLoop;
  output_.Play(image_->Bytes(), mode);
}

std::uint32_t TToneGen::GetVolume() const {
  std::uint32_t word = output_.Volume();
  // One volume for both channels: copy it into the right half too.
  if (!output_.HasSeparateChannelVolumes()) word += 65536u * word;
  return word;
}

void TToneGen::SetVolume() {
  const std::uint32_t left =
      static_cast<std::uint32_t>(leftVolume_) * 65535 / 100;
  const std::uint32_t right =
      static_cast<std::uint32_t>(rightVolume_) * 65535 / 100;
  output_.SetVolume(left + 65536 * right);
}

Blob TToneGen::WriteAMArrayData() const {
  Blob data(kAMArrayDataSize);
  Put32(data, 0, 7);
  for (std::size_t i = 0; i < 8; ++i) {
    const std::size_t offset = 4 + 12 * i;
    Put32(data, offset,
          static_cast<std::uint32_t>(
              static_cast<std::int32_t>(settings_.AMAmplitudes[i])));
    Put32(data, offset + 4, settings_.AMWaveforms[i]);
    std::uint32_t bits;
    std::memcpy(&bits, &settings_.AMFrequencies[i], sizeof bits);
    Put32(data, offset + 8, bits);
  }
  return data;
}

void TToneGen::ReadAMArrayData(std::span<const std::uint8_t> data) {
  if (data.size() < 4) throw std::invalid_argument("extra tones: no count");
  const auto highest = static_cast<std::int32_t>(Get32(data, 0));
  if (highest < 0) return;
  const std::uint64_t entries = static_cast<std::uint64_t>(highest) + 1;
  if (data.size() < 4 + 12 * entries) {
    throw std::invalid_argument(
        "extra tones: " + std::to_string(entries) + " entries announced, " +
        std::to_string((data.size() - 4) / 12) + " stored");
  }
  // Only eight extra tones exist; any further entries are passed over.
  const std::size_t taken = std::min<std::uint64_t>(entries, 8);
  for (std::size_t i = 0; i < taken; ++i) {
    const std::size_t offset = 4 + 12 * i;
    settings_.AMAmplitudes[i] =
        static_cast<std::int16_t>(Get32(data, offset) & 0xFFFF);
    settings_.AMWaveforms[i] =
        static_cast<TTGWave>(Get32(data, offset + 4) & 0xFF);
    const std::uint32_t bits = Get32(data, offset + 8);
    std::memcpy(&settings_.AMFrequencies[i], &bits, sizeof bits);
  }
}

void TToneGen::PublishProperties(PropertyList& properties) {
  TComponent::PublishProperties(properties);
  auto integer = [&](const char* name, std::int64_t initial, auto set,
                     auto get) {
    properties.AddInteger(
        name, initial, -32768, 32767,
        [this, set](std::int64_t v) {
          (this->*set)(static_cast<std::int32_t>(v));
        },
        [this, get] { return static_cast<std::int64_t>((this->*get)()); });
  };
  auto boolean = [&](const char* name, bool initial, auto set, auto get) {
    properties.AddBoolean(
        name, initial, [this, set](bool v) { (this->*set)(v); },
        [this, get] { return (this->*get)(); });
  };
  auto wave = [&](const char* name, auto set, auto get, bool alwaysStored) {
    properties.AddEnum(
        name, kWaveNames, tgSine,
        [this, set](int v) { (this->*set)(static_cast<TTGWave>(v)); },
        [this, get] { return static_cast<int>((this->*get)()); }, alwaysStored);
  };
  integer("Frequency", 440, &TToneGen::SetFrequency, &TToneGen::Frequency);
  integer("Duration", 100, &TToneGen::SetDuration, &TToneGen::Duration);
  wave("Waveform", &TToneGen::SetWaveform, &TToneGen::Waveform, false);
  integer("Attack", 10, &TToneGen::SetAttack, &TToneGen::Attack);
  integer("Hold", 5, &TToneGen::SetHold, &TToneGen::Hold);
  integer("Decay", 20, &TToneGen::SetDecay, &TToneGen::Decay);
  integer("Sustain", 50, &TToneGen::SetSustain, &TToneGen::Sustain);
  integer("Release", 30, &TToneGen::SetRelease, &TToneGen::Release);
  boolean("Async", true, &TToneGen::SetAsync, &TToneGen::Async);
  boolean("Loop", false, &TToneGen::SetLoop, &TToneGen::Loop);
  properties.AddEnum(
      "Resolution", {"tg16Bit", "tg8Bit"}, tg16Bit,
      [this](int v) { SetResolution(static_cast<TTGResolution>(v)); },
      [this] { return static_cast<int>(Resolution()); });
  properties.AddEnum(
      "Quality", {"tgHiQ", "tgLoQ"}, tgHiQ,
      [this](int v) { SetQuality(static_cast<TTGQuality>(v)); },
      [this] { return static_cast<int>(Quality()); });
  integer("LeftVolume", 100, &TToneGen::SetLeftVolume, &TToneGen::LeftVolume);
  integer("RightVolume", 100, &TToneGen::SetRightVolume,
          &TToneGen::RightVolume);
  boolean("Stereo", false, &TToneGen::SetStereo, &TToneGen::Stereo);
  properties.AddEnum(
      "AMLevel",
      {"tgAMLevel1", "tgAMLevel2", "tgAMLevel3", "tgAMLevel4", "tgAMLevel5",
       "tgAMLevel6", "tgAMLevel7", "tgAMLevel8"},
      tgAMLevel1, [this](int v) { SetAMLevel(static_cast<TTGAMLevel>(v)); },
      [this] { return static_cast<int>(AMLevel()); });
  // The current extra tone is always stored, whatever its value.
  integer("AMAmplitude", 0, &TToneGen::SetAMAmplitude, &TToneGen::AMAmplitude);
  properties.AlwaysStore("AMAmplitude");
  wave("AMWaveform", &TToneGen::SetAMWaveform, &TToneGen::AMWaveform, true);
  properties.AddFloat(
      "AMFrequency", 0.5,
      [this](double v) { SetAMFrequency(static_cast<float>(v)); },
      [this] { return static_cast<double>(AMFrequency()); },
      /*alwaysStored=*/true);
  boolean("AMUseMultiplier", true, &TToneGen::SetAMMultiplier,
          &TToneGen::AMUseMultiplier);
}

void TToneGen::DefineProperties(BinaryPropertyList& properties) {
  TComponent::DefineProperties(properties);
  properties.Define(
      "AMArrayData",
      [this](std::span<const std::uint8_t> data) { ReadAMArrayData(data); },
      [this] { return WriteAMArrayData(); });
}

}  // namespace quillora
