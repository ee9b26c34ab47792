#include "notation/melody_faults.h"

#include <gtest/gtest.h>

#include <string>

#include "notation/note_table.h"
#include "notation/typed_melody.h"

namespace quillora {
namespace {

TEST(MelodyFaultsTest, ListsTheFaultyNotesWithTheirColumns) {
  const auto faults = FindMelodyFaults("8c2 4#e2 3c1 8c4 8d2");
  ASSERT_EQ(faults.size(), 3u);
  EXPECT_EQ(FormatFault(faults[0]), "1:5: 4#e2: E has no sharp on the phone");
  EXPECT_EQ(FormatFault(faults[1]),
            "1:10: 3c1: length 3 is not one of 1, 2, 4, 8, 16, 32");
  EXPECT_EQ(FormatFault(faults[2]),
            "1:14: 8c4: octave 4 is beyond the phone's three octaves");
  EXPECT_EQ(faults[1].noteIndex, 2);
  EXPECT_EQ(faults[1].offset, 9u);
  EXPECT_EQ(faults[1].length, 3u);
}

struct ReasonCase {
  const char* name;
  std::string_view token;  // as typed, one token
  std::string_view reason;
};

class TokenReasons : public testing::TestWithParam<ReasonCase> {};

TEST_P(TokenReasons, NameTheFirstCheckThatFails) {
  const auto faults = FindMelodyFaults(GetParam().token);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].token, GetParam().token);
  EXPECT_EQ(faults[0].reason, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TokenReasons,
    testing::Values(
        ReasonCase{"e_sharp", "8e#2", "E has no sharp on the phone"},
        ReasonCase{"b_sharp_dotted", "8.b2", "B has no sharp on the phone"},
        ReasonCase{"unknown_letter", "8h2", "'h' is not a note name"},
        ReasonCase{"flat", "8Db2", "the phone has no flats: write C# for Db"},
        ReasonCase{"pause_with_octave", "4-2", "a pause takes no octave"},
        ReasonCase{"sharp_alone", "8#2", "a sharp sign without a note letter"},
        ReasonCase{"digits_only", "16", "no note name"},
        ReasonCase{"no_length", "c2", "no note length"},
        ReasonCase{"length_too_large", "99999999999c2",
                   "length 99999999999 is not one of 1, 2, 4, 8, 16, 32"},
        ReasonCase{"zero_length", "0c2",
                   "length 0 is not one of 1, 2, 4, 8, 16, 32"},
        ReasonCase{"pause_length", "3-",
                   "length 3 is not one of 1, 2, 4, 8, 16, 32"},
        ReasonCase{"no_octave", "8c", "no octave"},
        ReasonCase{"octave_text", "8c2x", "'2x' is not an octave"},
        ReasonCase{"octave_with_dot", "8c2.", "'2.' is not an octave"},
        ReasonCase{"octave_8", "8c8",
                   "octave 8 is beyond the phone's three octaves"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MelodyFaultsTest, NotesThePhoneTakesAreNotListed) {
  EXPECT_TRUE(
      FindMelodyFaults("4c1 8d1 8e2 4- 16#f2 2.c3 8p 4b1 8c7 8c0 32P").empty());
  EXPECT_TRUE(FindMelodyFaults("").empty());
  EXPECT_TRUE(FindMelodyFaults(" , \r\n c -").empty());  // dropped tokens
}

TEST(MelodyFaultsTest, PlacesCountLinesAndTheTypedSpelling) {
  // Line breaks, commas and runs of blanks shift the generator's copy of
  // the text; places refer to the text as typed.
  const std::string melody = "8c2,,  8d2\r\n   4e#1 ,\n\n8h.2";
  const auto faults = FindMelodyFaults(melody);
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0].line, 2);
  EXPECT_EQ(faults[0].column, 4);
  EXPECT_EQ(faults[0].token, "4e#1");
  EXPECT_EQ(melody.substr(faults[0].offset, faults[0].length), "4e#1");
  EXPECT_EQ(faults[1].line, 4);
  EXPECT_EQ(faults[1].column, 1);
  EXPECT_EQ(faults[1].token, "8h.2");
  EXPECT_EQ(faults[1].noteIndex, 3);
}

TEST(MelodyFaultsTest, ANoteJoinedOverALineBreakSaysSo) {
  const std::string melody = "4c1 8c2\r\n8d2 4e1";
  const auto faults = FindMelodyFaults(melody);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].token, "8c28d2");
  EXPECT_EQ(faults[0].line, 1);
  EXPECT_EQ(faults[0].column, 5);
  EXPECT_EQ(melody.substr(faults[0].offset, faults[0].length), "8c2\r\n8d2");
  EXPECT_NE(faults[0].reason.find("line break"), std::string::npos);
  // A blank before the break keeps the notes apart.
  EXPECT_TRUE(FindMelodyFaults("4c1 8c2 \r\n8d2 4e1").empty());
}

TEST(MelodyFaultsTest, NotesBeyondTheTableAreFaults) {
  std::string melody;
  for (int i = 0; i < NoteTable::kCapacity + 2; ++i) melody += "4c1 ";
  const auto faults = FindMelodyFaults(melody);
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0].noteIndex, NoteTable::kCapacity);
  EXPECT_EQ(faults[0].column, NoteTable::kCapacity * 4 + 1);
}

}  // namespace
}  // namespace quillora
