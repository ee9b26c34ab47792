// The pure rules of the key entry and the phone display: the key string,
// the lit key, the texts, the states and the status word.
#include <gtest/gtest.h>

#include <string>

#include "keyentry/display_texts.h"
#include "keyentry/key_entry_state.h"
#include "keyentry/key_string.h"
#include "keyentry/keypad_key.h"
#include "keyentry/phone_status.h"
#include "keyentry/time_of_day.h"

namespace quillora {
namespace {

struct TextCase {
  const char* name;
  std::string input;
  std::string expected;
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
std::string CaseName(const testing::TestParamInfo<TextCase>& info) {
  return info.param.name;
}

// ---- KeyString from the key list.

class KeyStringFromList : public testing::TestWithParam<TextCase> {};

TEST_P(KeyStringFromList, KeepsTheKeysInOrder) {
  EXPECT_EQ(KeyStringFromKeyList(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    KeyLists, KeyStringFromList,
    testing::Values(TextCase{"WorkedExample", "1, 2#,  0, 5, ", "12#05"},
                    TextCase{"Empty", "", ""},
                    TextCase{"OnlySeparators", " ,  , ", ""},
                    TextCase{"LengthAndOctaveKeys", "1, 2, 3, 98*, ",
                             "123"
                             "98*"},
                    // Line breaks inside are kept (only the ends are trimmed);
                    // the tick shows them as keys without a picture.
                    TextCase{"LineBreakInside", "1,\r\n2, ", "1\r\n2"},
                    TextCase{"BlanksAtTheEnds", "\t1, 2, \n", "12"}),
    CaseName);

// ---- The lit key of each shown key.

TEST(KeypadKey, EachPhoneKeyLightsItsOwnPictureInKeypadOrder) {
  const std::string keypadOrder = "123456789*0#";
  for (int i = 0; i < kKeypadKeyCount; ++i) {
    const std::string key(1, keypadOrder[i]);
    const std::optional<KeypadKey> lit = KeypadKeyFor(key);
    ASSERT_TRUE(lit.has_value()) << key;
    EXPECT_EQ(KeypadIndex(*lit), i) << key;
  }
}

TEST(KeypadKey, AnyOtherTextLightsNone) {
  for (const char* text : {"", " ", "A", "10", "ERROR", "\n", "+"}) {
    EXPECT_FALSE(KeypadKeyFor(text).has_value()) << "'" << text << "'";
  }
}

// ---- The estimate and the clock.

struct SecondsCase {
  const char* name;
  std::int64_t seconds;
  std::string expected;
};
void PrintTo(const SecondsCase& c, std::ostream* os) { *os << c.name; }

class Estimate : public testing::TestWithParam<SecondsCase> {};

TEST_P(Estimate, ShowsMinutesAndSeconds) {
  EXPECT_EQ(EstimateText(GetParam().seconds), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Times, Estimate,
    testing::Values(
        SecondsCase{"Nothing", 0, "Est. time: 00:00"},
        SecondsCase{"Seconds", 8, "Est. time: 00:08"},
        SecondsCase{"FortyKeysAtTen", 39 * 10, "Est. time: 06:30"},
        SecondsCase{"LastTwoDigitMinute", 99 * 60 + 59, "Est. time: 99:59"},
        SecondsCase{"ThreeDigitMinutes", 100 * 60, "Est. time: 100:00"},
        SecondsCase{"SevenHundredKeysAtTen", 699 * 10, "Est. time: 116:30"},
        SecondsCase{"Huge", 4'000'000'000LL, "Est. time: 66666666:40"}),
    [](const testing::TestParamInfo<SecondsCase>& info) {
      return std::string(info.param.name);
    });

TEST(Clock, TwoDigitsForHourAndMinute) {
  EXPECT_EQ(ClockText(9, 5), "09:05");
  EXPECT_EQ(ClockText(0, 15), "00:15");
  EXPECT_EQ(ClockText(23, 59), "23:59");
  EXPECT_EQ(ClockText(0, 0), "00:00");
}

TEST(Clock, SystemTimeIsTheLocalTimeOfDay) {
  // Read on both sides of the system clock, so that a minute turning over
  // in between does not fail the test.
  const auto localNow = [] {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return TimeOfDay{local.tm_hour, local.tm_min};
  };
  const TimeOfDay before = localNow();
  const TimeOfDay read = SystemTimeOfDay().Now();
  const TimeOfDay after = localNow();
  const auto same = [](TimeOfDay a, TimeOfDay b) {
    return a.hour == b.hour && a.minute == b.minute;
  };
  EXPECT_TRUE(same(read, before) || same(read, after))
      << read.hour << ":" << read.minute;
}

// ---- The four states.

TEST(KeyEntryStates, ReadFromTheKeysLeftAndTheTimer) {
  EXPECT_EQ(KeyEntryStateOf("", false), KeyEntryState::kIdle);
  EXPECT_EQ(KeyEntryStateOf("12", true), KeyEntryState::kRunning);
  EXPECT_EQ(KeyEntryStateOf("12", false), KeyEntryState::kPaused);
  EXPECT_EQ(KeyEntryStateOf("", true), KeyEntryState::kEnding);
  EXPECT_TRUE(IsKeyEntryPaused("1", false));
  EXPECT_FALSE(IsKeyEntryPaused("", false));
  EXPECT_FALSE(IsKeyEntryPaused("1", true));
}

// ---- The status word at each clock tick.

struct StatusCase {
  const char* name;
  std::string status;
  bool paused;
  std::string expected;
};
void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }

class PhoneStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(PhoneStatus, FollowsTheClockTick) {
  EXPECT_EQ(NextPhoneStatus(GetParam().status, GetParam().paused),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Words, PhoneStatus,
    testing::Values(
        StatusCase{"PausedPauseBlinksOff", "PAUSE", true, ""},
        StatusCase{"PausedEmptyBlinksOn", "", true, "PAUSE"},
        StatusCase{"PausedKeyGivesPause", "5", true, "PAUSE"},
        StatusCase{"PausedStartGivesPause", "START", true, "PAUSE"},
        StatusCase{"BlankFallsBack", " ", false, "ZIDIZ"},
        StatusCase{"StopFallsBack", "STOP", false, "ZIDIZ"},
        StatusCase{"EmptyFallsBack", "", false, "ZIDIZ"},
        StatusCase{"KeyStays", "#", false, "#"},
        StatusCase{"StartStays", "START", false, "START"},
        StatusCase{"ErrorStays", "ERROR", false, "ERROR"},
        StatusCase{"PauseStaysAfterResume", "PAUSE", false, "PAUSE"},
        StatusCase{"IdleStays", "ZIDIZ", false, "ZIDIZ"},
        // Exact and case-sensitive.
        StatusCase{"LowerCaseStopStays", "stop", false, "stop"},
        StatusCase{"TwoBlanksStay", "  ", false, "  "},
        StatusCase{"LowerCasePauseBlinksOn", "pause", true, "PAUSE"}),
    [](const testing::TestParamInfo<StatusCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace quillora
