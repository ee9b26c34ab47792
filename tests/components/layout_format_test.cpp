#include "components/layout_format.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "bad_layout_case.h"

namespace quillora {
namespace {

std::string ReadTestFile(const std::string& name) {
  std::ifstream file(std::string(QUILLORA_TEST_DATA) + "/" + name,
                     std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(ParseLayoutTest, ReadsNestedObjectsAndEveryKindOfValue) {
  const LayoutNode root =
      ParseLayout(ReadTestFile("every_kind_of_value.layout"));
  EXPECT_EQ(root.className, "TForm1");
  EXPECT_EQ(root.name, "Form1");
  ASSERT_EQ(root.properties.size(), 4u);
  EXPECT_EQ(root.properties[0].name, "Caption");
  EXPECT_EQ(std::get<std::string>(root.properties[0].value),
            "Quillora \"ZIDIZ\"\\\r\n\x01");
  EXPECT_EQ(std::get<std::int64_t>(root.properties[1].value), -640);
  EXPECT_EQ(root.properties[2].name, "Font.Color");
  EXPECT_EQ(std::get<Rgb>(root.properties[2].value), (Rgb{64, 81, 110}));
  EXPECT_EQ(std::get<Identifier>(root.properties[3].value).name, "bold");
  ASSERT_EQ(root.children.size(), 1u);
  const LayoutNode& tone = root.children[0];
  EXPECT_EQ(tone.className, "TToneGen");
  EXPECT_EQ(tone.line, 8);
  EXPECT_DOUBLE_EQ(std::get<double>(tone.properties[0].value), 0.5);
  EXPECT_EQ(std::get<Blob>(tone.properties[1].value),
            (Blob{0x07, 0x00, 0xab, 0xCD, 0x10}));
}

TEST(ParseLayoutTest, FormatReadsBackUnchanged) {
  const LayoutNode first =
      ParseLayout(ReadTestFile("every_kind_of_value.layout"));
  const std::string text = FormatLayout(first);
  const LayoutNode second = ParseLayout(text);
  EXPECT_EQ(FormatLayout(second), text);
  EXPECT_EQ(std::get<std::string>(second.properties[0].value),
            std::get<std::string>(first.properties[0].value));
  EXPECT_EQ(std::get<Blob>(second.children[0].properties[1].value),
            std::get<Blob>(first.children[0].properties[1].value));
}

TEST(FormatLayoutTest, WritesLongBinaryDataOverSeveralLines) {
  LayoutNode node{"TToneGen", "ToneGen1", {}, {}, 0};
  Blob blob(100);
  for (std::size_t i = 0; i < blob.size(); ++i)
    blob[i] = static_cast<std::uint8_t>(i);
  node.properties.push_back({"AMArrayData", blob, 0});
  node.properties.push_back({"AMFrequency", 3.0, 0});
  const std::string text = FormatLayout(node);
  EXPECT_NE(text.find("AMFrequency: 3.0\n"), std::string::npos) << text;
  const LayoutNode back = ParseLayout(text);
  EXPECT_EQ(std::get<Blob>(back.properties[0].value), blob);
  EXPECT_EQ(std::get<double>(back.properties[1].value), 3.0);
}

using MalformedCase = testing_support::BadLayoutCase;

class MalformedLayoutTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedLayoutTest, FailsWithLineAndReason) {
  testing_support::ExpectRefused(
      GetParam(), [](std::string_view text) { ParseLayout(text); });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedLayoutTest,
    testing::Values(
        MalformedCase{"empty", "  // nothing\n", 2, "empty"},
        MalformedCase{"missing_close", "TForm F {\n Left: 1\n", 3,
                      "missing '}'"},
        MalformedCase{"missing_name", "TForm {\n}", 1, "object name"},
        MalformedCase{"second_root", "TA A {}\nTB B {}", 2, "after the root"},
        MalformedCase{"value_missing", "TA A {\n Left:\n}", 3,
                      "expected a value"},
        MalformedCase{"unterminated_text", "TA A {\n C: \"abc\n}", 2,
                      "unterminated"},
        MalformedCase{"bad_escape", "TA A { C: \"\\q\" }", 1, "escape"},
        MalformedCase{"short_hex_escape", "TA A { C: \"\\x4\" }", 1,
                      "hex digits"},
        MalformedCase{"odd_hex_digits", "TA A { D: <abc> }", 1, "even number"},
        MalformedCase{"non_hex_in_blob", "TA A { D: <zz> }", 1, "hex digits"},
        MalformedCase{"open_blob", "TA A { D: <00", 1, "missing '>'"},
        MalformedCase{"short_colour", "TA A { C: #12345 }", 1, "six hex"},
        MalformedCase{"integer_overflow", "TA A { L: 99999999999999999999 }", 1,
                      "out of range"},
        MalformedCase{"number_with_letters", "TA A { L: 12px }", 1,
                      "malformed"},
        MalformedCase{"two_points", "TA A { L: 1.2.3 }", 1, "malformed"},
        MalformedCase{"dotted_object_name", "TA A { TB B.C {} }", 1,
                      "cannot contain"}),
    testing_support::CaseName);

TEST(ParseLayoutTest, RefusesObjectsNestedTooDeep) {
  std::string text;
  for (int i = 0; i <= kMaxLayoutDepth; ++i)
    text += "TA A" + std::to_string(i) + " {";
  text += std::string(kMaxLayoutDepth + 1, '}');
  EXPECT_THROW(ParseLayout(text), LayoutError);
}

}  // namespace
}  // namespace quillora
