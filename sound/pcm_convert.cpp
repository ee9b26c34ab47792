#include "sound/pcm_convert.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <utility>

namespace quillora {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The share of the lower rate's Nyquist limit that the resampling filter
// passes; the rest is its transition band, so the stop band begins at the
// limit itself.
constexpr double kPassbandShare = 0.9;

// Modified Bessel function of the first kind, order 0, for the Kaiser window.
double BesselI0(double x) {
  double sum = 1.0;
  double term = 1.0;
  for (int k = 1; k < 64; ++k) {
    term *= (x / (2.0 * k)) * (x / (2.0 * k));
    sum += term;
    if (term < sum * 1e-17) break;
  }
  return sum;
}

// The resampling filter's shape: a sinc with Kaiser window, tabulated once
// and read with linear interpolation. Positions are counted in the sinc's
// zero crossings from its centre.
class SincTable {
 public:
  static constexpr int kZeroCrossings = 16;  // on each side of the centre
  static constexpr int kStepsPerCrossing = 512;

  SincTable() : values_(kZeroCrossings * kStepsPerCrossing + 2) {
    constexpr double kBeta = 8.0;  // about 80 dB stop-band attenuation
    const double windowScale = 1.0 / BesselI0(kBeta);
    for (std::size_t i = 0; i < values_.size(); ++i) {
      const double u = static_cast<double>(i) / kStepsPerCrossing;
      const double r = u / kZeroCrossings;
      if (r >= 1.0) {
        values_[i] = 0.0f;
        continue;
      }
      const double window =
          BesselI0(kBeta * std::sqrt(1.0 - r * r)) * windowScale;
      const double sinc = u == 0.0 ? 1.0 : std::sin(kPi * u) / (kPi * u);
      values_[i] = static_cast<float>(sinc * window);
    }
  }

  float At(double crossings) const {
    const double pos = std::abs(crossings) * kStepsPerCrossing;
    const auto index = static_cast<std::size_t>(pos);
    if (index + 1 >= values_.size()) return 0.0f;
    const auto frac = static_cast<float>(pos - static_cast<double>(index));
    return values_[index] + frac * (values_[index + 1] - values_[index]);
  }

 private:
  std::vector<float> values_;
};

const SincTable& Sinc() {
  static const SincTable table;
  return table;
}

std::int16_t ToSample(float value) {
  const long rounded = std::lround(value);
  return static_cast<std::int16_t>(
      std::clamp<long>(rounded, std::numeric_limits<std::int16_t>::min(),
                       std::numeric_limits<std::int16_t>::max()));
}

// Sample `index` of the image (frames interleaved by channel) at 16-bit
// scale.
std::int16_t DecodeSample(const WavFormat& format, std::size_t index) {
  if (format.bitsPerSample == 8) {
    return static_cast<std::int16_t>((format.samples[index] - 128) * 256);
  }
  const std::uint8_t* p = format.samples.data() + 2 * index;
  return static_cast<std::int16_t>(p[0] | (p[1] << 8));
}

// Sample of `channel` at source frame `frame`, which may lie beyond the
// image's ends: there it is silence, or the sound's other end (several times
// round for a sound shorter than the filter).
float SampleAt(const WavFormat& format, int channel, long long frame,
               SoundEnds ends) {
  const auto count = static_cast<long long>(format.FrameCount());
  if (frame < 0 || frame >= count) {
    if (ends == SoundEnds::kSilent) return 0.0f;
    frame = ((frame % count) + count) % count;
  }
  return DecodeSample(format,
                      static_cast<std::size_t>(frame) * format.channels +
                          static_cast<std::size_t>(channel));
}

// Band-limited resampling of a whole image onto `outFrames` frames, frame by
// frame on request. Output frame j lies at source position t = j × inFrames
// ÷ outFrames; its value is the windowed-sinc interpolation of the source
// frames around t, with the cutoff lowered below the source's own limit when
// the rate goes down.
//
// Only the fraction of t decides a frame's filter weights, and that fraction
// takes outFrames ÷ gcd(inFrames, outFrames) values: one for 96000 to 48000,
// 160 for 44100 to 48000. When they are at most `maxTabulatedPhases`, each
// set of weights is worked out once, up front; else for each frame.
class Resampler {
 public:
  Resampler(const WavFormat& format, std::size_t outFrames, SoundEnds ends,
            std::size_t maxTabulatedPhases)
      : format_(format),
        ends_(ends),
        inFrames_(format.FrameCount()),
        outFrames_(outFrames),
        cutoff_(std::min(1.0, static_cast<double>(outFrames) /
                                  static_cast<double>(inFrames_)) *
                kPassbandShare),
        halfTaps_(static_cast<std::size_t>(
            std::ceil(SincTable::kZeroCrossings / cutoff_))),
        phaseStep_(std::gcd(inFrames_, outFrames)),
        phases_(outFrames / phaseStep_),
        scratchWeights_(Taps()),
        scratchSamples_(Taps()) {
    if (phases_ <= maxTabulatedPhases) {
      weights_.resize(phases_ * Taps());
      for (std::size_t phase = 0; phase < phases_; ++phase) {
        FillWeights(phase * phaseStep_, &weights_[phase * Taps()]);
      }
    }
  }

  // The image whose samples are read; it must hold the same format.
  void SetFormat(const WavFormat& format) { format_ = format; }

  std::size_t OutFrames() const { return outFrames_; }

  // Writes output frames first, first + 1, ... into `out`; allocates
  // nothing.
  void Render(std::size_t first, std::span<std::int16_t> out) {
    for (std::size_t k = 0; 2 * k + 1 < out.size(); ++k) {
      const std::uint64_t position = std::uint64_t{first + k} * inFrames_;
      const std::size_t whole = position / outFrames_;
      const std::size_t remainder = position % outFrames_;
      const float* weights = scratchWeights_.data();
      if (weights_.empty()) {
        FillWeights(remainder, scratchWeights_.data());
      } else {
        weights = &weights_[remainder / phaseStep_ * Taps()];
      }
      // Tap i weighs source frame whole - halfTaps + 1 + i.
      const long long firstTap =
          static_cast<long long>(whole) + 1 - static_cast<long long>(halfTaps_);
      const std::int16_t left = Convolve(0, firstTap, weights);
      const std::int16_t right =
          format_.channels == 1
              ? left
              : Convolve(format_.channels - 1, firstTap, weights);
      out[2 * k] = left;
      out[2 * k + 1] = right;
    }
  }

 private:
  std::size_t Taps() const { return 2 * halfTaps_; }

  // The weights of the taps for an output frame whose source position has
  // the fraction remainder ÷ outFrames_.
  void FillWeights(std::size_t remainder, float* weights) const {
    const double fraction =
        static_cast<double>(remainder) / static_cast<double>(outFrames_);
    const SincTable& sinc = Sinc();
    for (std::size_t i = 0; i < Taps(); ++i) {
      const double offset = static_cast<double>(i) + 1.0 -
                            static_cast<double>(halfTaps_);  // tap - whole
      weights[i] =
          static_cast<float>(cutoff_ * sinc.At((fraction - offset) * cutoff_));
    }
  }

  std::int16_t Convolve(int channel, long long firstTap, const float* weights) {
    float* samples = scratchSamples_.data();
    const auto taps = static_cast<long long>(Taps());
    if (firstTap >= 0 && firstTap + taps <= static_cast<long long>(inFrames_)) {
      for (long long i = 0; i < taps; ++i) {
        samples[i] = DecodeSample(
            format_, static_cast<std::size_t>(firstTap + i) * format_.channels +
                         static_cast<std::size_t>(channel));
      }
    } else {
      for (long long i = 0; i < taps; ++i) {
        samples[i] = SampleAt(format_, channel, firstTap + i, ends_);
      }
    }
    // Four running sums, so that the additions need not wait on each other.
    float sums[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    std::size_t i = 0;
    for (; i + 4 <= Taps(); i += 4) {
      for (int lane = 0; lane < 4; ++lane) {
        sums[lane] += weights[i + lane] * samples[i + lane];
      }
    }
    for (; i < Taps(); ++i) sums[0] += weights[i] * samples[i];
    return ToSample((sums[0] + sums[1]) + (sums[2] + sums[3]));
  }

  WavFormat format_;
  SoundEnds ends_;
  std::size_t inFrames_;
  std::size_t outFrames_;
  double cutoff_;  // filter zero crossings per source frame, at most 1
  std::size_t halfTaps_;
  std::size_t phaseStep_;
  std::size_t phases_;
  std::vector<float> weights_;  // phases_ × Taps(), when tabulated
  std::vector<float> scratchWeights_;
  std::vector<float> scratchSamples_;
};

// Frames of the image's own rate: each sample decoded as it is read.
void CopyFrames(const WavFormat& format, std::size_t first,
                std::span<std::int16_t> out) {
  for (std::size_t k = 0; 2 * k + 1 < out.size(); ++k) {
    const std::size_t sample = (first + k) * format.channels;
    out[2 * k] = DecodeSample(format, sample);
    out[2 * k + 1] = DecodeSample(format, sample + format.channels - 1);
  }
}

std::uint64_t OutputFrames(const WavFormat& format, std::uint32_t outputRate) {
  const std::uint64_t inFrames = format.FrameCount();
  if (format.sampleRate == outputRate) return inFrames;
  return std::max<std::uint64_t>(
      1, (inFrames * outputRate + format.sampleRate / 2) / format.sampleRate);
}

bool Convertible(const WavFormat& format, std::uint32_t outputRate) {
  return format.FrameCount() > 0 && IsConvertibleRate(format.sampleRate) &&
         IsConvertibleRate(outputRate);
}

// A converted copy of an image's samples, read as the device consumes it.
class ConvertingSource final : public FrameSource {
 public:
  // A table of filter weights is made up front only when it is small, so
  // that starting a sound stays cheap.
  static constexpr std::size_t kMaxTabulatedPhases = 64;

  ConvertingSource(const WavFormat& format, std::uint32_t outputRate,
                   SoundEnds ends, SampleBufferPool* pool)
      : pool_(pool),
        samples_(pool ? pool->Copy(format.samples)
                      : std::vector<std::uint8_t>(format.samples.begin(),
                                                  format.samples.end())),
        format_(format),
        frames_(OutputFrames(format, outputRate)) {
    format_.samples = samples_;
    if (format.sampleRate != outputRate) {
      resampler_.emplace(format_, frames_, ends, kMaxTabulatedPhases);
    }
  }

  ~ConvertingSource() override {
    if (pool_) pool_->GiveBack(std::move(samples_));
  }

  ConvertingSource(const ConvertingSource&) = delete;
  ConvertingSource& operator=(const ConvertingSource&) = delete;

  std::size_t FrameCount() const override { return frames_; }

  void ReadFrames(std::size_t first, std::span<std::int16_t> out) override {
    if (resampler_) {
      resampler_->Render(first, out);
    } else {
      CopyFrames(format_, first, out);
    }
  }

 private:
  SampleBufferPool* pool_;
  std::vector<std::uint8_t> samples_;
  WavFormat format_;  // its samples are samples_
  std::size_t frames_;
  std::optional<Resampler> resampler_;
};

// Frames converted beforehand.
class StoredSource final : public FrameSource {
 public:
  explicit StoredSource(StereoFrames frames) : frames_(std::move(frames)) {}

  std::size_t FrameCount() const override { return frames_.size() / 2; }

  void ReadFrames(std::size_t first, std::span<std::int16_t> out) override {
    std::copy_n(frames_.begin() + static_cast<std::ptrdiff_t>(2 * first),
                out.size(), out.begin());
  }

 private:
  StereoFrames frames_;
};

}  // namespace

void PrepareConversion() { Sinc(); }

bool IsConvertibleRate(std::uint32_t rate) {
  return rate >= kLowestConvertibleRate && rate <= kHighestConvertibleRate;
}

StereoFrames ConvertToStereo16(const WavFormat& format,
                               std::uint32_t outputRate, SoundEnds ends) {
  if (!Convertible(format, outputRate)) return {};
  StereoFrames out(2 * OutputFrames(format, outputRate));
  if (format.sampleRate == outputRate) {
    CopyFrames(format, 0, out);
  } else {
    // Many sets of weights pay off over a whole image.
    constexpr std::size_t kMaxTabulatedPhases = 4096;
    Resampler(format, out.size() / 2, ends, kMaxTabulatedPhases).Render(0, out);
  }
  return out;
}

std::unique_ptr<FrameSource> ConvertingFrameSource(const WavFormat& format,
                                                   std::uint32_t outputRate,
                                                   SoundEnds ends,
                                                   SampleBufferPool* pool) {
  if (!Convertible(format, outputRate)) return nullptr;
  return std::make_unique<ConvertingSource>(format, outputRate, ends, pool);
}

std::unique_ptr<FrameSource> StoredFrameSource(StereoFrames frames) {
  return std::make_unique<StoredSource>(std::move(frames));
}

std::int16_t ScaleSample(std::int16_t sample, std::uint16_t volume) {
  return static_cast<std::int16_t>(std::int32_t{sample} * volume / 65535);
}

void ScaleFrames(std::span<std::int16_t> frames, std::uint32_t volumeWord) {
  const auto leftVolume = static_cast<std::uint16_t>(volumeWord & 0xFFFF);
  const auto rightVolume = static_cast<std::uint16_t>(volumeWord >> 16);
  for (std::size_t i = 0; i + 1 < frames.size(); i += 2) {
    frames[i] = ScaleSample(frames[i], leftVolume);
    frames[i + 1] = ScaleSample(frames[i + 1], rightVolume);
  }
}

std::size_t RenderBlock(std::span<const std::int16_t> sound, bool loop,
                        std::uint32_t volumeWord, std::size_t& position,
                        std::span<std::int16_t> block) {
  const auto leftVolume = static_cast<std::uint16_t>(volumeWord & 0xFFFF);
  const auto rightVolume = static_cast<std::uint16_t>(volumeWord >> 16);
  const std::size_t soundFrames = sound.size() / 2;
  const std::size_t blockFrames = block.size() / 2;
  std::size_t written = 0;
  while (written < blockFrames && soundFrames > 0) {
    if (position >= soundFrames) {
      if (!loop) break;
      position = 0;
    }
    const std::size_t count =
        std::min(blockFrames - written, soundFrames - position);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t from = 2 * (position + i);
      const std::size_t to = 2 * (written + i);
      block[to] = ScaleSample(sound[from], leftVolume);
      block[to + 1] = ScaleSample(sound[from + 1], rightVolume);
    }
    position += count;
    written += count;
  }
  std::fill(block.begin() + static_cast<std::ptrdiff_t>(2 * written),
            block.end(), std::int16_t{0});
  return written;
}

}  // namespace quillora
