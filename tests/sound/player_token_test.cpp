#include "sound/player_token.h"

#include <gtest/gtest.h>

namespace quillora {
namespace {

constexpr auto kNote = PlayerTokenKind::kNote;
constexpr auto kRest = PlayerTokenKind::kRest;

struct TokenCase {
  const char* name;
  std::string_view token;
  std::int32_t tempo;
  PlayerTokenKind kind;
  std::int32_t frequency;
  float length;
  std::int32_t wait;
};

void PrintTo(const TokenCase& c, std::ostream* out) { *out << c.name; }

class ReadPlayerTokenTest : public testing::TestWithParam<TokenCase> {};

TEST_P(ReadPlayerTokenTest, GivesPitchAndLength) {
  const TokenCase& c = GetParam();
  const PlayerToken token = ReadPlayerToken(c.token, c.tempo);
  EXPECT_EQ(token.kind, c.kind);
  EXPECT_EQ(token.frequency, c.frequency);
  EXPECT_FLOAT_EQ(token.length, c.length);
  EXPECT_EQ(token.waitMilliseconds, c.wait);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, ReadPlayerTokenTest,
    testing::Values(
        // Lengths: W = 60 / (tempo div 4) s, times 925 / d ms.
        TokenCase{"quarter_at_120", "4c1", 120, kNote, 523, 462.5f, 462},
        TokenCase{"eighth_at_120", "8c1", 120, kNote, 523, 231.25f, 231},
        TokenCase{"whole_at_120", "1c1", 120, kNote, 523, 1850.0f, 1850},
        TokenCase{"third_at_120", "3c1", 120, kNote, 523, 616.6667f, 616},
        TokenCase{"quarter_at_123_as_120", "4c1", 123, kNote, 523, 462.5f, 462},
        TokenCase{"quarter_at_100", "4c1", 100, kNote, 523, 555.0f, 555},
        TokenCase{"quarter_at_90", "4c1", 90, kNote, 523, 630.68182f, 630},
        // W is single precision, so the whole note falls just short of 500.
        TokenCase{"whole_at_444", "1c1", 444, kNote, 523, 499.99997f, 499},
        TokenCase{"thirty_second_at_899", "32c1", 899, kNote, 523, 7.7427454f,
                  7},
        TokenCase{"whole_at_4", "1c1", 4, kNote, 523, 55500.0f, 55500},
        TokenCase{"leading_zero_length", "08c1", 120, kNote, 523, 231.25f, 231},
        TokenCase{"huge_length_number", "2147483647c1", 120, kNote, 523,
                  8.6147338e-7f, 0},
        // Pitches.
        TokenCase{"a1", "8a1", 120, kNote, 880, 231.25f, 231},
        TokenCase{"a2", "8a2", 120, kNote, 1760, 231.25f, 231},
        TokenCase{"a3", "8a3", 120, kNote, 3520, 231.25f, 231},
        TokenCase{"octave_4", "8a4", 120, kNote, 7040, 231.25f, 231},
        TokenCase{"octave_5_is_1", "8a5", 120, kNote, 880, 231.25f, 231},
        TokenCase{"octave_8_is_4", "8c8", 120, kNote, 4186, 231.25f, 231},
        TokenCase{"octave_9_is_5", "8a9", 120, kNote, 14080, 231.25f, 231},
        TokenCase{"octave_0_is_1", "8a0", 120, kNote, 880, 231.25f, 231},
        TokenCase{"highest_note", "8b9", 120, kNote, 15804, 231.25f, 231},
        TokenCase{"sharp_after", "8c#2", 120, kNote, 1108, 231.25f, 231},
        TokenCase{"sharp_before", "8#c2", 120, kNote, 1108, 231.25f, 231},
        TokenCase{"upper_case", "8G#3", 120, kNote, 3322, 231.25f, 231},
        TokenCase{"no_length_is_eighth", "c2", 120, kNote, 1046, 231.25f, 231},
        TokenCase{"no_octave_is_1", "8c", 120, kNote, 523, 231.25f, 231},
        TokenCase{"only_one_octave_sign", "8c2x", 120, kNote, 1046, 231.25f,
                  231},
        // Rests: the sign right after the name.
        TokenCase{"dash", "4-", 120, kRest, 0, 462.5f, 462},
        TokenCase{"p", "4p", 120, kRest, 0, 462.5f, 462},
        TokenCase{"capital_p", "4P", 120, kRest, 0, 462.5f, 462},
        TokenCase{"note_then_dash", "4c-", 120, kRest, 0, 462.5f, 462},
        TokenCase{"dash_then_octave", "4-2", 120, kRest, 0, 462.5f, 462},
        // Names the table does not know are rests, never a pitch.
        TokenCase{"digits_only", "16", 120, kRest, 0, 115.625f, 115},
        TokenCase{"sharp_alone", "8#2", 120, kRest, 0, 231.25f, 231},
        TokenCase{"h", "8h2", 120, kRest, 0, 231.25f, 231},
        TokenCase{"e_sharp", "8e#2", 120, kRest, 0, 231.25f, 231},
        // The name runs to the first digit, '.' or rest sign, so "cx" is the
        // name here, and with nothing after it the octave is 1.
        TokenCase{"letter_after_name", "8cx", 120, kRest, 0, 231.25f, 231}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadPlayerTokenFaults, TakeNoTimeAndNoPitch) {
  for (std::string_view token : {"8c.", "8c.2", "0c2", "00c2", "0-",
                                 "2147483648c2", "99999999999c2", "8h."}) {
    EXPECT_EQ(ReadPlayerToken(token, 120), PlayerToken{}) << token;
  }
}

TEST(PlayerTempo, OutOfRangeTemposPlayAt120) {
  for (std::int32_t tempo : {0, 1, 2, 3, -5, 900, 5000}) {
    EXPECT_EQ(PlayerTempo(tempo), 120) << tempo;
  }
  for (std::int32_t tempo : {4, 120, 899}) {
    EXPECT_EQ(PlayerTempo(tempo), tempo) << tempo;
  }
  // A tempo that was not taken through PlayerTempo still never divides by 0.
  EXPECT_EQ(ReadPlayerToken("4c1", 2).waitMilliseconds, 462);
}

}  // namespace
}  // namespace quillora
