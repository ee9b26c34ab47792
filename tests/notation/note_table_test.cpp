#include "notation/note_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace quillora {
namespace {

// The tokens a user typically writes and what each leaves in its entry.
// Fields that the parse did not reach hold the unparsed markers.
struct TokenCase {
  const char* name;
  std::string_view token;
  NoteEntry expected;
  // Test output names the row, not its bytes.
  friend void PrintTo(const TokenCase& c, std::ostream* os) { *os << c.name; }
};

class ParseNoteTokenTest : public testing::TestWithParam<TokenCase> {};

TEST_P(ParseNoteTokenTest, FillsTheEntry) {
  NoteEntry entry{99, 99, 99};
  ParseNoteToken(GetParam().token, entry);
  EXPECT_EQ(entry.Duration, GetParam().expected.Duration);
  EXPECT_EQ(entry.Semitone, GetParam().expected.Semitone);
  EXPECT_EQ(entry.Octave, GetParam().expected.Octave);
}

constexpr std::int32_t kNoOctave = kUnparsedOctave;

INSTANTIATE_TEST_SUITE_P(
    Tokens, ParseNoteTokenTest,
    testing::Values(
        TokenCase{"eighth_c2", "8c2", {8, 0, 2}},
        TokenCase{"upper_case_name", "8C2", {8, 0, 2}},
        TokenCase{"sharp_before", "16#f1", {16, 6, 1}},
        TokenCase{"sharp_after", "4A#3", {4, 10, 3}},
        TokenCase{"sharp_after_lower", "4a#3", {4, 10, 3}},
        TokenCase{"sharp_before_a", "4#a3", {4, 10, 3}},
        TokenCase{"octave_6_is_2", "2g6", {2, 7, 2}},
        TokenCase{"octave_7_is_3", "8c7", {8, 0, 3}},
        TokenCase{"octave_4_stays", "8c4", {8, 0, 4}},
        TokenCase{"octave_0_stays", "8c0", {8, 0, 0}},
        TokenCase{"octave_9_is_5", "3c9", {3, 0, 5}},
        TokenCase{"pause_dash", "4-", {4, -1, 0}},
        TokenCase{"pause_p", "8p", {8, -1, 0}},
        TokenCase{"pause_upper_p", "4P", {4, -1, 0}},
        TokenCase{"pause_sign_with_octave", "4-2", {4, -1, 2}},
        TokenCase{"unknown_name", "4h2", {4, -1, 2}},
        TokenCase{"leading_zero_length", "08c2", {8, 0, 2}},
        TokenCase{"zero_length", "0c2", {0, 0, 2}},
        // Digits only: the digits are read again as the octave.
        TokenCase{"digits_only_32", "32", {32, -1, 28}},
        TokenCase{"digits_only_16", "16", {16, -1, 12}},
        // Parses that end early.
        TokenCase{"no_octave", "8c", {8, 0, kNoOctave}},
        TokenCase{"octave_not_a_number", "8c2x", {8, 0, kNoOctave}},
        TokenCase{"dot_before_octave", "8c.2", {8, 0, kNoOctave}},
        TokenCase{"two_lines_joined", "8c28d2", {8, 0, kNoOctave}},
        TokenCase{"no_length",
                  "c2",
                  {kUnparsedDuration, kUnparsedSemitone, kNoOctave}},
        TokenCase{"length_beyond_32_bits",
                  "99999999999c2",
                  {kUnparsedDuration, kUnparsedSemitone, kNoOctave}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseNoteTokenTest, FailedParseDoesNotInheritAnEarlierNote) {
  auto table = std::make_unique<NoteTable>();
  NoteEntry& entry = table->entries[0];
  for (std::string_view failing : {"8c", "c2", "8c2x", "99999999999c2"}) {
    ParseNoteToken("16#g3", entry);
    ASSERT_EQ(entry, (NoteEntry{16, 8, 3}));
    ParseNoteToken(failing, entry);
    EXPECT_NE(entry.Octave, 3) << failing;
    EXPECT_GE(entry.Octave, 1) << failing << " must not read as a pause";
  }
}

TEST(ProgramNoteTableTest, StartsZeroedWithRoomForTenThousandNotes) {
  const NoteTable& table = ProgramNoteTable();
  EXPECT_EQ(&table, &ProgramNoteTable());
  EXPECT_EQ(table.entries.size(), 10000u);
  EXPECT_EQ(table.NoteCount, 0);
  for (const NoteEntry& entry : table.entries) {
    ASSERT_EQ(entry, (NoteEntry{0, 0, 0}));
  }
}

TEST(ProgramNoteTableTest, IndexOutsideTheTableIsIgnored) {
  ParseNoteToken("8c2", 9999);
  EXPECT_EQ(ProgramNoteTable().entries[9999], (NoteEntry{8, 0, 2}));
  ParseNoteToken("8c2", 10000);  // must not write anywhere
  ParseNoteToken("8c2", -1);
  ProgramNoteTable().entries[9999] = {};
}

}  // namespace
}  // namespace quillora
