#include "sound/note_frequency.h"

#include <gtest/gtest.h>

#include <ostream>

namespace quillora {
namespace {

struct NoteCase {
  const char* name;
  std::string_view text;
  std::int32_t frequency;
  std::int32_t octaveAfter;  // from a starting octave of 4
  // Test output names the row, not its bytes.
  friend void PrintTo(const NoteCase& c, std::ostream* os) { *os << c.name; }
};

class ParseNoteFrequencyTest : public testing::TestWithParam<NoteCase> {};

TEST_P(ParseNoteFrequencyTest, GivesFrequencyAndOctave) {
  std::int32_t octave = 4;
  EXPECT_EQ(ParseNoteFrequency(GetParam().text, octave), GetParam().frequency);
  EXPECT_EQ(octave, GetParam().octaveAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, ParseNoteFrequencyTest,
    testing::Values(
        NoteCase{"a", "A", 440, 4}, NoteCase{"lower_case", "a", 440, 4},
        NoteCase{"blanks_around", " \tA \r\n", 440, 4},
        NoteCase{"c_above_a", "C", 523, 4}, NoteCase{"sharp", "A#", 466, 4},
        NoteCase{"plus_sharp", "A+", 466, 4}, NoteCase{"b_flat", "B-", 466, 4},
        NoteCase{"a_flat_is_g_sharp_below", "A-", 415, 3},
        NoteCase{"octave_prefix", "O3A", 220, 3},
        NoteCase{"octave_down", "<A", 220, 3},
        NoteCase{"two_octaves_up", ">>A", 1760, 6},
        NoteCase{"down_stops_at_zero", "<<<<<A", 28, 0},
        NoteCase{"up_stops_at_nine", ">>>>>>>A", 14080, 9},
        NoteCase{"octave_zero", "O0A", 28, 0},
        NoteCase{"highest", "O9D#", 19912, 9},
        // Valid, but above 20000 Hz: no frequency, yet the octave is taken.
        NoteCase{"too_high", "O9E", 0, 9},
        NoteCase{"note_number", "N48", 440, 4},
        NoteCase{"note_zero", "N0", 28, 4},
        NoteCase{"note_number_too_high", "N121", 0, 4},
        NoteCase{"note_number_out_of_range", "N122", 0, 4},
        NoteCase{"note_number_negative", "N-1", 0, 4},
        NoteCase{"lone_n", "N", 0, 4}, NoteCase{"n_not_a_number", "N4x", 0, 4},
        NoteCase{"b_sharp", "B#", 0, 4}, NoteCase{"e_sharp", "E+", 0, 4},
        NoteCase{"c_flat", "C-", 0, 4}, NoteCase{"f_flat", "F-", 0, 4},
        NoteCase{"no_such_letter", "H", 0, 4},
        NoteCase{"two_letters", "AB", 0, 4},
        NoteCase{"digit_after_note", "A#5", 0, 4},
        NoteCase{"o_without_digit", "OXA", 0, 4},
        NoteCase{"o_ends_the_text", "O", 0, 4},
        NoteCase{"prefix_without_letter", "O3", 0, 4},
        NoteCase{"a_flat_below_zero", "O0A-", 0, 4},
        NoteCase{"empty", "", 0, 4}, NoteCase{"both_prefixes", "O3<A", 0, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseNoteFrequencyMemoryTest, NoteWithoutOctaveTakesTheOneBefore) {
  std::int32_t octave = 4;
  EXPECT_EQ(ParseNoteFrequency("O3A", octave), 220);
  EXPECT_EQ(ParseNoteFrequency("A", octave), 220);
  EXPECT_EQ(ParseNoteFrequency(">A", octave), 440);
  EXPECT_EQ(ParseNoteFrequency("H", octave), 0);  // invalid: memory kept
  EXPECT_EQ(octave, 4);
}

}  // namespace
}  // namespace quillora
