// The silent output that every process has until a real one is installed:
// it plays nothing, but its plays take the time a real output's would.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <thread>
#include <vector>

#include "sound/sound_output.h"
#include "tests/sound/wav_test_images.h"
#include "tests/support/blocking_call.h"

namespace quillora {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kPatience = 10s;

// `milliseconds` of 8-bit mono silence at 8000 frames per second.
std::vector<std::uint8_t> SilenceImage(int milliseconds) {
  return test::MakeWav8(1, 8000,
                        std::vector<std::uint8_t>(8 * milliseconds, 128));
}

TEST(SilentOutput, WaitingPlayLastsTheSoundsTime) {
  const std::vector<std::uint8_t> image = SilenceImage(300);
  const auto start = Clock::now();
  ProcessSoundOutput().Play(image, PlayMode::kWait);
  EXPECT_GE(Clock::now() - start, 300ms);
}

TEST(SilentOutput, AsyncAndLoopReturnAtOnce) {
  const std::vector<std::uint8_t> image = SilenceImage(60'000);
  for (PlayMode mode : {PlayMode::kAsync, PlayMode::kLoop}) {
    const auto start = Clock::now();
    ProcessSoundOutput().Play(image, mode);
    EXPECT_LT(Clock::now() - start, kPatience);
  }
  ProcessSoundOutput().Stop();
}

TEST(SilentOutput, ImageThatIsNotWavPlaysNothing) {
  const std::vector<std::uint8_t> notWav(1000, 0);
  const auto start = Clock::now();
  ProcessSoundOutput().Play(notWav, PlayMode::kWait);
  EXPECT_LT(Clock::now() - start, kPatience);
}

// A waiting play ends early when another thread's play or stop ends its
// sound.
struct EndCase {
  const char* name;
  std::function<void()> end;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class SilentOutputWaitEndedBy : public ::testing::TestWithParam<EndCase> {};

TEST_P(SilentOutputWaitEndedBy, AnotherThread) {
  const std::vector<std::uint8_t> longImage = SilenceImage(60'000);
  testing_support::BlockingCall waiting(
      [&] { ProcessSoundOutput().Play(longImage, PlayMode::kWait); },
      [] { ProcessSoundOutput().Stop(); });
  // The end must also reach a play that began waiting after it was sent;
  // repeat it until the waiting play has returned.
  const auto deadline = Clock::now() + kPatience;
  while (!waiting.ReturnsWithin(20ms) && Clock::now() < deadline) {
    GetParam().end();
  }
  EXPECT_TRUE(waiting.ReturnsWithin(0s));
}

INSTANTIATE_TEST_SUITE_P(
    Enders, SilentOutputWaitEndedBy,
    ::testing::Values(EndCase{"Stop", [] { ProcessSoundOutput().Stop(); }},
                      EndCase{"AsyncPlay",
                              [] {
                                ProcessSoundOutput().Play(SilenceImage(10),
                                                          PlayMode::kAsync);
                              }},
                      EndCase{"PlayOfNonWav",
                              [] {
                                ProcessSoundOutput().Play(
                                    std::vector<std::uint8_t>(4, 0),
                                    PlayMode::kAsync);
                              }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SilentOutput, KeepsSeparateChannelVolumes) {
  SoundOutput& output = ProcessSoundOutput();
  EXPECT_TRUE(output.HasSeparateChannelVolumes());
  EXPECT_EQ(output.Volume(), 0xFFFFFFFFu);
  output.SetVolume(0x12345678);
  EXPECT_EQ(output.Volume(), 0x12345678u);
  output.SetVolume(0xFFFFFFFF);
}

}  // namespace
}  // namespace quillora
