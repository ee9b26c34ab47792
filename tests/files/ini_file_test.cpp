// The INI reader and writer: what each kind of file reads as, and the exact
// bytes that each write leaves.
#include "files/ini_file.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace quillora {
namespace {

using namespace std::string_literals;

struct ReadCase {
  const char* name;
  std::string content;
  std::string key;
  std::string expected;  // default "DEFAULT"
  std::string section = "Melody";
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class IniReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsTheValue) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(IniFile(c.content).ReadString(c.section, c.key, "DEFAULT"),
            c.expected);
}

const std::string k2047(2047, 'a');

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReadTest,
    testing::Values(
        ReadCase{"Plain", "[Melody]\r\nTitle=Tune\r\n", "Title", "Tune"},
        ReadCase{"MissingKey", "[Melody]\r\nTitle=Tune\r\n", "Temp", "DEFAULT"},
        ReadCase{"MissingSection", "[Other]\r\nTitle=Tune\r\n", "Title",
                 "DEFAULT"},
        ReadCase{"EmptyFile", "", "Title", "DEFAULT"},
        ReadCase{"EmptyValueIsNotTheDefault", "[Melody]\r\nTemp=\r\n", "Temp",
                 ""},
        ReadCase{"BlankValueIsEmpty", "[Melody]\r\nTemp= \t \r\n", "Temp", ""},
        ReadCase{"NamesIgnoreCase", "[mElOdY]\r\nTITLE=x\r\n", "Title", "x"},
        ReadCase{"BlanksAndTabsTrimmed", "[Melody]\n \tTitle \t=  a  b \t\n",
                 "Title", "a  b"},
        ReadCase{"SectionWithBlanksAndTrailingText",
                 " [ Melody ] trailing\nTitle=x\n", "Title", "x"},
        ReadCase{"SectionWithoutCloseIsNoSection", "[Melody\nTitle=x\n",
                 "Title", "DEFAULT"},
        ReadCase{"KeysBeforeTheFirstSectionBelongToNone",
                 "Title=x\n[Melody]\nNotes=y\n", "Title", "DEFAULT"},
        ReadCase{"KeyOfAnotherSection", "[Other]\nTitle=x\n[Melody]\n", "Title",
                 "DEFAULT"},
        ReadCase{"FirstSectionWins", "[Melody]\nTitle=a\n[melody]\nTitle=b\n",
                 "Title", "a"},
        ReadCase{"SecondSectionIsNotMerged",
                 "[Melody]\nTitle=a\n[Melody]\nNotes=n\n", "Notes", "DEFAULT"},
        ReadCase{"FirstKeyWins", "[Melody]\nTitle=a\ntitle=b\n", "Title", "a"},
        ReadCase{"LineWithoutEqualsIsNoKey", "[Melody]\nTitle\nTitle=b\n",
                 "Title", "b"},
        ReadCase{"SemicolonLineIsAKey", "[Melody]\n;Title=x\nTitle=y\n",
                 ";Title", "x"},
        ReadCase{"SemicolonLineHidesNothing", "[Melody]\n;Title=x\nTitle=y\n",
                 "Title", "y"},
        ReadCase{"NoInlineComments", "[Melody]\nTitle=a ; b # c\n", "Title",
                 "a ; b # c"},
        ReadCase{"ValueKeepsLaterEquals", "[Melody]\nTitle=a=b\n", "Title",
                 "a=b"},
        ReadCase{"NoFinalLineBreak", "[Melody]\nTitle=x", "Title", "x"},
        ReadCase{"LineFeedsOnly", "[Melody]\nTitle=x\nNotes=y", "Notes", "y"},
        ReadCase{"CarriageReturnsOnly", "[Melody]\rTitle=x\rNotes=y\r", "Notes",
                 "y"},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[Melody]\r\nTitle=x\r\n",
                 "Title", "x"},
        ReadCase{"NulEndsTheValue", "[Melody]\nTitle=ab \0cd\nTemp=9\n"s,
                 "Title", "ab"},
        ReadCase{"DoubleQuotesStripped", "[Melody]\nTitle=\" a b \"\n", "Title",
                 " a b "},
        ReadCase{"SingleQuotesStripped", "[Melody]\nTitle='x'\n", "Title", "x"},
        ReadCase{"QuotesOnlyGiveEmpty", "[Melody]\nTitle=\"\"\n", "Title", ""},
        ReadCase{"MismatchedQuotesStay", "[Melody]\nTitle=\"x'\n", "Title",
                 "\"x'"},
        ReadCase{"LoneQuoteStays", "[Melody]\nTitle=\"\n", "Title", "\""},
        ReadCase{"InnerQuotesStay", "[Melody]\nTitle=a \"b\"\n", "Title",
                 "a \"b\""},
        ReadCase{"OnlyOnePairStripped", "[Melody]\nTitle=\"\"x\"\"\n", "Title",
                 "\"x\""},
        ReadCase{"Length2047Kept", "[Melody]\nNotes=" + k2047 + "\n", "Notes",
                 k2047},
        ReadCase{"Length2048Cut", "[Melody]\nNotes=" + k2047 + "b\n", "Notes",
                 k2047},
        ReadCase{"CutAfterQuotesStripped",
                 "[Melody]\nNotes=\"" + k2047 + "\"\n", "Notes", k2047},
        ReadCase{
            "CutCountsCharactersNotBytes",
            "[Melody]\nTitle=" + std::string(2046, 'a') + "\xC3\xA9\xC3\xA9\n",
            "Title", std::string(2046, 'a') + "\xC3\xA9"},
        ReadCase{"Utf8Kept", "[Melody]\nTitle=Caf\xC3\xA9 \xE2\x82\xAC\n",
                 "Title", "Caf\xC3\xA9 \xE2\x82\xAC"},
        ReadCase{"Windows1252Converted", "[Melody]\nTitle=Caf\xE9 \x80\x93\n",
                 "Title", "Caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\x9C"}),
    [](const testing::TestParamInfo<ReadCase>& info) {
      return std::string(info.param.name);
    });

struct Write {
  std::string section, key, value;
};

struct WriteCase {
  const char* name;
  std::string before;
  std::vector<Write> writes;
  std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class IniWriteTest : public testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteTest, LeavesExactlyTheseBytes) {
  const WriteCase& c = GetParam();
  IniFile ini(c.before);
  for (const Write& w : c.writes) ini.WriteString(w.section, w.key, w.value);
  EXPECT_EQ(ini.Content(), c.after);
  for (const Write& w : c.writes) {
    EXPECT_EQ(IniFile(ini.Content()).ReadString(w.section, w.key, "DEFAULT"),
              w.value)
        << w.key;
  }
}

const std::vector<Write> kMelodyWrites = {{"Melody", "Title", "Evening tune"},
                                          {"Melody", "Notes", "8c2 8e2 4g2"},
                                          {"Melody", "Temp", "140"}};

INSTANTIATE_TEST_SUITE_P(
    Rules, IniWriteTest,
    testing::Values(
        WriteCase{"NewFile", "", kMelodyWrites,
                  "[Melody]\r\nTitle=Evening tune\r\nNotes=8c2 8e2 4g2\r\n"
                  "Temp=140\r\n"},
        WriteCase{"OnlyTheValuesChange",
                  "; my tunes\n[Other]\nk = v\n\n[Melody]\nTitle = old  \n"
                  "  Notes\t=\t4c1\nTemp=90\n\n[After]\nx=y",
                  kMelodyWrites,
                  "; my tunes\n[Other]\nk = v\n\n[Melody]\nTitle = Evening "
                  "tune  \n  Notes\t=\t8c2 8e2 4g2\nTemp=140\n\n[After]\nx=y"},
        WriteCase{"MissingSectionAppendedWithoutBlankLine",
                  "[Other]\r\nk=v\r\n\r\n", kMelodyWrites,
                  "[Other]\r\nk=v\r\n\r\n[Melody]\r\nTitle=Evening tune\r\n"
                  "Notes=8c2 8e2 4g2\r\nTemp=140\r\n"},
        WriteCase{"MissingSectionAfterAnUnendedLine",
                  "[Other]\nk=v",
                  {{"Melody", "Title", "t"}},
                  "[Other]\nk=v\n[Melody]\nTitle=t\n"},
        WriteCase{"MissingKeyBeforeTheBlankLinesEndingTheSection",
                  "[Melody]\nTitle=a\n\n \n[Next]\n",
                  {{"Melody", "Notes", "n"}},
                  "[Melody]\nTitle=a\nNotes=n\n\n \n[Next]\n"},
        WriteCase{"MissingKeyAfterAComment",
                  "[Melody]\n; note\n\n",
                  {{"Melody", "Temp", "90"}},
                  "[Melody]\n; note\nTemp=90\n\n"},
        WriteCase{"MissingKeyInAnEmptySection",
                  "[Melody]\r\n\r\n[B]\r\n",
                  {{"Melody", "Temp", "90"}},
                  "[Melody]\r\nTemp=90\r\n\r\n[B]\r\n"},
        WriteCase{"MissingKeyAtTheUnendedEnd",
                  "[Melody]\nTitle=a",
                  {{"Melody", "Notes", "n"}, {"Melody", "Temp", "1"}},
                  "[Melody]\nTitle=a\nNotes=n\nTemp=1"},
        WriteCase{"CarriageReturnFileKeepsItsLineEnds",
                  "[Melody]\rTitle=a\r",
                  {{"Melody", "Temp", "1"}},
                  "[Melody]\rTitle=a\rTemp=1\r"},
        WriteCase{"AddedLineEndsLikeTheLineBeforeIt",
                  "[Melody]\rTitle=a\r\n\n",
                  {{"Melody", "Temp", "1"}},
                  "[Melody]\rTitle=a\r\nTemp=1\r\n\n"},
        WriteCase{"ByteOrderMarkAlone",
                  "\xEF\xBB\xBF",
                  {{"Melody", "Title", "t"}},
                  "\xEF\xBB\xBF[Melody]\r\nTitle=t\r\n"},
        WriteCase{"ByteOrderMarkKept",
                  "\xEF\xBB\xBF[Melody]\r\nTitle=a\r\n",
                  {{"Melody", "Title", "b"}},
                  "\xEF\xBB\xBF[Melody]\r\nTitle=b\r\n"},
        WriteCase{"NamesKeepTheirCase",
                  "[melody]\r\nTITLE=a\r\n",
                  {{"Melody", "Title", "b"}},
                  "[melody]\r\nTITLE=b\r\n"},
        WriteCase{"FirstOfTwinsWritten",
                  "[Melody]\nTitle=a\nTitle=b\n[Melody]\nTitle=c\n",
                  {{"Melody", "Title", "x"}},
                  "[Melody]\nTitle=x\nTitle=b\n[Melody]\nTitle=c\n"},
        WriteCase{"WholeRawValueReplaced",
                  "[Melody]\nTitle=\"ab\0cd\" \n"s,
                  {{"Melody", "Title", "x"}},
                  "[Melody]\nTitle=x \n"},
        WriteCase{"EmptyValueFilled",
                  "[Melody]\nTemp=\n",
                  {{"Melody", "Temp", "90"}},
                  "[Melody]\nTemp=90\n"},
        WriteCase{"ValueEmptied",
                  "[Melody]\nTemp=90\n",
                  {{"Melody", "Temp", ""}},
                  "[Melody]\nTemp=\n"},
        WriteCase{"EndBlanksProtectedByQuotes",
                  "",
                  {{"Melody", "Title", " a\t"}},
                  "[Melody]\r\nTitle=\" a\t\"\r\n"},
        WriteCase{"QuotedValueProtectedByQuotes",
                  "",
                  {{"Melody", "Title", "'x'"}},
                  "[Melody]\r\nTitle=\"'x'\"\r\n"},
        WriteCase{"CommentMarksWrittenAsText",
                  "",
                  {{"Melody", "Title", "; # = [x]"}},
                  "[Melody]\r\nTitle=; # = [x]\r\n"}),
    [](const testing::TestParamInfo<WriteCase>& info) {
      return std::string(info.param.name);
    });

TEST(IniWriteRefusalTest, LineBreaksAndNulNeverReachTheFile) {
  const std::string before = "[Melody]\r\nTitle=a\r\n";
  for (const std::string& value :
       {"x\r\n[Evil]\r\nk=v"s, "x\ny"s, "x\ry"s, "x\0y"s}) {
    IniFile ini(before);
    EXPECT_THROW(ini.WriteString("Melody", "Title", value),
                 std::invalid_argument);
    EXPECT_EQ(ini.Content(), before);
  }
}

TEST(IniWriteRefusalTest, NamesThatCouldNotBeReadBackAreRefused) {
  IniFile ini;
  EXPECT_THROW(ini.WriteString("", "k", "v"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("a]b", "k", "v"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S", "a=b", "v"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S", " k", "v"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S", "[k]", "v"), std::invalid_argument);
  EXPECT_EQ(ini.Content(), "");
}

}  // namespace
}  // namespace quillora
