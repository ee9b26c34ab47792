#include "sound/envelope.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#include "sound/vector_clones.h"

namespace quillora {
namespace {

static_assert(std::endian::native == std::endian::little,
              "a frame's first sample is the low half of its word");

// One phase's rule, y from the frame's index k within the phase and its
// first sample x. The products of k and x are below 2^38, so the double
// holds them exactly, and |y| <= |x| keeps the conversions in range.
struct Attack {
  double inverseCount;  // 1 / n
  std::int32_t operator()(double k, double x) const {
    return static_cast<std::int32_t>(k * x * inverseCount);
  }
};
struct Decay {
  double fallPerFrame;  // (100 - Sustain) / n / 100
  std::int32_t operator()(double k, double x) const {
    return static_cast<std::int32_t>(x) -
           static_cast<std::int32_t>(k * x * fallPerFrame);
  }
};
struct SustainLevel {
  double level;  // Sustain / 100
  std::int32_t operator()(double, double x) const {
    return static_cast<std::int32_t>(x * level);
  }
};
struct Release {
  double count;          // n
  double levelPerFrame;  // (Sustain / 100) / n
  std::int32_t operator()(double k, double x) const {
    return static_cast<std::int32_t>((count - k) * x * levelPerFrame);
  }
};
struct Unchanged {
  std::int32_t operator()(double, double x) const {
    return static_cast<std::int32_t>(x);
  }
};

// A frame is read and written whole, as one 8-, 16- or 32-bit word, which
// lets the compiler keep stereo frames in vector registers.
template <int BytesPerSample, int Channels>
struct Samples {
  static constexpr int kChannels = Channels;
  static constexpr int kFrameSize = BytesPerSample * Channels;
  using Word = std::conditional_t<
      kFrameSize == 4, std::uint32_t,
      std::conditional_t<kFrameSize == 2, std::uint16_t, std::uint8_t>>;

  // The frame's first sample as a signed value.
  static std::int32_t Read(const std::uint8_t* frame) {
    Word word;
    std::memcpy(&word, frame, sizeof word);
    if constexpr (BytesPerSample == 2) {
      return static_cast<std::int16_t>(word & 0xFFFF);
    } else {
      return static_cast<std::int32_t>(word & 0xFF) - 128;
    }
  }
  static void Write(std::uint8_t* frame, std::int32_t y) {
    const std::uint32_t sample =
        BytesPerSample == 2 ? static_cast<std::uint32_t>(y) & 0xFFFF
                            : static_cast<std::uint32_t>(y + 128) & 0xFF;
    const std::uint32_t copies =
        Channels == 1 ? sample : sample | sample << (8 * BytesPerSample);
    const auto word = static_cast<Word>(copies);
    std::memcpy(frame, &word, sizeof word);
  }
};

// Applies `rule` to the first `count` frames of a phase, from `frames`. The
// frames go in fixed groups so that the compiler can run a group's
// arithmetic side by side.
template <class Layout, class Rule>
QUILLORA_VECTOR_CLONES void ApplyRule(std::uint8_t* frames, std::int64_t count,
                                      Rule rule) {
  constexpr int kGroup = 16;
  double k[kGroup];
  for (int lane = 0; lane < kGroup; ++lane) k[lane] = lane;
  std::int64_t done = 0;
  for (; done + kGroup <= count; done += kGroup) {
    std::uint8_t* group = frames + done * Layout::kFrameSize;
    std::int32_t y[kGroup];
    for (int lane = 0; lane < kGroup; ++lane) {
      const double x = Layout::Read(group + lane * Layout::kFrameSize);
      y[lane] = rule(k[lane], x);
      k[lane] += kGroup;
    }
    for (int lane = 0; lane < kGroup; ++lane) {
      Layout::Write(group + lane * Layout::kFrameSize, y[lane]);
    }
  }
  for (int lane = 0; done < count; ++done, ++lane) {
    std::uint8_t* frame = frames + done * Layout::kFrameSize;
    Layout::Write(frame, rule(k[lane], Layout::Read(frame)));
  }
}

// The phases with the frame each starts at and its frame count n; a phase
// covers n + 1 frames.
struct Phase {
  enum Kind { kAttack, kHold, kDecay, kSustain, kRelease } kind;
  std::int64_t start;
  std::int64_t count;
};

struct PhasePlan {
  Phase phases[5];
  int size = 0;
};

std::int16_t Percentage(std::int16_t value) {
  return std::clamp<std::int16_t>(value, 0, 100);
}

PhasePlan PlanPhases(std::int64_t dataSize, std::int64_t frameSize,
                     const EnvelopeSettings& envelope) {
  std::int64_t a = Percentage(envelope.Attack);
  std::int64_t h = Percentage(envelope.Hold);
  std::int64_t d = Percentage(envelope.Decay);
  std::int64_t r = Percentage(envelope.Release);
  const std::int64_t total = a + h + d + r;
  if (total > 100) {
    a = a * 100 / total;
    h = h * 100 / total;
    d = d * 100 / total;
    r = 100 - a - h - d;
  }
  const std::int64_t s = 100 - a - h - d - r;
  const std::int64_t lastFrame = dataSize / frameSize;
  auto framesOf = [&](std::int64_t share) {
    return share * dataSize / (frameSize * 100);
  };

  PhasePlan plan;
  std::int64_t start = 0;
  auto run = [&](Phase::Kind kind, std::int64_t count) {
    plan.phases[plan.size++] = Phase{kind, start, count};
    start += count + 1;
  };
  if (a != 0 && framesOf(a) != 0) run(Phase::kAttack, framesOf(a));
  if (h != 0 && framesOf(h) != 0) run(Phase::kHold, framesOf(h));
  if (d != 0 && framesOf(d) != 0) run(Phase::kDecay, framesOf(d));
  if (s != 0) {
    run(Phase::kSustain,
        r == 0 ? std::max<std::int64_t>(lastFrame - start, 0) : framesOf(s));
  }
  if (r != 0 && lastFrame - start > 0) run(Phase::kRelease, lastFrame - start);
  return plan;
}

template <class Layout>
void ApplyPhases(std::span<std::uint8_t> samples, const PhasePlan& plan,
                 std::int16_t sustain) {
  const std::int64_t capacity =
      static_cast<std::int64_t>(samples.size()) / Layout::kFrameSize;
  const double level = sustain / 100.0;
  for (int i = 0; i < plan.size; ++i) {
    const Phase& phase = plan.phases[i];
    const auto n = static_cast<double>(phase.count);
    const std::int64_t covered =
        std::clamp<std::int64_t>(capacity - phase.start, 0, phase.count + 1);
    if (covered == 0) continue;
    std::uint8_t* frames = samples.data() + phase.start * Layout::kFrameSize;
    switch (phase.kind) {
      case Phase::kAttack:
        ApplyRule<Layout>(frames, covered, Attack{1 / n});
        break;
      case Phase::kHold:
        // Mono samples stay as they are; stereo ones take the left value.
        if (Layout::kChannels == 2) {
          ApplyRule<Layout>(frames, covered, Unchanged{});
        }
        break;
      case Phase::kDecay:
        ApplyRule<Layout>(frames, covered, Decay{(100 - sustain) / n / 100});
        break;
      case Phase::kSustain:
        ApplyRule<Layout>(frames, covered, SustainLevel{level});
        break;
      case Phase::kRelease:
        ApplyRule<Layout>(frames, covered, Release{n, level / n});
        break;
    }
  }
}

}  // namespace

void ADSRWaveform(std::span<std::uint8_t> samples, std::uint32_t dataSize,
                  bool stereo, TTGResolution resolution,
                  const EnvelopeSettings& envelope) {
  const bool eightBit = resolution == tg8Bit;
  const int frameSize = (eightBit ? 1 : 2) * (stereo ? 2 : 1);
  const PhasePlan plan = PlanPhases(dataSize, frameSize, envelope);
  const std::int16_t sustain = Percentage(envelope.Sustain);
  if (eightBit) {
    if (stereo) {
      ApplyPhases<Samples<1, 2>>(samples, plan, sustain);
    } else {
      ApplyPhases<Samples<1, 1>>(samples, plan, sustain);
    }
  } else if (stereo) {
    ApplyPhases<Samples<2, 2>>(samples, plan, sustain);
  } else {
    ApplyPhases<Samples<2, 1>>(samples, plan, sustain);
  }
}

}  // namespace quillora
