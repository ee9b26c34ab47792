// The sound output that opens its device on a thread of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <vector>

#include "sound/deferred_sound_output.h"
#include "tests/sound/recording_output.h"
#include "tests/sound/wav_test_images.h"

namespace quillora {
namespace {

using namespace std::chrono_literals;
using testing_support::RecordingOutput;

// An opening that goes on until the test lets it end.
class HeldOpening {
 public:
  std::function<std::unique_ptr<SoundOutput>()> Open() {
    return [this]() -> std::unique_ptr<SoundOutput> {
      release_.get_future().wait();
      return std::move(device_);
    };
  }
  void Finish() { release_.set_value(); }
  RecordingOutput* device() const { return raw_; }

 private:
  std::unique_ptr<RecordingOutput> device_ =
      std::make_unique<RecordingOutput>();
  RecordingOutput* raw_ = device_.get();
  std::promise<void> release_;
};

TEST(DeferredSoundOutputTest, VolumeIsKeptUntilTheDeviceOpensAndHandedOver) {
  HeldOpening opening;
  DeferredSoundOutput output(opening.Open());
  // A tone generator made while the device opens reads and sets the volume
  // without waiting for it.
  EXPECT_EQ(output.Volume(), 0xFFFFFFFFu);
  output.SetVolume(0x12345678);
  EXPECT_EQ(output.Volume(), 0x12345678u);
  EXPECT_TRUE(opening.device()->volumeWrites.empty());

  opening.Finish();
  output.Stop();  // waits for the device
  EXPECT_EQ(opening.device()->volumeWrites,
            std::vector<std::uint32_t>{0x12345678});
  output.SetVolume(0x00010002);
  EXPECT_EQ(opening.device()->volume, 0x00010002u);
}

TEST(DeferredSoundOutputTest, APlayWaitsForTheDeviceAndReachesIt) {
  HeldOpening opening;
  DeferredSoundOutput output(opening.Open());
  const std::vector<std::uint8_t> image =
      test::MakeWav16(1, 48000, std::vector<std::int16_t>(480, 1000));
  auto playing = std::async(std::launch::async,
                            [&] { output.Play(image, PlayMode::kAsync); });
  EXPECT_EQ(playing.wait_for(50ms), std::future_status::timeout);
  opening.Finish();
  ASSERT_EQ(playing.wait_for(10s), std::future_status::ready);
  ASSERT_EQ(opening.device()->plays.size(), 1u);
  EXPECT_EQ(opening.device()->plays[0].image, image);
  EXPECT_EQ(opening.device()->plays[0].mode, PlayMode::kAsync);
}

TEST(DeferredSoundOutputTest, NoDeviceGivesASilentOutputWhosePlaysTakeTime) {
  DeferredSoundOutput output([] { return std::unique_ptr<SoundOutput>(); });
  const std::vector<std::uint8_t> tenthOfASecond =
      test::MakeWav16(1, 48000, std::vector<std::int16_t>(4800, 1000));
  const auto start = std::chrono::steady_clock::now();
  output.Play(tenthOfASecond, PlayMode::kWait);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);
}

TEST(DeferredSoundOutputTest, AnOpeningThatThrowsGivesASilentOutput) {
  DeferredSoundOutput output([]() -> std::unique_ptr<SoundOutput> {
    throw std::runtime_error("no sound server");
  });
  output.Stop();
  output.SetVolume(7);
  EXPECT_EQ(output.Volume(), 7u);
}

}  // namespace
}  // namespace quillora
