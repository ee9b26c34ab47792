#include "sound/sound_mixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <ostream>
#include <set>
#include <thread>
#include <vector>

#include "tests/support/blocking_call.h"

namespace quillora {
namespace {

using namespace std::chrono_literals;

// A generous bound for things that should happen promptly; only a hang
// reaches it.
constexpr auto kPatience = 10s;

StereoFrames Constant(std::size_t frames, std::int16_t value) {
  return StereoFrames(2 * frames, value);
}

StereoFrames RenderFrames(SoundMixer& mixer, std::size_t frames) {
  StereoFrames block(2 * frames);
  mixer.Render(block);
  return block;
}

// Pulls blocks from a mixer on its own thread, as a device does, and keeps
// every sample value it has seen.
class FakeDevice {
 public:
  explicit FakeDevice(SoundMixer& mixer)
      : thread_([this, &mixer] {
          StereoFrames block(2 * 64);
          while (!done_) {
            mixer.Render(block);
            {
              std::lock_guard lock(mutex_);
              seen_.insert(block.begin(), block.end());
            }
            std::this_thread::sleep_for(1ms);
          }
        }) {}
  ~FakeDevice() {
    done_ = true;
    thread_.join();
  }
  std::set<std::int16_t> Seen() {
    std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  std::atomic<bool> done_{false};
  std::mutex mutex_;
  std::set<std::int16_t> seen_;
  std::thread thread_;
};

TEST(SoundMixer, PlaysTheSoundOnceThenSilence) {
  SoundMixer mixer;
  const StereoFrames sound = {1, -1, 2, -2, 3, -3};
  const SoundMixer::SoundId id = mixer.Start(sound, false);
  EXPECT_EQ(RenderFrames(mixer, 2), (StereoFrames{1, -1, 2, -2}));
  EXPECT_FALSE(mixer.HasEnded(id));
  EXPECT_EQ(RenderFrames(mixer, 2), (StereoFrames{3, -3, 0, 0}));
  // Ends when the device asks for more after the last frame.
  EXPECT_FALSE(mixer.HasEnded(id));
  EXPECT_EQ(RenderFrames(mixer, 2), StereoFrames(4, 0));
  EXPECT_TRUE(mixer.HasEnded(id));
}

TEST(SoundMixer, LoopNeverEndsByItself) {
  SoundMixer mixer;
  const SoundMixer::SoundId id = mixer.Start({5, 6}, true);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(RenderFrames(mixer, 3), (StereoFrames{5, 6, 5, 6, 5, 6}));
  }
  EXPECT_FALSE(mixer.HasEnded(id));
}

TEST(SoundMixer, StartCutsTheCurrentSoundAndPlaysTheNewOneFromItsStart) {
  SoundMixer mixer;
  const SoundMixer::SoundId first = mixer.Start(Constant(100, 7), true);
  RenderFrames(mixer, 10);
  const SoundMixer::SoundId second = mixer.Start({1, 1, 2, 2}, false);
  EXPECT_TRUE(mixer.HasEnded(first));
  EXPECT_FALSE(mixer.HasEnded(second));
  EXPECT_EQ(RenderFrames(mixer, 3), (StereoFrames{1, 1, 2, 2, 0, 0}));
}

TEST(SoundMixer, StopSilencesAndEndsTheSound) {
  SoundMixer mixer;
  const SoundMixer::SoundId id = mixer.Start(Constant(100, 7), true);
  RenderFrames(mixer, 10);
  mixer.Stop();
  EXPECT_TRUE(mixer.HasEnded(id));
  EXPECT_EQ(RenderFrames(mixer, 4), StereoFrames(8, 0));
}

TEST(SoundMixer, SoundWithoutFramesHasEndedAtOnce) {
  SoundMixer mixer;
  EXPECT_TRUE(mixer.HasEnded(mixer.Start({}, false)));
  EXPECT_TRUE(mixer.HasEnded(mixer.Start({}, true)));
}

TEST(SoundMixer, VolumeAppliesFromTheNextBlock) {
  SoundMixer mixer;
  EXPECT_EQ(mixer.Volume(), 0xFFFFFFFFu);
  mixer.Start(Constant(100, 30000), true);
  EXPECT_EQ(RenderFrames(mixer, 1), (StereoFrames{30000, 30000}));
  mixer.SetVolume(0x4000FFFF);
  EXPECT_EQ(mixer.Volume(), 0x4000FFFFu);
  EXPECT_EQ(RenderFrames(mixer, 1), (StereoFrames{30000, 7500}));
}

// Each way a sound can end must wake a play that waits for it, whatever
// thread ends it.
struct EndCase {
  const char* name;
  bool loop;  // a loop ends only when something ends it
  std::function<void(SoundMixer&)> end;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class WaitUntilEnded : public ::testing::TestWithParam<EndCase> {};

TEST_P(WaitUntilEnded, ReturnsWhenTheSoundEnds) {
  SoundMixer mixer;
  FakeDevice device(mixer);
  const SoundMixer::SoundId id =
      mixer.Start(Constant(GetParam().loop ? 100 : 2000, 9), GetParam().loop);
  testing_support::BlockingCall waiting([&] { mixer.WaitUntilEnded(id); },
                                        [&] { mixer.Stop(); });
  // Once the device has taken some of it, the sound is surely under way.
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (device.Seen().count(9) == 0 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(1ms);
  }
  std::thread ender([&] { GetParam().end(mixer); });
  EXPECT_TRUE(waiting.ReturnsWithin(kPatience));
  ender.join();
}

INSTANTIATE_TEST_SUITE_P(
    Enders, WaitUntilEnded,
    ::testing::Values(EndCase{"DeviceTakesTheLastFrame", false,
                              [](SoundMixer&) {}},
                      EndCase{"StopFromAnotherThread", true,
                              [](SoundMixer& mixer) { mixer.Stop(); }},
                      EndCase{"StartFromAnotherThread", true,
                              [](SoundMixer& mixer) {
                                mixer.Start(Constant(10, 1), false);
                              }}),
    [](const auto& info) { return std::string(info.param.name); });

// Several players and a device at once: every waiting play returns and the
// device only ever sees the players' own samples at the volumes set.
TEST(SoundMixer, ConcurrentPlayersAndDevice) {
  SoundMixer mixer;
  std::vector<std::thread> players;
  {
    FakeDevice device(mixer);
    for (std::int16_t player = 1; player <= 4; ++player) {
      players.emplace_back([&mixer, player] {
        for (int round = 0; round < 100; ++round) {
          const bool loop = round % 3 == 0;
          const SoundMixer::SoundId id = mixer.Start(
              Constant(40, static_cast<std::int16_t>(player * 1000)), loop);
          if (round % 5 == 0) mixer.SetVolume(round % 2 ? 0xFFFFFFFF : 0);
          if (loop) {
            mixer.Stop();
          } else {
            mixer.WaitUntilEnded(id);
          }
        }
      });
    }
    for (std::thread& player : players) player.join();
    const std::set<std::int16_t> seen = device.Seen();
    for (std::int16_t value : seen) {
      EXPECT_TRUE(value == 0 || value % 1000 == 0) << value;
    }
  }
}

}  // namespace
}  // namespace quillora
