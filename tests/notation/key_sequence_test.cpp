#include "notation/key_sequence.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace quillora {
namespace {

// A fresh table per test, so that no test sees another's entries.
class KeySequenceTest : public testing::Test {
 protected:
  KeySequence Generate(std::string_view melody) {
    return GenerateKeySequence(melody, *table_);
  }
  std::unique_ptr<NoteTable> table_ = std::make_unique<NoteTable>();
};

struct MelodyCase {
  const char* name;
  std::string_view melody;
  std::int32_t noteCount;
  std::string_view keys;
  // Test output names the row, not its bytes.
  friend void PrintTo(const MelodyCase& c, std::ostream* os) { *os << c.name; }
};

class KeySequenceCases : public KeySequenceTest,
                         public testing::WithParamInterface<MelodyCase> {};

TEST_P(KeySequenceCases, ProducesTheKeyList) {
  const KeySequence result = Generate(GetParam().melody);
  EXPECT_EQ(result.noteCount, GetParam().noteCount);
  EXPECT_EQ(table_->NoteCount, GetParam().noteCount);
  EXPECT_EQ(result.keys, GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(
    Melodies, KeySequenceCases,
    testing::Values(
        MelodyCase{"worked_example", "4c1 8d1 8e2 4- 16#f2 2.c3 8p 4b1", 8,
                   "1, 28, 3*,  09, 4#8, 1#999*,  088, 78*, "},
        MelodyCase{"faulty_notes", "8c2 8h2 3c2 8c4 8d2", 5,
                   "18*, ERROR,  ERROR, ERROR,2, "},
        MelodyCase{"empty", "", 0, ""},
        MelodyCase{"only_separators", " ,, \r\n  \n,", 0, ""},
        MelodyCase{"current_length_and_octave", "4c1", 1, "1, "},
        MelodyCase{"eighth_in_octave_2", "8c2", 1, "18*, "},
        MelodyCase{"long_steps_and_octave_wrap", "16a3 1c1", 2,
                   "688**, 19999*, "},
        MelodyCase{"pause_length_does_not_carry_over", "4c1 8- 8d1", 3,
                   "1,  08, 28, "},
        MelodyCase{"comma_separates", "4c2,4d2", 2, "1*, 2, "},
        MelodyCase{"lone_dash_dropped", "8c2 - 8d2", 2, "18*, 2, "},
        MelodyCase{"dot_is_sharp", "8c.2", 1, "1#8*, "},
        MelodyCase{"octave_error_keeps_length_change", "4c1 8c4 8d1", 3,
                   "1,  ERROR,2, "},
        MelodyCase{"octave_7_is_3", "8c7", 1, "18**, "},
        MelodyCase{"octave_0_is_a_pause", "8c0", 1, " 08, "},
        MelodyCase{"line_break_joins_tokens", "8c2\r\n8d2", 1, " ERROR,"},
        MelodyCase{"line_break_after_blank", "8c2 \r\n8d2", 2, "18*, 2, "},
        MelodyCase{"three_blanks_between", "8c2   8d2", 2, "18*, 2, "},
        MelodyCase{"tab_inside_token", "8c2\t8d2", 1, " ERROR,"},
        MelodyCase{"pause_sign_with_octave", "4-2", 1, "ERROR, "},
        MelodyCase{"zero_length", "0c2", 1, " ERROR,"},
        MelodyCase{"digits_only", "32", 1, "ERROR, "},
        MelodyCase{"thirty_second_pause", "32p", 1, " 0888, "}),
    [](const auto& info) { return std::string(info.param.name); });

// Tokens whose parse ends early must show as errors whatever the same
// table index held from an earlier melody.
TEST_F(KeySequenceTest, FailedTokenNeverReusesAnEarlierEntry) {
  for (std::string_view failing : {"8c", "c2", "8c2x", "99999999999c2"}) {
    for (std::string_view earlier : {"8c2", "4-", "16#g3"}) {
      Generate(earlier);
      const KeySequence result = Generate(failing);
      EXPECT_EQ(result.noteCount, 1);
      EXPECT_NE(result.keys.find("ERROR"), std::string::npos)
          << "'" << failing << "' after '" << earlier << "' gave '"
          << result.keys << "'";
    }
  }
}

TEST_F(KeySequenceTest, NotesBeyondTheTableAreCountedAndShownAsErrors) {
  std::string melody;
  for (int i = 0; i < NoteTable::kCapacity + 2; ++i) melody += "4c1 ";
  const KeySequence result = Generate(melody);
  EXPECT_EQ(result.noteCount, NoteTable::kCapacity + 2);
  EXPECT_EQ(table_->NoteCount, NoteTable::kCapacity + 2);
  std::string expected;
  for (int i = 0; i < NoteTable::kCapacity; ++i) expected += "1, ";
  expected += "ERROR, ERROR, ";
  EXPECT_EQ(result.keys, expected);
}

TEST_F(KeySequenceTest, EachRunStartsAfresh) {
  Generate("16a3 8c2 8d2");
  const KeySequence second = Generate("8c2");
  EXPECT_EQ(second.noteCount, 1);
  EXPECT_EQ(second.keys, "18*, ");
}

}  // namespace
}  // namespace quillora
