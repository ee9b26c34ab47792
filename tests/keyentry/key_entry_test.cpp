// The key entry's steps, in order, against a recording view: START, PAUSE,
// STOP, the ticks, every transition of the state table and the failures.
#include "keyentry/key_entry.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "keyentry/key_entry_state.h"
#include "recording_view.h"

namespace quillora {
namespace {

using testing_support::RecordingSleeper;
using testing_support::RecordingView;
using Log = std::vector<std::string>;

class KeyEntryTest : public testing::Test {
 protected:
  KeyEntryState State() const {
    return KeyEntryStateOf(keyString_, view_.timerEnabled);
  }
  // Puts the entry into `state` with two keys left where keys are left.
  void Enter(KeyEntryState state) {
    const bool keysLeft =
        state == KeyEntryState::kRunning || state == KeyEntryState::kPaused;
    keyString_ = keysLeft ? "12" : "";
    view_.timerEnabled =
        state == KeyEntryState::kRunning || state == KeyEntryState::kEnding;
  }

  RecordingView view_;
  RecordingSleeper sleeper_{view_};
  std::string keyString_;
  KeyEntry entry_{view_, keyString_, sleeper_};
};

TEST_F(KeyEntryTest, StartBuildsTheKeysThenRunsTheTimerAndShowsTheGauge) {
  view_.keyList = "1, 2#,  0, 5, ";
  view_.estimate = "Est. time: 01:23";
  entry_.Start();
  EXPECT_EQ(keyString_, "12#05");
  EXPECT_EQ(view_.log, (Log{"status 'START'", "interval 2000", "timer on",
                            "show estimate", "gauge 0..5", "show gauge"}));
  // The estimate keeps its last text until the first tick.
  EXPECT_EQ(view_.estimate, "Est. time: 01:23");
}

TEST_F(KeyEntryTest, KeyTickReleasesWaitsThenLightsBeepsCountsAndEstimates) {
  keyString_ = "2#";
  view_.timerEnabled = true;
  entry_.Tick();
  EXPECT_EQ(keyString_, "#");
  EXPECT_EQ(view_.log, (Log{"unlit", "repaint", "wait 100", "status '2'",
                            "light 1", "repaint", "tone 1000/200", "play",
                            "gauge +1", "estimate Est. time: 00:02"}));
}

TEST_F(KeyEntryTest, EndTickSoundsTheClosingSignalThenPutsTheDisplayAway) {
  view_.timerEnabled = true;
  view_.gaugeVisible = view_.estimateVisible = true;
  entry_.Tick();
  EXPECT_EQ(view_.log, (Log{"tone 1000/200", "play", "wait 200",
                            "tone 2000/400", "play", "wait 400", "hide gauge",
                            "hide estimate", "timer off", "unlit", "repaint",
                            "wait 100", "status ''", "repaint", "tone 1000/200",
                            "play", "gauge +1", "estimate Est. time: 00:00"}));
  EXPECT_EQ(State(), KeyEntryState::kIdle);
}

TEST_F(KeyEntryTest, WithBeepsOffNothingSoundsAndOnlyTheReleaseWaits) {
  view_.beepsOn = false;
  keyString_ = "1";
  view_.timerEnabled = true;
  entry_.Tick();
  entry_.Tick();
  EXPECT_TRUE(view_.beeps.empty());
  EXPECT_EQ(sleeper_.waits, (std::vector<std::int64_t>{100, 100}));
  // The generator is still set up for the key beep, only not played.
  EXPECT_EQ(view_.toneFrequency, 1000);
  EXPECT_EQ(view_.toneDuration, 200);
}

TEST_F(KeyEntryTest, StartWithAnErrorShowsItAndTouchesNothingElse) {
  Enter(KeyEntryState::kPaused);
  view_.gaugeVisible = view_.estimateVisible = true;
  view_.keyList = "1, ERROR, 5, ";
  entry_.Start();
  EXPECT_EQ(view_.log, Log{"status 'ERROR'"});
  EXPECT_EQ(keyString_, "");
  // Left on show: nothing hides them until the next START or STOP.
  EXPECT_TRUE(view_.gaugeVisible);
  EXPECT_TRUE(view_.estimateVisible);
}

TEST_F(KeyEntryTest, ErrorIsFoundCaseSensitively) {
  view_.keyList = "1, error, ";
  entry_.Start();
  EXPECT_EQ(view_.status, "START");
  EXPECT_EQ(keyString_, "1error");
}

TEST_F(KeyEntryTest, EmptySecondsAtStartFailAfterKeysAndStatusBeforeTheTimer) {
  view_.keyList = "1, 2, ";
  view_.secondsPerKey = "";
  view_.timerInterval = 3000;
  try {
    entry_.Start();
    FAIL() << "no failure";
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "'' is not a valid integer value");
  }
  EXPECT_EQ(keyString_, "12");
  EXPECT_EQ(view_.log, Log{"status 'START'"});
  EXPECT_EQ(view_.timerInterval, 3000);
  // With the timer off and keys left the entry now stands paused.
  EXPECT_EQ(State(), KeyEntryState::kPaused);
}

TEST_F(KeyEntryTest, EmptySecondsAtATickFailAfterTheKeyIsShownAndCounted) {
  keyString_ = "12";
  view_.timerEnabled = true;
  view_.secondsPerKey = "";
  view_.estimate = "Est. time: 00:04";
  EXPECT_THROW(entry_.Tick(), std::invalid_argument);
  EXPECT_EQ(view_.status, "1");
  EXPECT_EQ(view_.keypad, KeypadKey::k1);
  EXPECT_EQ(view_.beeps.size(), 1u);
  EXPECT_EQ(view_.gaugeProgress, 1);
  EXPECT_EQ(view_.estimate, "Est. time: 00:04");
  // The ticks go on.
  EXPECT_EQ(State(), KeyEntryState::kRunning);
}

TEST_F(KeyEntryTest, PauseSwitchesTheTimerAndWritesPauseOnlyWhenStopping) {
  Enter(KeyEntryState::kRunning);
  view_.status = "1";
  entry_.Pause();
  EXPECT_EQ(view_.log, (Log{"timer off", "status 'PAUSE'"}));
  view_.log.clear();
  view_.status = "";
  entry_.Pause();
  EXPECT_EQ(view_.log, Log{"timer on"});
  EXPECT_EQ(view_.status, "");
}

TEST_F(KeyEntryTest, StopHidesTheDisplayAndEmptiesTheKeysButLeavesTheTimer) {
  Enter(KeyEntryState::kRunning);
  entry_.Stop();
  EXPECT_EQ(view_.log, (Log{"hide gauge", "hide estimate", "status 'STOP'"}));
  EXPECT_EQ(keyString_, "");
  EXPECT_TRUE(view_.timerEnabled);
}

// ---- The state table: every transition from every state.

enum class Event { kStart, kStartEmpty, kStartError, kTick, kPause, kStop };

struct Transition {
  const char* name;
  KeyEntryState from;
  Event event;
  KeyEntryState to;
  // For ticks: the keys left before the tick (default: two).
  const char* keys = nullptr;
};
void PrintTo(const Transition& t, std::ostream* os) { *os << t.name; }

class StateTable : public KeyEntryTest,
                   public testing::WithParamInterface<Transition> {};

TEST_P(StateTable, EventLeadsToItsState) {
  const Transition& t = GetParam();
  Enter(t.from);
  if (t.keys) keyString_ = t.keys;
  switch (t.event) {
    case Event::kStart:
      view_.keyList = "1, 2, ";
      entry_.Start();
      break;
    case Event::kStartEmpty:
      view_.keyList = "";
      entry_.Start();
      break;
    case Event::kStartError:
      view_.keyList = "1, ERROR, ";
      entry_.Start();
      break;
    case Event::kTick:
      entry_.Tick();
      break;
    case Event::kPause:
      entry_.Pause();
      break;
    case Event::kStop:
      entry_.Stop();
      break;
  }
  EXPECT_EQ(KeyEntryStateName(State()), KeyEntryStateName(t.to));
}

using S = KeyEntryState;
INSTANTIATE_TEST_SUITE_P(
    Transitions, StateTable,
    testing::Values(
        Transition{"IdleStart", S::kIdle, Event::kStart, S::kRunning},
        Transition{"RunningStart", S::kRunning, Event::kStart, S::kRunning},
        Transition{"PausedStart", S::kPaused, Event::kStart, S::kRunning},
        Transition{"EndingStart", S::kEnding, Event::kStart, S::kRunning},
        Transition{"IdleStartEmpty", S::kIdle, Event::kStartEmpty, S::kEnding},
        Transition{"PausedStartEmpty", S::kPaused, Event::kStartEmpty,
                   S::kEnding},
        Transition{"RunningStartError", S::kRunning, Event::kStartError,
                   S::kEnding},
        Transition{"EndingStartError", S::kEnding, Event::kStartError,
                   S::kEnding},
        Transition{"IdleStartError", S::kIdle, Event::kStartError, S::kIdle},
        Transition{"PausedStartError", S::kPaused, Event::kStartError,
                   S::kIdle},
        Transition{"RunningTickLastKey", S::kRunning, Event::kTick, S::kEnding,
                   "5"},
        Transition{"RunningTickOtherKey", S::kRunning, Event::kTick,
                   S::kRunning, "50"},
        Transition{"EndingTick", S::kEnding, Event::kTick, S::kIdle},
        Transition{"RunningPause", S::kRunning, Event::kPause, S::kPaused},
        Transition{"PausedPause", S::kPaused, Event::kPause, S::kRunning},
        Transition{"IdlePause", S::kIdle, Event::kPause, S::kIdle},
        Transition{"EndingPause", S::kEnding, Event::kPause, S::kEnding},
        Transition{"RunningStop", S::kRunning, Event::kStop, S::kEnding},
        Transition{"EndingStop", S::kEnding, Event::kStop, S::kEnding},
        Transition{"PausedStop", S::kPaused, Event::kStop, S::kIdle},
        Transition{"IdleStop", S::kIdle, Event::kStop, S::kIdle}),
    [](const testing::TestParamInfo<Transition>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace quillora
