#include "base/melody_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillora {
namespace {

TEST(NoteNameToIndexTest, KnowsTwelveNamesWithSharpOnEitherSide) {
  const struct {
    std::string_view name;
    std::int32_t index;
  } cases[] = {
      {"c", 0},   {"C", 0},  {"#c", 1},  {"c#", 1},   {"C#", 1},  {"#C", 1},
      {"d", 2},   {"D#", 3}, {"e", 4},   {"f", 5},    {"#f", 6},  {"g", 7},
      {"g#", 8},  {"a", 9},  {"A#", 10}, {"#a", 10},  {"b", 11},  {"B", 11},
      {"CB", -1}, {"H", -1}, {"E#", -1}, {"#E", -1},  {"B#", -1}, {"#B", -1},
      {"", -1},   {"-", -1}, {"P", -1},  {"c##", -1}, {"cc", -1}, {"C#x", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NoteNameToIndex(c.name), c.index) << "name '" << c.name << "'";
  }
}

TEST(TokenSplitterTest, YieldsEveryTokenIncludingShortOnes) {
  TokenSplitter splitter("8c2  - x\t 4d1");
  std::vector<std::string> tokens;
  std::string_view token;
  while (splitter.Next(token)) tokens.emplace_back(token);
  EXPECT_EQ(tokens, (std::vector<std::string>{"8c2", "", "-", "x", "4d1"}));
}

TEST(TokenSplitterTest, EmptyMelodyYieldsOneEmptyToken) {
  TokenSplitter splitter(" \t ");
  std::string_view token = "unset";
  ASSERT_TRUE(splitter.Next(token));
  EXPECT_EQ(token, "");
  EXPECT_FALSE(splitter.Next(token));
}

TEST(NormaliseMelodyTest, AppliesTheFiveReplacementsInOrder) {
  EXPECT_EQ(NormaliseMelody("8c2,8.d2\r\n   16e2"), "8c2 8#d2  16e2");
  EXPECT_EQ(NormaliseMelody("a,  b"), "a  b");  // ", " then "   " -> "  "
}

}  // namespace
}  // namespace quillora
