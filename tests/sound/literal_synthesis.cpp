#include "literal_synthesis.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace quillora::literal {
namespace {

std::int64_t Trunc(double value) { return static_cast<std::int64_t>(value); }

struct Format {
  int b;  // bytes per sample
  int channels;
  std::int64_t q;  // samples per 10 ms
  std::uint8_t zeroLevel;
  int FrameSize() const { return b * channels; }
};

Format FormatOf(const ToneSettings& s) {
  return Format{s.Resolution == tg16Bit ? 2 : 1, s.Stereo ? 2 : 1,
                s.Quality == tgHiQ ? 960 : 441,
                static_cast<std::uint8_t>(s.Resolution == tg16Bit ? 0 : 128)};
}

// Adds the layer value v to the frame at `frame`.
void AddToFrame(std::uint8_t* frame, double v, const Format& format) {
  if (format.b == 2) {
    std::int16_t sample;
    std::memcpy(&sample, frame, 2);
    const auto sum = static_cast<std::uint16_t>(sample + Trunc(v));
    std::memcpy(frame, &sum, 2);
    if (format.channels == 2) std::memcpy(frame + 2, &sum, 2);
  } else {
    const auto sum = static_cast<std::uint8_t>(frame[0] - 128 + Trunc(128 + v));
    frame[0] = sum;
    if (format.channels == 2) frame[1] = sum;
  }
}

struct Noise {
  std::uint32_t state = 1;
  std::uint32_t Next(std::uint32_t n) {
    state = state * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state) * n) >>
                                      32);
  }
};

void AddLayer(std::vector<std::uint8_t>& image, std::int64_t dataSize,
              const Format& format, std::int64_t a, std::int64_t f,
              TTGWave wave, Noise& noise) {
  if (a <= 0 || f <= 0) return;
  const double hi = format.b == 2 ? a * 65534 / 100.0 : a * 254 / 100.0;
  const double lo = format.b == 2 ? -32767 * a / 100.0 : -127 * a / 100.0;
  const double p = 100.0 * format.q / f;
  const std::int64_t l1 = Trunc(p);
  const std::int64_t h2 = Trunc(p + 0.5) / 2;
  if (wave == tgTriangle && h2 == 0) return;  // no half period: left out

  const double sineStep = 2 * std::numbers::pi / l1;
  const double squareHigh = hi / 2;
  const double triangleStep = wave == tgTriangle ? hi / h2 : 0;
  const double sawStep = hi / l1;

  double ramp = lo;
  std::int64_t c = 1;
  std::int64_t cycleStart = 0;
  std::int64_t cycleEnd = Trunc(c * p);
  std::int64_t j = 0;
  for (std::int64_t offset = 0; offset < dataSize;
       offset += format.FrameSize()) {
    double v;
    switch (wave) {
      case tgSine:
        v = Trunc(std::sin(j * sineStep) / 2 * hi);
        break;
      case tgSquare:
        v = j < h2 ? lo : squareHigh;
        break;
      case tgTriangle:
        v = Trunc(ramp);
        if (j < h2) {
          ramp += triangleStep;
        } else {
          ramp -= triangleStep;
          if (ramp < lo) ramp = lo;
        }
        break;
      case tgSawtooth:
        v = Trunc(ramp);
        ramp += sawStep;
        break;
      default:
        v = noise.Next(static_cast<std::uint32_t>(Trunc(hi + 1))) + lo;
        break;
    }
    AddToFrame(image.data() + 44 + offset, v, format);
    ++j;
    if (j == cycleEnd - cycleStart) {
      j = 0;
      ramp = lo;
      ++c;
      cycleStart = cycleEnd;
      cycleEnd = Trunc(c * p);
    }
  }
}

std::int64_t ExtraFrequency(const ToneSettings& s, int i) {
  if (s.AMUseMultiplier) {
    const double product = s.Frequency * double{s.AMFrequencies[i]};
    if (std::isnan(product)) return 0;
    if (product < 20) return 20;
    if (product > 20000) return 20000;
    return Trunc(product);
  }
  const double hz = s.AMFrequencies[i];
  if (!(hz > -32769.0 && hz < 32768.0)) return 0;  // beyond 16 bits: none
  return static_cast<std::int16_t>(Trunc(hz));
}

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

std::vector<std::uint8_t> Synthesize(const ToneSettings& s) {
  const Format format = FormatOf(s);
  std::int64_t dataSize = format.b * std::int64_t{s.Duration} * format.q / 10;
  if (s.Stereo) dataSize *= 2;
  if (dataSize < 0) dataSize = 0;

  std::vector<std::uint8_t> image(dataSize + 44 + 32, format.zeroLevel);
  std::uint8_t* h = image.data();
  const std::uint32_t rate = 100 * format.q;
  std::memcpy(h, "RIFF", 4);
  Put32(h + 4, static_cast<std::uint32_t>(dataSize + 36));
  std::memcpy(h + 8, "WAVEfmt ", 8);
  Put32(h + 16, 16);
  Put16(h + 20, 1);
  Put16(h + 22, format.channels);
  Put32(h + 24, rate);
  Put32(h + 28, format.channels * rate * format.b);
  Put16(h + 32, format.b * format.channels);
  Put16(h + 34, 8 * format.b);
  std::memcpy(h + 36, "data", 4);
  Put32(h + 40, static_cast<std::uint32_t>(dataSize));

  Noise noise;
  std::int64_t sum = 0;
  for (std::int16_t amplitude : s.AMAmplitudes) sum += amplitude;
  AddLayer(image, dataSize, format, 100 - sum, s.Frequency, s.Waveform, noise);
  for (int i = 0; i < 8; ++i) {
    std::int64_t a = s.AMAmplitudes[i];
    if (sum > 100) a = a * 100 / sum;
    AddLayer(image, dataSize, format, a, ExtraFrequency(s, i), s.AMWaveforms[i],
             noise);
  }
  return image;
}

void ApplyEnvelope(std::vector<std::uint8_t>& samples, std::uint32_t dataSize,
                   bool stereo, TTGResolution resolution,
                   const EnvelopeSettings& envelope) {
  const std::int64_t b = resolution == tg16Bit ? 2 : 1;
  const std::int64_t frameSize = b * (stereo ? 2 : 1);
  const std::int64_t size = dataSize;
  const std::int64_t lastFrame = size / frameSize;
  std::int64_t a = envelope.Attack, h = envelope.Hold, d = envelope.Decay,
               r = envelope.Release;
  const std::int64_t t = a + h + d + r;
  if (t > 100) {
    a = a * 100 / t;
    h = h * 100 / t;
    d = d * 100 / t;
    r = 100 - a - h - d;
  }
  const std::int64_t s = 100 - a - h - d - r;
  const double level = envelope.Sustain / 100.0;

  auto read = [&](std::int64_t frame) -> std::int64_t {
    const std::uint8_t* p = samples.data() + frame * frameSize;
    if (b == 2) {
      std::int16_t x;
      std::memcpy(&x, p, 2);
      return x;
    }
    return p[0] - 128;
  };
  auto write = [&](std::int64_t frame, std::int64_t y) {
    std::uint8_t* p = samples.data() + frame * frameSize;
    for (std::int64_t at = 0; at < frameSize; at += b) {
      if (b == 2) {
        const auto sample = static_cast<std::uint16_t>(y);
        std::memcpy(p + at, &sample, 2);
      } else {
        p[at] = static_cast<std::uint8_t>(y + 128);
      }
    }
  };

  std::int64_t start = 0;
  auto phase = [&](std::int64_t n, auto rule) {
    for (std::int64_t k = 0; k <= n; ++k) {
      write(start + k, rule(k, read(start + k), n));
    }
    start += n + 1;
  };
  auto byShare = [&](std::int64_t share) {
    return share * size / (frameSize * 100);
  };

  if (a != 0 && byShare(a) != 0) {
    phase(byShare(a), [](std::int64_t k, std::int64_t x, std::int64_t n) {
      return Trunc(k * x * (1.0 / n));
    });
  }
  if (h != 0 && byShare(h) != 0) {
    phase(byShare(h),
          [](std::int64_t, std::int64_t x, std::int64_t) { return x; });
  }
  if (d != 0 && byShare(d) != 0) {
    const int sustain = envelope.Sustain;
    phase(byShare(d), [&](std::int64_t k, std::int64_t x, std::int64_t n) {
      return x - Trunc(k * x * ((100 - sustain) / double(n) / 100));
    });
  }
  if (s != 0) {
    std::int64_t n = byShare(s);
    if (r == 0) n = lastFrame - start < 0 ? 0 : lastFrame - start;
    phase(n, [&](std::int64_t, std::int64_t x, std::int64_t) {
      return Trunc(x * level);
    });
  }
  if (r != 0 && lastFrame - start != 0) {
    phase(lastFrame - start,
          [&](std::int64_t k, std::int64_t x, std::int64_t n) {
            return Trunc((n - k) * x * (level / n));
          });
  }
}

}  // namespace quillora::literal
