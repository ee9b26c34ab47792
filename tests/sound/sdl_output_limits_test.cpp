// What the SDL output refuses without harm: images at rates the conversion
// does not take, and plays that run out of memory. This program fails the
// n-th allocation of a call on purpose (on the calling thread only, so that
// SDL's audio thread is not affected).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "sound/pcm_convert.h"
#include "sound/sdl_sound_output.h"
#include "tests/sound/wav_test_images.h"
#include "tests/support/failing_allocator.h"

namespace quillora {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 10s;

std::vector<std::uint8_t> Tone(std::uint32_t rate, std::size_t frames) {
  return test::MakeWav16(
      1, rate, test::ToSamples16(test::Sine(500.0, rate, frames, 20000)));
}

// The SDL output on the dummy driver, with the loudest sample of the latest
// block the device took.
class SdlLimitsTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    output_ = SdlSoundOutput::Open([this](std::span<const std::int16_t> b) {
      int peak = 0;
      for (std::int16_t sample : b) peak = std::max(peak, std::abs(sample));
      peak_ = peak;
    });
    ASSERT_NE(output_, nullptr);
  }

  bool Eventually(bool sounding) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while ((peak_ > 0) != sounding) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(2ms);
    }
    return true;
  }

  // A waiting play of a sound that does not play must return at once.
  bool WaitingPlayReturns(const std::vector<std::uint8_t>& image) {
    auto play = std::async(std::launch::async,
                           [&] { output_->Play(image, PlayMode::kWait); });
    return play.wait_for(kPatience) == std::future_status::ready;
  }

  std::unique_ptr<SdlSoundOutput> output_;
  std::atomic<int> peak_{0};
};

TEST_F(SdlLimitsTest, ImageAtARateBeyondTheLimitsEndsTheSoundAndPlaysNothing) {
  for (std::uint32_t rate :
       {kLowestConvertibleRate - 1, kHighestConvertibleRate + 1, 1u}) {
    output_->Play(Tone(48000, 4800), PlayMode::kLoop);
    ASSERT_TRUE(Eventually(true));
    // A tenth of a second at the refused rate; at 1 Hz it would be 48000
    // times as long as its image once converted.
    output_->Play(Tone(rate, std::max<std::uint32_t>(rate / 10, 1)),
                  PlayMode::kLoop);
    EXPECT_TRUE(Eventually(false)) << rate;
    EXPECT_TRUE(WaitingPlayReturns(Tone(rate, 100))) << rate;
  }
}

TEST_F(SdlLimitsTest, PlayOutOfMemorySoundsNothingAndTheOutputGoesOn) {
  const auto image = Tone(96000, 96000);
  bool completed = false;
  for (long failAt = 0; !completed && failAt < 100; ++failAt) {
    output_->Play(Tone(48000, 4800), PlayMode::kLoop);
    ASSERT_TRUE(Eventually(true));
    testing_support::FailAllocationAfter(failAt);
    output_->Play(image, PlayMode::kLoop);  // never throws
    completed = !testing_support::ArmedFailureHappened();
    testing_support::StopFailingAllocations();
    if (!completed) {
      EXPECT_TRUE(Eventually(false)) << failAt;
    }
  }
  EXPECT_TRUE(completed);
  EXPECT_TRUE(Eventually(true));  // the last, unfailed play sounds
  output_->Stop();
  EXPECT_TRUE(Eventually(false));
}

}  // namespace
}  // namespace quillora
