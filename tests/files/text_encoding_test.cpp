// Telling UTF-8 from Windows-1252 and converting the latter.
#include "files/text_encoding.h"

#include <gtest/gtest.h>

namespace quillora {
namespace {

TEST(TextEncodingTest, ValidUtf8IsRecognisedStrictly) {
  const struct {
    const char* text;
    bool valid;
  } cases[] = {
      {"plain", true},
      {"\xC3\xA9", true},           // é
      {"\xE2\x82\xAC", true},       // €
      {"\xF0\x9F\x8E\xB5", true},   // a musical note, four bytes
      {"\xE9", false},              // é in Windows-1252
      {"\xC3", false},              // cut short
      {"\x80", false},              // stray continuation
      {"\xC0\xAF", false},          // overlong '/'
      {"\xE0\x80\xAF", false},      // overlong, three bytes
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsValidUtf8(c.text), c.valid) << testing::PrintToString(c.text);
  }
}

TEST(TextEncodingTest, Windows1252BecomesUtf8) {
  EXPECT_EQ(Windows1252ToUtf8("Ode \xE0 la joie \x96 \x80"),
            "Ode \xC3\xA0 la joie \xE2\x80\x93 \xE2\x82\xAC");
  // Unassigned bytes become the control characters of the same number.
  EXPECT_EQ(Windows1252ToUtf8("\x81\x9D\xFF"), "\xC2\x81\xC2\x9D\xC3\xBF");
  EXPECT_EQ(TextAsUtf8("M\xC3\xBCller"), "M\xC3\xBCller");
  EXPECT_EQ(TextAsUtf8("M\xFCller"), "M\xC3\xBCller");
}

}  // namespace
}  // namespace quillora
