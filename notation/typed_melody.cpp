#include "notation/typed_melody.h"

#include "base/melody_text.h"
#include "base/text_ops.h"

namespace quillora {
namespace {

// NormaliseMelody, keeping for each byte of the result the offset of the
// typed byte that it comes from.
struct MappedText {
  std::string text;
  std::vector<std::size_t> origin;
};

MappedText NormaliseWithOrigins(std::string_view typed) {
  // Steps 1 to 4 act byte by byte: ',' -> ' ', '.' -> '#', CR and LF go.
  MappedText bytewise;
  bytewise.text.reserve(typed.size());
  bytewise.origin.reserve(typed.size());
  for (std::size_t i = 0; i < typed.size(); ++i) {
    char c = typed[i];
    if (c == '\r' || c == '\n') continue;
    if (c == ',') c = ' ';
    if (c == '.') c = '#';
    bytewise.text.push_back(c);
    bytewise.origin.push_back(i);
  }
  // Step 5: one left-to-right pass turning each pair of blanks into one.
  MappedText result;
  result.text.reserve(bytewise.text.size());
  result.origin.reserve(bytewise.text.size());
  const std::string& s = bytewise.text;
  for (std::size_t i = 0; i < s.size(); ++i) {
    result.text.push_back(s[i]);
    result.origin.push_back(bytewise.origin[i]);
    if (s[i] == ' ' && i + 1 < s.size() && s[i + 1] == ' ') ++i;
  }
  return result;
}

}  // namespace

std::vector<TypedNote> SplitTypedMelody(std::string_view melodyText) {
  const MappedText mapped = NormaliseWithOrigins(melodyText);

  // Start offset of each line, to turn offsets into line and column.
  std::vector<std::size_t> lineStarts{0};
  for (std::size_t i = 0; i < melodyText.size(); ++i) {
    if (melodyText[i] == '\n') lineStarts.push_back(i + 1);
  }
  std::size_t line = 0;

  std::vector<TypedNote> notes;
  TokenSplitter splitter(mapped.text);
  std::string_view token;
  while (splitter.Next(token)) {
    if (token.size() < 2) continue;
    const auto start =
        static_cast<std::size_t>(token.data() - mapped.text.data());
    const std::size_t first = mapped.origin[start];
    const std::size_t last = mapped.origin[start + token.size() - 1];

    TypedNote note;
    note.index = static_cast<std::int32_t>(notes.size());
    note.normalised = std::string(token);
    note.offset = first;
    note.length = last - first + 1;
    for (std::size_t k = 0; k < token.size(); ++k) {
      note.typed.push_back(melodyText[mapped.origin[start + k]]);
    }
    note.spansLineBreak = note.length != token.size();
    // Tokens come in order, so the line only moves forward.
    while (line + 1 < lineStarts.size() && lineStarts[line + 1] <= first) {
      ++line;
    }
    note.line = static_cast<std::int32_t>(line + 1);
    note.column = static_cast<std::int32_t>(first - lineStarts[line] + 1);
    notes.push_back(std::move(note));
  }
  return notes;
}

}  // namespace quillora
