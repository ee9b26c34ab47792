#include "app/field_rules.h"

#include <gtest/gtest.h>

namespace quillora {
namespace {

TEST(FieldRulesTest, SecondsPerKeyStayFromOneToTen) {
  const struct {
    std::string_view typed;
    std::optional<std::string> corrected;
  } cases[] = {
      {"0", "1"},           {"-3", "1"},          {"11", "10"},
      {"250", "10"},        {"5", std::nullopt},  {"1", std::nullopt},
      {"10", std::nullopt}, {"x", "1"},           {"5x", "1"},
      {"", std::nullopt},   {"99999999999", "1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CorrectedSecondsPerKey(c.typed), c.corrected)
        << "'" << c.typed << "'";
  }
}

TEST(FieldRulesTest, TempoIsAnyWholeNumber) {
  const struct {
    std::string_view typed;
    std::optional<std::string> corrected;
  } cases[] = {
      {"abc", "120"},        {"90", std::nullopt}, {"0", std::nullopt},
      {"-20", std::nullopt}, {"", std::nullopt},   {"12.5", "120"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CorrectedTempo(c.typed), c.corrected) << "'" << c.typed << "'";
  }
}

}  // namespace
}  // namespace quillora
