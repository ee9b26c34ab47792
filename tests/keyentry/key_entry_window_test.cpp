// The key entry and the phone display in the real main window (offscreen):
// the buttons clicked, the key timer's ticks and the clock's ticks driven
// by the test, the waits recorded instead of waited, and every beep taken
// from a recording sound output and measured from its WAV image.
#include <gtest/gtest.h>

#include <QTest>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "keyentry/display_texts.h"
#include "keyentry/key_string.h"
#include "recording_output.h"
#include "resources/resources.h"
#include "sound/wav_image.h"
#include "toolkit/application.h"

namespace quillora {
namespace {

using testing_support::RecordingOutput;

// A beep as heard: the tone's frequency counted from its samples, its
// length from the image's size.
struct Beep {
  double frequencyHz;
  double durationMs;
  PlayMode mode;
};

// Frequency of the first channel: rising crossings of the middle line,
// with a margin against the quiet tail, over the time they span.
double MeasuredFrequency(const WavFormat& format) {
  const std::uint32_t frameSize = format.FrameSize();
  std::vector<double> samples;
  for (std::size_t at = 0; at + frameSize <= format.samples.size();
       at += frameSize) {
    if (format.bitsPerSample == 8) {
      samples.push_back(format.samples[at] - 128.0);
    } else {
      samples.push_back(static_cast<std::int16_t>(format.samples[at] |
                                                  format.samples[at + 1] << 8));
    }
  }
  double peak = 0;
  for (double s : samples) peak = std::max(peak, std::abs(s));
  const double margin = peak / 10;
  bool below = false;
  std::vector<std::size_t> rises;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (samples[i] < -margin) below = true;
    if (below && samples[i] > margin) {
      rises.push_back(i);
      below = false;
    }
  }
  if (rises.size() < 2) return 0;
  return (rises.size() - 1) * double(format.sampleRate) /
         double(rises.back() - rises.front());
}

std::vector<Beep> Heard(const RecordingOutput& output) {
  std::vector<Beep> beeps;
  for (const RecordingOutput::PlayCall& call : output.plays) {
    const std::optional<WavFormat> format = ReadWavFormat(call.image);
    if (!format) {
      ADD_FAILURE() << "a play of something that is no WAV image";
      continue;
    }
    beeps.push_back({MeasuredFrequency(*format),
                     format->FrameCount() * 1000.0 / format->sampleRate,
                     call.mode});
  }
  return beeps;
}

// Checks `heard` against (frequency, length) pairs, in order.
void ExpectBeeps(const std::vector<Beep>& heard,
                 const std::vector<std::pair<int, int>>& expected) {
  ASSERT_EQ(heard.size(), expected.size());
  for (std::size_t i = 0; i < heard.size(); ++i) {
    EXPECT_NEAR(heard[i].frequencyHz, expected[i].first,
                expected[i].first * 0.02)
        << "beep " << i;
    EXPECT_NEAR(heard[i].durationMs, expected[i].second, 1) << "beep " << i;
    // Played once, returning at once.
    EXPECT_EQ(heard[i].mode, PlayMode::kAsync) << "beep " << i;
  }
}

// Waits for nothing; notes each wait and the keypad picture during it.
class RecordingSleeper : public Sleeper {
 public:
  void SleepMilliseconds(std::int64_t milliseconds) override {
    waits.push_back(milliseconds);
    keypadDuringWait.push_back(keypad ? keypad->Picture().copy() : QImage());
  }
  TImage* keypad = nullptr;
  std::vector<std::int64_t> waits;
  std::vector<QImage> keypadDuringWait;
};

class FixedClock : public TimeOfDaySource {
 public:
  TimeOfDay Now() override { return now; }
  TimeOfDay now{12, 34};
};

enum class State { kIdle, kRunning, kPaused, kEnding };

class KeyEntryWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitQuilloraResources();
    // Before the first window: its tone generator takes the output it finds.
    if (!output_) {
      auto output = std::make_unique<RecordingOutput>();
      output_ = output.get();
      InstallSoundOutput(std::move(output));
    }
  }

  KeyEntryWindowTest() {
    KeyString.clear();
    RegisterProgramClasses(registry_);
    form_ = std::make_unique<TForm1>(nullptr, registry_);
    form_->ShowForm();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_->Widget()));
    // The clock's ticks come from the test alone.
    form_->Timer1->SetEnabled(false);
    sleeper_.keypad = form_->Image2;
    form_->SetKeyEntrySleeper(sleeper_);
    form_->SetTimeOfDaySource(clock_);
    output_->plays.clear();
    TApplication::Instance().SetErrorBox(
        [this](const std::string& caption, const std::string& text) {
          errors_.push_back(caption + ": " + text);
        });
  }

  ~KeyEntryWindowTest() override {
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    TApplication::Instance().SetErrorBox(
        [](const std::string& caption, const std::string& text) {
          ADD_FAILURE() << "unexpected error box '" << caption << "': " << text;
        });
  }

  void Click(TSpeedButton* button) {
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
  }
  void Start() { Click(form_->SpeedButton7); }
  void Pause() { Click(form_->SpeedButton9); }
  void Stop() { Click(form_->SpeedButton8); }
  // One tick of each timer, as the timers deliver them.
  void Tick() {
    RunHandler([this] { form_->Timer2->OnTimer(*form_->Timer2); });
  }
  void ClockTick() {
    RunHandler([this] { form_->Timer1->OnTimer(*form_->Timer1); });
  }

  std::string Status() const { return form_->Label4->Caption(); }
  std::string Estimate() const { return form_->Label5->Caption(); }
  bool GaugeShown() const { return form_->CGauge1->Widget()->isVisible(); }
  bool EstimateShown() const { return form_->Label5->Widget()->isVisible(); }
  bool KeypadShows(const TImage* picture) const {
    return form_->Image2->Picture() == picture->Picture();
  }
  State EntryState() const {
    const bool on = form_->Timer2->Enabled();
    if (KeyString.empty()) return on ? State::kEnding : State::kIdle;
    return on ? State::kRunning : State::kPaused;
  }
  void EnterState(State state) {
    switch (state) {
      case State::kIdle:
        break;
      case State::kRunning:
        form_->Memo2->SetText("1, 2, ");
        Start();
        break;
      case State::kPaused:
        form_->Memo2->SetText("1, 2, ");
        Start();
        Pause();
        break;
      case State::kEnding:
        form_->Memo2->SetText("1, ");
        Start();
        Tick();
        break;
    }
    ASSERT_EQ(EntryState(), state);
    output_->plays.clear();
    sleeper_.waits.clear();
  }

  static RecordingOutput* output_;
  ComponentRegistry registry_;
  std::unique_ptr<TForm1> form_;
  RecordingSleeper sleeper_;
  FixedClock clock_;
  std::vector<std::string> errors_;
};

RecordingOutput* KeyEntryWindowTest::output_ = nullptr;

TEST_F(KeyEntryWindowTest, WorkedExampleLightsEachKeyThenSignalsTheEnd) {
  form_->Memo2->SetText("1, 2#,  0, 5, ");
  Start();
  EXPECT_EQ(Status(), "START");
  EXPECT_TRUE(GaugeShown());
  EXPECT_TRUE(EstimateShown());
  EXPECT_EQ(form_->CGauge1->MaxValue(), 5);
  EXPECT_EQ(form_->CGauge1->Progress(), 0);
  EXPECT_TRUE(form_->Timer2->Enabled());
  EXPECT_EQ(form_->Timer2->Interval(), 2000);
  EXPECT_TRUE(output_->plays.empty()) << "the first key comes a tick later";

  struct Step {
    const char* key;
    TImage* lit;
    const char* estimate;
  };
  const Step steps[] = {
      {"1", form_->Image_1, "Est. time: 00:08"},
      {"2", form_->Image_2, "Est. time: 00:06"},
      {"#", form_->Image_rs, "Est. time: 00:04"},
      {"0", form_->Image_0, "Est. time: 00:02"},
      {"5", form_->Image_5, "Est. time: 00:00"},
  };
  int shown = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.key);
    Tick();
    ++shown;
    EXPECT_EQ(Status(), step.key);
    EXPECT_TRUE(KeypadShows(step.lit));
    EXPECT_EQ(form_->CGauge1->Progress(), shown);
    EXPECT_EQ(Estimate(), step.estimate);
    // The released keypad was in the picture through the 100 ms.
    ASSERT_EQ(sleeper_.waits.size(), 1u);
    EXPECT_EQ(sleeper_.waits[0], 100);
    EXPECT_TRUE(sleeper_.keypadDuringWait[0] == form_->Image_empty->Picture());
    ExpectBeeps(Heard(*output_), {{1000, 200}});
    sleeper_.waits.clear();
    sleeper_.keypadDuringWait.clear();
    output_->plays.clear();
  }
  EXPECT_TRUE(form_->Timer2->Enabled());

  // One interval after the last key: the closing signal, then the key beep
  // once more after the release.
  Tick();
  ExpectBeeps(Heard(*output_), {{1000, 200}, {2000, 400}, {1000, 200}});
  EXPECT_EQ(sleeper_.waits, (std::vector<std::int64_t>{200, 400, 100}));
  EXPECT_FALSE(GaugeShown());
  EXPECT_FALSE(EstimateShown());
  EXPECT_FALSE(form_->Timer2->Enabled());
  EXPECT_EQ(Status(), "");
  EXPECT_TRUE(KeypadShows(form_->Image_empty));
  EXPECT_EQ(Estimate(), "Est. time: 00:00");
  ClockTick();
  EXPECT_EQ(Status(), "ZIDIZ");
}

TEST_F(KeyEntryWindowTest, TypedMelodyGivesItsKeys) {
  form_->Memo1->Widget()->setFocus();
  QTest::keyClicks(form_->Memo1->Widget(), "4c1 4d1 8e1");
  form_->Edit2->SetText("1");
  Start();
  EXPECT_EQ(form_->Timer2->Interval(), 1000);
  std::string shown;
  for (int tick = 0; tick < 4; ++tick) {
    Tick();
    shown += Status();
  }
  EXPECT_EQ(shown, "1238");
  EXPECT_TRUE(KeypadShows(form_->Image_8));
  EXPECT_EQ(EntryState(), State::kEnding);
}

TEST_F(KeyEntryWindowTest, EmptyKeyListEndsAtTheFirstTick) {
  Start();
  EXPECT_EQ(Status(), "START");
  EXPECT_TRUE(GaugeShown());
  EXPECT_EQ(form_->CGauge1->MaxValue(), 0);
  EXPECT_EQ(EntryState(), State::kEnding);
  Tick();
  ExpectBeeps(Heard(*output_), {{1000, 200}, {2000, 400}, {1000, 200}});
  EXPECT_FALSE(GaugeShown());
  EXPECT_EQ(EntryState(), State::kIdle);
}

TEST_F(KeyEntryWindowTest, WithBeepsOffNothingSoundsAndTheEndDoesNotWait) {
  form_->CheckBox1->SetChecked(false);
  form_->Memo2->SetText("1, 2, ");
  Start();
  Tick();
  Tick();
  Tick();
  EXPECT_TRUE(output_->plays.empty());
  EXPECT_EQ(sleeper_.waits, (std::vector<std::int64_t>{100, 100, 100}));
  EXPECT_EQ(EntryState(), State::kIdle);
}

struct ErrorCase {
  const char* name;
  State from;
  State after;
};
void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class StartWithError : public KeyEntryWindowTest,
                       public testing::WithParamInterface<ErrorCase> {};

TEST_P(StartWithError, ShowsErrorAndStartsNothing) {
  EnterState(GetParam().from);
  const bool timerOn = form_->Timer2->Enabled();
  const bool gaugeShown = GaugeShown();
  form_->Memo2->SetText("1, ERROR, 5, ");
  Start();
  EXPECT_EQ(Status(), "ERROR");
  EXPECT_TRUE(KeyString.empty());
  EXPECT_EQ(form_->Timer2->Enabled(), timerOn);
  EXPECT_EQ(GaugeShown(), gaugeShown);
  EXPECT_EQ(EntryState(), GetParam().after);
  // "ERROR" outlasts the clock's tick.
  ClockTick();
  EXPECT_EQ(Status(), "ERROR");
  if (GetParam().after == State::kEnding) {
    // A run in progress ends at its next tick, closing signal included.
    Tick();
    ExpectBeeps(Heard(*output_), {{1000, 200}, {2000, 400}, {1000, 200}});
    EXPECT_EQ(EntryState(), State::kIdle);
  }
}

INSTANTIATE_TEST_SUITE_P(
    States, StartWithError,
    testing::Values(ErrorCase{"Idle", State::kIdle, State::kIdle},
                    ErrorCase{"Running", State::kRunning, State::kEnding},
                    ErrorCase{"Paused", State::kPaused, State::kIdle},
                    ErrorCase{"Ending", State::kEnding, State::kEnding}),
    [](const testing::TestParamInfo<ErrorCase>& info) {
      return std::string(info.param.name);
    });

TEST_F(KeyEntryWindowTest, PauseStopsTheKeysBlinksAndResumes) {
  Pause();
  EXPECT_EQ(Status(), "ZIDIZ") << "PAUSE before START does nothing";
  EXPECT_FALSE(form_->Timer2->Enabled());

  form_->Memo2->SetText("1, 2, 3, ");
  Start();
  Tick();
  Pause();
  EXPECT_EQ(Status(), "PAUSE");
  EXPECT_FALSE(form_->Timer2->Enabled());
  ClockTick();
  EXPECT_EQ(Status(), "");
  ClockTick();
  EXPECT_EQ(Status(), "PAUSE");
  ClockTick();
  EXPECT_EQ(Status(), "");

  Pause();
  EXPECT_TRUE(form_->Timer2->Enabled());
  EXPECT_EQ(Status(), "") << "resuming leaves the status alone";
  ClockTick();
  EXPECT_EQ(Status(), "ZIDIZ");
  Tick();
  EXPECT_EQ(Status(), "2");
  EXPECT_EQ(form_->CGauge1->Progress(), 2);
}

TEST_F(KeyEntryWindowTest, PauseAfterTheLastKeyDoesNothing) {
  EnterState(State::kEnding);
  Pause();
  EXPECT_EQ(Status(), "1");
  EXPECT_EQ(EntryState(), State::kEnding);
}

TEST_F(KeyEntryWindowTest, StopWhileRunningEndsAtTheNextTick) {
  EnterState(State::kRunning);
  Tick();
  output_->plays.clear();
  Stop();
  EXPECT_EQ(Status(), "STOP");
  EXPECT_FALSE(GaugeShown());
  EXPECT_FALSE(EstimateShown());
  EXPECT_TRUE(form_->Timer2->Enabled());
  Tick();
  ExpectBeeps(Heard(*output_), {{1000, 200}, {2000, 400}, {1000, 200}});
  EXPECT_TRUE(KeypadShows(form_->Image_empty));
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(EntryState(), State::kIdle);
  ClockTick();
  EXPECT_EQ(Status(), "ZIDIZ");
}

TEST_F(KeyEntryWindowTest, StopWhilePausedEndsWithoutAnotherTick) {
  EnterState(State::kPaused);
  Stop();
  EXPECT_EQ(Status(), "STOP");
  EXPECT_EQ(EntryState(), State::kIdle);
  ClockTick();
  EXPECT_EQ(Status(), "ZIDIZ");
  EXPECT_TRUE(output_->plays.empty());
}

TEST_F(KeyEntryWindowTest, StartAgainRestartsFromTheFirstKey) {
  form_->Memo2->SetText("1, 2, 3, ");
  Start();
  Tick();
  Tick();
  Start();
  EXPECT_EQ(KeyString, "123");
  EXPECT_EQ(form_->CGauge1->Progress(), 0);
  Tick();
  EXPECT_EQ(Status(), "1");
  EXPECT_EQ(form_->CGauge1->Progress(), 1);
}

struct LongListCase {
  const char* name;
  int keys;
  const char* estimateAfterFirst;
};
void PrintTo(const LongListCase& c, std::ostream* os) { *os << c.name; }

class LongList : public KeyEntryWindowTest,
                 public testing::WithParamInterface<LongListCase> {};

TEST_P(LongList, EstimateCountsTheKeysStillWaiting) {
  std::string keyList;
  for (int i = 0; i < GetParam().keys; ++i) keyList += "7, ";
  form_->Memo2->SetText(keyList);
  form_->Edit2->SetText("10");
  Start();
  EXPECT_EQ(form_->Timer2->Interval(), 10000);
  Tick();
  EXPECT_EQ(Estimate(), GetParam().estimateAfterFirst);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, LongList,
    testing::Values(LongListCase{"FortyKeys", 40, "Est. time: 06:30"},
                    LongListCase{"SevenHundredKeys", 700, "Est. time: 116:30"}),
    [](const testing::TestParamInfo<LongListCase>& info) {
      return std::string(info.param.name);
    });

TEST_F(KeyEntryWindowTest, NewSecondsChangeTheEstimateNotThePace) {
  form_->Memo2->SetText("1, 2, 3, ");
  Start();
  form_->Edit2->SetText("5");
  Tick();
  EXPECT_EQ(Estimate(), "Est. time: 00:10");
  EXPECT_EQ(form_->Timer2->Interval(), 2000);
}

TEST_F(KeyEntryWindowTest, EmptySecondsAtStartReportAndLeaveTheEntryPaused) {
  form_->Memo2->SetText("1, 2, ");
  form_->Edit2->SetText("");
  Start();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0],
            "Quillora (ZIDIZ Edition): '' is not a valid integer value.");
  errors_.clear();
  EXPECT_EQ(Status(), "START");
  EXPECT_EQ(KeyString, "12");
  EXPECT_FALSE(GaugeShown());
  EXPECT_EQ(EntryState(), State::kPaused);
  ClockTick();
  EXPECT_EQ(Status(), "PAUSE");
  // PAUSE starts the ticks at the interval the timer had.
  Pause();
  EXPECT_TRUE(form_->Timer2->Enabled());
  EXPECT_EQ(form_->Timer2->Interval(), 1000);
}

TEST_F(KeyEntryWindowTest, EmptySecondsAtATickReportAfterTheKeyIsShown) {
  form_->Memo2->SetText("1, 2, ");
  Start();
  Tick();
  form_->Edit2->SetText("");
  Tick();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0],
            "Quillora (ZIDIZ Edition): '' is not a valid integer value.");
  errors_.clear();
  EXPECT_EQ(Status(), "2");
  EXPECT_TRUE(KeypadShows(form_->Image_2));
  EXPECT_EQ(form_->CGauge1->Progress(), 2);
  EXPECT_EQ(Estimate(), "Est. time: 00:02");
  ExpectBeeps(Heard(*output_), {{1000, 200}, {1000, 200}});
  // The ticks go on, failing the same way.
  Tick();
  EXPECT_EQ(errors_.size(), 1u);
  errors_.clear();
  EXPECT_EQ(EntryState(), State::kIdle);
}

struct ClockCase {
  const char* name;
  TimeOfDay time;
  const char* shown;
};
void PrintTo(const ClockCase& c, std::ostream* os) { *os << c.name; }

class PhoneClock : public KeyEntryWindowTest,
                   public testing::WithParamInterface<ClockCase> {};

TEST_P(PhoneClock, ShowsHoursAndMinutes) {
  EXPECT_EQ(form_->Label3->Caption(), "00:00") << "before the first tick";
  clock_.now = GetParam().time;
  ClockTick();
  EXPECT_EQ(form_->Label3->Caption(), GetParam().shown);
  EXPECT_EQ(Status(), "ZIDIZ");
}

INSTANTIATE_TEST_SUITE_P(
    Times, PhoneClock,
    testing::Values(ClockCase{"FivePastNine", {9, 5}, "09:05"},
                    ClockCase{"QuarterPastMidnight", {0, 15}, "00:15"},
                    ClockCase{"MinuteToMidnight", {23, 59}, "23:59"}),
    [](const testing::TestParamInfo<ClockCase>& info) {
      return std::string(info.param.name);
    });

TEST_F(KeyEntryWindowTest, ClockTicksOnItsOwnEverySecond) {
  // The window's own timer and the system's time of day.
  form_->SetTimeOfDaySource(SystemTimeOfDay());
  form_->Timer1->SetEnabled(true);
  const TimeOfDay before = SystemTimeOfDay().Now();
  QTRY_VERIFY_WITH_TIMEOUT(form_->Label3->Caption() != "00:00", 3000);
  const TimeOfDay after = SystemTimeOfDay().Now();
  const std::string shown = form_->Label3->Caption();
  EXPECT_TRUE(shown == ClockText(before.hour, before.minute) ||
              shown == ClockText(after.hour, after.minute))
      << shown;
}

}  // namespace
}  // namespace quillora
