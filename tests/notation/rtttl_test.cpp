#include <gtest/gtest.h>

#include <string>

#include "notation/rtttl_export.h"
#include "notation/rtttl_import.h"

namespace quillora {
namespace {

TEST(RtttlImportTest, ReadsTitleTempoAndNotes) {
  const RtttlImport tune =
      ImportRtttl("Tune:d=4,o=5,b=100:8c6,8e6,4g6,p,8a#5,2c.6");
  ASSERT_TRUE(tune.ok()) << tune.error;
  EXPECT_EQ(tune.title, "Tune");
  EXPECT_EQ(tune.tempo, 100);
  // The dotted half becomes a half and a quarter at the same pitch.
  EXPECT_EQ(tune.notes, "8c2 8e2 4g2 4- 8a#1 2c2 4c2");
  EXPECT_TRUE(tune.warnings.empty());
}

struct ImportCase {
  const char* name;
  std::string_view rtttl;
  std::string_view notes;
  std::int32_t tempo;
};

class RtttlImportCases : public testing::TestWithParam<ImportCase> {};

TEST_P(RtttlImportCases, GivesTheComposerNotes) {
  const RtttlImport result = ImportRtttl(GetParam().rtttl);
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_EQ(result.notes, GetParam().notes);
  EXPECT_EQ(result.tempo, GetParam().tempo);
}

INSTANTIATE_TEST_SUITE_P(
    Rtttl, RtttlImportCases,
    testing::Values(
        // RTTTL's own defaults: quarter notes, octave 6, 63 beats.
        ImportCase{"own_defaults", "x::c,d", "4c2 4d2", 63},
        ImportCase{"defaults_any_order_and_case", "x: B=120 , O=7, D=8 :C,4D",
                   "8c3 4d3", 120},
        ImportCase{"blanks_anywhere", " x : d = 8 : 1 6 c # 5 , p ", "16c#1 8-",
                   63},
        ImportCase{"dot_before_or_after_octave", "x:o=5:4c.6,4c6.",
                   "4c2 8c2 4c2 8c2", 63},
        ImportCase{"e_and_b_sharp", "x:o=5:e#,b#", "4f1 4c2", 63},
        ImportCase{"h_is_b", "x:o=5:h", "4b1", 63},
        ImportCase{"dotted_pause", "x::2p.", "2- 4-", 63},
        ImportCase{"line_breaks_in_notes", "x:d=8,o=5:\r\nc,\r\nd\r\n",
                   "8c1 8d1", 63},
        ImportCase{"whole_octave_shift_down", "x:o=7:c,c8", "4c2 4c3", 63},
        ImportCase{"whole_octave_shift_up", "x:o=4:c,b", "4c1 4b1", 63},
        ImportCase{"pauses_only", "x::p,8p", "4- 8-", 63}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtttlImportTest, WarnsOfEveryChangeToWhatSounds) {
  // Four octaves: the best shift keeps three in range and folds the
  // lowest note up.
  const RtttlImport wide = ImportRtttl("x:d=8:c4,c5,c6,c7,32c.5,64d5");
  ASSERT_TRUE(wide.ok()) << wide.error;
  EXPECT_EQ(wide.notes, "8c1 8c1 8c2 8c3 32c1 32d1");
  ASSERT_EQ(wide.warnings.size(), 3u);
  EXPECT_EQ(wide.warnings[0],
            "note 5 (32c.5): a dotted 32nd has no half on the phone and "
            "became a plain 32nd");
  EXPECT_EQ(wide.warnings[1],
            "note 6 (64d5): a 64th note is shorter than the phone's shortest "
            "note and became a 32nd");
  EXPECT_EQ(wide.warnings[2],
            "note 1 lies 1 octave below the phone's range and was moved into "
            "octave 1");

  const RtttlImport high = ImportRtttl("x:o=8,b=900:c,e");
  ASSERT_TRUE(high.ok());
  EXPECT_EQ(high.notes, "4c3 4e3");
  EXPECT_EQ(high.tempo, 899);
  ASSERT_EQ(high.warnings.size(), 2u);
  EXPECT_EQ(high.warnings[0],
            "the melody was moved down 1 octave to fit the phone's octaves");
  EXPECT_NE(high.warnings[1].find("b=900"), std::string::npos);

  const RtttlImport rtx = ImportRtttl("x:d=4,l=15,s=N:c");
  ASSERT_TRUE(rtx.ok()) << rtx.error;
  EXPECT_EQ(rtx.warnings.size(), 2u);
}

TEST(RtttlImportTest, ReadsTheFirstOfSeveralMelodies) {
  const RtttlImport first = ImportRtttl("One:d=4:c,d\nTwo:d=8:e,f\n");
  ASSERT_TRUE(first.ok()) << first.error;
  EXPECT_EQ(first.title, "One");
  EXPECT_EQ(first.notes, "4c2 4d2");
  EXPECT_EQ(first.warnings.size(), 1u);
}

struct RefusedCase {
  const char* name;
  std::string_view text;
  std::string_view error;
};

class RtttlRefused : public testing::TestWithParam<RefusedCase> {};

TEST_P(RtttlRefused, SaysWhatIsWrong) {
  const RtttlImport result = ImportRtttl(GetParam().text);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.error, GetParam().error);
  EXPECT_EQ(result.notes, "");
}

INSTANTIATE_TEST_SUITE_P(
    NotRtttl, RtttlRefused,
    testing::Values(
        RefusedCase{"composer_notation", "8c2 4#f1 16-",
                    "not RTTTL: expected a title, the defaults and the notes "
                    "separated by two colons, as in "
                    "Tune:d=4,o=5,b=100:8c6,8e6,4g6"},
        RefusedCase{"empty", "",
                    "not RTTTL: expected a title, the defaults "
                    "and the notes separated by two colons, as "
                    "in Tune:d=4,o=5,b=100:8c6,8e6,4g6"},
        RefusedCase{"bad_default", "x:q=4:c",
                    "not RTTTL: 'q=4' in the defaults is not d=, o= or b= "
                    "with a number"},
        RefusedCase{"default_without_number", "x:d=:c",
                    "not RTTTL: 'd=' in the defaults is not d=, o= or b= "
                    "with a number"},
        RefusedCase{"bad_length_default", "x:d=3:c",
                    "not RTTTL: default length d=3 is not one of 1, 2, 4, 8, "
                    "16, 32"},
        RefusedCase{"bad_note", "x::c,4x5",
                    "not RTTTL: note 2 '4x5' is not a note or a pause"},
        RefusedCase{"bad_note_length", "x::3c",
                    "not RTTTL: note 1 '3c' is not a note or a pause"},
        RefusedCase{"two_dots", "x::c.5.",
                    "not RTTTL: note 1 'c.5.' is not a note or a pause"},
        RefusedCase{"no_notes", "x:d=4:",
                    "not RTTTL: there are no notes after the second colon"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtttlImportTest, RefusesMoreNotesThanTheComposerTakes) {
  std::string text = "x::";
  for (int i = 0; i < 5001; ++i) text += "c.,";
  const RtttlImport result = ImportRtttl(text);
  EXPECT_EQ(result.error,
            "the melody has 10002 notes; the phone's composer takes at most "
            "10000");
}

TEST(RtttlExportTest, WritesTheShortestLine) {
  const RtttlExport tune =
      ExportRtttl("Tune", "8c2 8e2 4g2 4- 8a#1 2c2 4c2", 100);
  ASSERT_TRUE(tune.ok()) << tune.error;
  EXPECT_EQ(tune.text, "Tune:b=100:8c,8e,g,p,8a#5,2c,c");
  // RTTTL's own defaults are left out; others pay when they save.
  EXPECT_EQ(ExportRtttl("A:b", "8c1 8d1 8e1 8.f1 8g1", 63).text,
            "Ab:d=8,o=5:c,d,e,f#,g");
  EXPECT_EQ(ExportRtttl("", "4P", 120).text, ":b=120:p");
  // Tempos the player does not take are written as the 120 it plays.
  EXPECT_EQ(ExportRtttl("x", "4c1", 0).text, "x:b=120:c5");
  EXPECT_EQ(ExportRtttl("x", "4c1", 3).text, "x:b=120:c5");
  EXPECT_EQ(ExportRtttl("x", "4c1", 4).text, "x:b=4:c5");
}

TEST(RtttlExportTest, RefusesFaultyNotesNamingThem) {
  const RtttlExport refused = ExportRtttl("x", "8c2 4#e2 3c1 8c4 8d2", 100);
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(refused.text, "");
  EXPECT_EQ(refused.error,
            "the melody cannot be written as RTTTL: 3 notes are faulty: "
            "1:5: 4#e2: E has no sharp on the phone; "
            "1:10: 3c1: length 3 is not one of 1, 2, 4, 8, 16, 32; "
            "1:14: 8c4: octave 4 is beyond the phone's three octaves");
  EXPECT_FALSE(ExportRtttl("x", "", 100).ok());
}

}  // namespace
}  // namespace quillora
