// The noise source of the synthesis: a 32-bit linear congruential generator.
//
// Each draw first advances the state, state := state * 134775813 + 1 modulo
// 2^32, then scales it to the range asked for. A generator starts at state 1,
// so every synthesis that makes a fresh one gives the same noise. Each
// synthesis owns its generator; nothing is shared between threads.
#pragma once

#include <cstdint>

namespace quillora {

class NoiseGenerator {
 public:
  static constexpr std::uint32_t kMultiplier = 134775813;
  static constexpr std::uint32_t kIncrement = 1;

  // A run of draws is itself one step, state * multiplier + increment.
  struct Step {
    std::uint32_t multiplier;
    std::uint32_t increment;
    constexpr std::uint32_t Apply(std::uint32_t state) const {
      return state * multiplier + increment;
    }
  };

  // The step of `draws` draws, in O(log draws) by squaring the single step.
  static constexpr Step StepOf(std::uint64_t draws) {
    Step run{1, 0};
    Step power{kMultiplier, kIncrement};
    while (draws != 0) {
      if (draws & 1)
        run = {run.multiplier * power.multiplier, power.Apply(run.increment)};
      power = {power.multiplier * power.multiplier,
               power.Apply(power.increment)};
      draws >>= 1;
    }
    return run;
  }

  // Scales a state to 0..range-1: (state * range) div 2^32.
  static constexpr std::uint32_t Scale(std::uint32_t state,
                                       std::uint32_t range) {
    return static_cast<std::uint32_t>(
        (static_cast<std::uint64_t>(state) * range) >> 32);
  }

  // The next value, 0..range-1.
  constexpr std::uint32_t Next(std::uint32_t range) {
    state_ = state_ * kMultiplier + kIncrement;
    return Scale(state_, range);
  }

  // Moves on as if Next had been called `draws` times.
  constexpr void Skip(std::uint64_t draws) {
    state_ = StepOf(draws).Apply(state_);
  }

  constexpr std::uint32_t State() const { return state_; }

 private:
  std::uint32_t state_ = 1;
};

}  // namespace quillora
