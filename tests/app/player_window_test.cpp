// Play and Stop on the main window, through its real buttons, with the
// process's sound output replaced by one that keeps what it is given.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "resources/resources.h"
#include "sound/midi_play_thread.h"
#include "tests/support/wait_until.h"
#include "toolkit/application.h"

namespace quillora {
namespace {

// The process's output for this program: keeps each image played and notes
// the stops, in order. Thread-safe.
class KeepingOutput final : public SoundOutput {
 public:
  struct Event {
    bool stop;
    std::vector<std::uint8_t> image;
  };

  void Play(std::span<const std::uint8_t> image, PlayMode) override {
    std::lock_guard lock(mutex_);
    events_.push_back({false, {image.begin(), image.end()}});
  }
  void Stop() override {
    std::lock_guard lock(mutex_);
    events_.push_back({true, {}});
  }
  bool HasSeparateChannelVolumes() const override { return true; }
  std::uint32_t Volume() const override { return 0xFFFFFFFF; }
  void SetVolume(std::uint32_t) override {}

  std::vector<Event> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  std::vector<std::vector<std::uint8_t>> Plays() const {
    std::vector<std::vector<std::uint8_t>> plays;
    for (const Event& event : Events()) {
      if (!event.stop) plays.push_back(event.image);
    }
    return plays;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    events_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Event> events_;
};

KeepingOutput* output = nullptr;

// The image the player's voice makes for one tone.
std::vector<std::uint8_t> VoiceImage(std::int32_t frequency,
                                     std::int32_t duration) {
  KeepingOutput scratch;
  TToneGen generator(nullptr, scratch);
  generator.SetWaveform(tgTriangle);
  generator.SetFrequency(frequency);
  generator.SetDuration(duration);
  generator.Prepare();
  const auto image = generator.GetDataBuffer();
  return {image.begin(), image.end()};
}

using testing_support::WaitUntil;

class PlayerWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitQuilloraResources();
    // Before the first generator exists.
    if (!output) {
      auto keeping = std::make_unique<KeepingOutput>();
      output = keeping.get();
      InstallSoundOutput(std::move(keeping));
    }
  }

  PlayerWindowTest() {
    RegisterProgramClasses(registry_);
    form_ = std::make_unique<TForm1>(nullptr, registry_);
    form_->ShowForm();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_->Widget()));
    output->Clear();
  }

  ~PlayerWindowTest() override {
    form_.reset();
    EXPECT_EQ(TThread::RunningSelfFreeingThreads(), 0);
  }

  void Click(TSpeedButton* button) {
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
  }

  void PressPlay(std::string_view melody, std::string_view tempo) {
    form_->Memo1->SetText(melody);
    form_->Edit3->SetText(tempo);
    Click(form_->SpeedButton1);
    ASSERT_NE(form_->PlayerThread, nullptr);
  }

  bool PlayerFinished() { return form_->PlayerThread->Finished(); }

  ComponentRegistry registry_;
  std::unique_ptr<TForm1> form_;
};

TEST_F(PlayerWindowTest, PlaySoundsTheNotesInOrder) {
  PressPlay("32c2 32e2 32e2 32g2", "240");  // 32nd notes of 28 ms
  ASSERT_TRUE(WaitUntil([&] { return PlayerFinished(); }));
  const auto plays = output->Plays();
  ASSERT_EQ(plays.size(), 3u);  // the repeated E is one tone
  EXPECT_TRUE(plays[0] == VoiceImage(1046, 28)) << 1046;
  EXPECT_TRUE(plays[1] == VoiceImage(1318, 28)) << 1318;
  EXPECT_TRUE(plays[2] == VoiceImage(1567, 28)) << 1567;
  EXPECT_TRUE(output->Events().back().stop);
}

TEST_F(PlayerWindowTest, StopEndsThePlayWithinOneNote) {
  PressPlay("1c1 1d1 1e1", "240");  // whole notes of 925 ms
  ASSERT_TRUE(WaitUntil([&] { return output->Plays().size() == 1; }));
  Click(form_->SpeedButton2);
  ASSERT_TRUE(WaitUntil([&] { return PlayerFinished(); }));
  EXPECT_EQ(output->Plays().size(), 1u);
  EXPECT_TRUE(output->Events().back().stop);
  // Stop once the player is gone does nothing.
  Click(form_->SpeedButton2);
}

TEST_F(PlayerWindowTest, SecondPlayPlaysBesideTheFirstAndStopEndsOnlyIt) {
  const auto played = [&](const std::vector<std::uint8_t>& image) {
    const auto plays = output->Plays();
    return std::find(plays.begin(), plays.end(), image) != plays.end();
  };
  const std::vector<std::uint8_t> d1 = VoiceImage(587, 925);
  const std::vector<std::uint8_t> e1 = VoiceImage(659, 925);
  const std::vector<std::uint8_t> f1 = VoiceImage(698, 925);
  PressPlay("1c1 1d1", "240");
  const std::shared_ptr<PlayerControl> first = form_->PlayerThread;
  PressPlay("1e1 1f1", "240");
  // Stop once the second player sounds its first note.
  ASSERT_TRUE(WaitUntil([&] { return played(e1); }));
  Click(form_->SpeedButton2);
  ASSERT_TRUE(WaitUntil([&] { return first->Finished() && PlayerFinished(); }));
  // The first plays both its notes, the second only the one in progress.
  EXPECT_TRUE(played(d1));
  EXPECT_FALSE(played(f1));
}

TEST_F(PlayerWindowTest, ClosingTheWindowDuringPlaybackLeavesNoThread) {
  PressPlay("1c1 1d1", "30");  // whole notes of 7.4 s
  PressPlay("1e1 1f1", "30");  // a second player beside the first
  ASSERT_TRUE(WaitUntil([&] { return output->Plays().size() == 2; }));
  const auto start = std::chrono::steady_clock::now();
  form_->Close();
  form_.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(TThread::RunningSelfFreeingThreads(), 0);
  EXPECT_EQ(TToneGen::InstanceCount(), 0);
  EXPECT_EQ(output->Plays().size(), 2u);
  EXPECT_TRUE(output->Events().back().stop);
}

TEST_F(PlayerWindowTest, EmptyTempoShowsTheErrorBoxAndPlaysNothing) {
  std::vector<std::string> shown;
  TApplication::Instance().SetErrorBox(
      [&](const std::string&, const std::string& text) {
        shown.push_back(text);
      });
  PressPlay("4c1", "");
  ASSERT_EQ(form_->Edit3->Text(), "");
  EXPECT_EQ(shown,
            std::vector<std::string>{"'' is not a valid integer value."});
  // The player that never started is gone already, generator and all.
  EXPECT_EQ(TToneGen::InstanceCount(), 1);  // ToneGen1
  EXPECT_TRUE(output->Plays().empty());
  Click(form_->SpeedButton2);
  TApplication::Instance().SetErrorBox(
      [](const std::string& caption, const std::string& text) {
        ADD_FAILURE() << "unexpected error box '" << caption << "': " << text;
      });
}

}  // namespace
}  // namespace quillora
