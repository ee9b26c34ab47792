#include "base/text_ops.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace quillora {
namespace {

struct ReplaceCase {
  const char* name;
  std::string_view text, find, replacement, expected;
  // Test output names the row, not its bytes.
  friend void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }
};

class ReplaceAllTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllTest, ReplacesInOnePass) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceAll(c.text, c.find, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllTest,
    testing::Values(
        ReplaceCase{"every_occurrence", "a,b,,c", ",", " ", "a b  c"},
        ReplaceCase{"three_spaces_leave_two", "a   b", "  ", " ", "a  b"},
        ReplaceCase{"four_spaces_leave_two", "a    b", "  ", " ", "a  b"},
        ReplaceCase{"five_spaces_leave_three", "a     b", "  ", " ", "a   b"},
        ReplaceCase{"replacement_not_rescanned", "aa", "a", "aa", "aaaa"},
        ReplaceCase{"delete", "8c2\r\n8d2", "\r", "", "8c2\n8d2"},
        ReplaceCase{"no_match", "8c2", ".", "#", "8c2"},
        ReplaceCase{"empty_find_changes_nothing", "abc", "", "x", "abc"},
        ReplaceCase{"empty_text", "", ",", " ", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TrimTest, RemovesControlCharactersAndSpacesFromBothEnds) {
  EXPECT_EQ(Trim(" \t\r\n8c2 8d2\x01 \x1f"), "8c2 8d2");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  // Code 33 and bytes above 127 are text.
  EXPECT_EQ(Trim("!x!"), "!x!");
  EXPECT_EQ(Trim("\xe9 \xe9"), "\xe9 \xe9");
}

TEST(FindAndSubstringTest, HandleMissesAndOutOfRangeStarts) {
  EXPECT_EQ(Find("18*, ERROR, ", "ERROR"), 5u);
  EXPECT_EQ(Find("18*, ", "ERROR"), std::nullopt);
  EXPECT_EQ(Substring("8c2", 1), "c2");
  EXPECT_EQ(Substring("8c2", 1, 1), "c");
  EXPECT_EQ(Substring("8c2", 7), "");
}

struct IntCase {
  const char* name;
  std::string_view text;
  std::optional<std::int32_t> expected;
  // Test output names the row, not its bytes.
  friend void PrintTo(const IntCase& c, std::ostream* os) { *os << c.name; }
};

class ToInt32Test : public testing::TestWithParam<IntCase> {};

TEST_P(ToInt32Test, ConvertsStrictly) {
  EXPECT_EQ(ToInt32(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToInt32Test,
    testing::Values(
        IntCase{"plain", "120", 120}, IntCase{"leading_zeros", "0008", 8},
        IntCase{"plus", "+5", 5}, IntCase{"minus", "-20", -20},
        IntCase{"max", "2147483647", std::numeric_limits<std::int32_t>::max()},
        IntCase{"min", "-2147483648", std::numeric_limits<std::int32_t>::min()},
        IntCase{"above_max", "2147483648", std::nullopt},
        IntCase{"below_min", "-2147483649", std::nullopt},
        IntCase{"far_above_max", "99999999999", std::nullopt},
        IntCase{"empty", "", std::nullopt},
        IntCase{"sign_only", "-", std::nullopt},
        IntCase{"trailing_letter", "2x", std::nullopt},
        IntCase{"leading_dot", ".2", std::nullopt},
        IntCase{"blank_around", " 5", std::nullopt},
        IntCase{"hex", "0x10", std::nullopt},
        IntCase{"double_sign", "--5", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToUpperAsciiTest, ChangesAsciiLettersOnly) {
  EXPECT_EQ(ToUpperAscii("c#-p\xe9z"), "C#-P\xe9Z");
}

}  // namespace
}  // namespace quillora
