#include "files/ini_file.h"

#include <stdexcept>

#include "files/text_encoding.h"

namespace quillora {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanksAndTabs(std::string_view text) {
  while (!text.empty() && IsBlankOrTab(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrTab(text.back())) text.remove_suffix(1);
  return text;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// The name of a section line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  const std::string_view trimmed = TrimBlanksAndTabs(line);
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  const std::size_t close = trimmed.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanksAndTabs(trimmed.substr(1, close - 1));
}

bool IsQuoted(std::string_view value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

bool HoldsLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) !=
         std::string_view::npos;
}

void CheckName(std::string_view name, std::string_view forbidden,
               const char* what) {
  if (name.empty() || HoldsLineBreakOrNul(name) ||
      name.find_first_of(forbidden) != std::string_view::npos ||
      TrimBlanksAndTabs(name).size() != name.size()) {
    throw std::invalid_argument(std::string("unusable INI ") + what + " name");
  }
}

}  // namespace

IniFile::IniFile(std::string content) : content_(std::move(content)) {}

std::optional<IniFile::Line> IniFile::NextLine(std::size_t from) const {
  if (from == 0 && content_.starts_with(kByteOrderMark)) {
    from = kByteOrderMark.size();
  }
  if (from >= content_.size()) return std::nullopt;
  const std::size_t end = content_.find_first_of("\r\n", from);
  if (end == std::string::npos) {
    return Line{from, content_.size(), content_.size()};
  }
  const bool crlf = content_[end] == '\r' && end + 1 < content_.size() &&
                    content_[end + 1] == '\n';
  return Line{from, end, end + (crlf ? 2 : 1)};
}

std::optional<IniFile::SectionPlace> IniFile::Locate(
    std::string_view section, std::string_view key) const {
  std::optional<SectionPlace> place;
  for (auto line = NextLine(0); line; line = NextLine(line->next)) {
    const std::string_view text =
        std::string_view(content_).substr(line->start, line->end - line->start);
    if (const auto name = SectionName(text)) {
      if (place) break;  // the first matching section ends here
      if (EqualIgnoringCase(*name, section))
        place = SectionPlace{*line, *line, std::nullopt};
      continue;
    }
    if (!place) continue;
    if (!TrimBlanksAndTabs(text).empty()) place->lastNonBlank = *line;
    const std::size_t equals = text.find('=');
    if (place->key || equals == std::string_view::npos) continue;
    if (!EqualIgnoringCase(TrimBlanksAndTabs(text.substr(0, equals)), key)) {
      continue;
    }
    std::size_t valueStart = line->start + equals + 1;
    std::size_t valueEnd = line->end;
    while (valueStart < valueEnd && IsBlankOrTab(content_[valueStart])) {
      ++valueStart;
    }
    while (valueEnd > valueStart && IsBlankOrTab(content_[valueEnd - 1])) {
      --valueEnd;
    }
    place->key = KeyPlace{valueStart, valueEnd};
  }
  return place;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const auto place = Locate(section, key);
  if (!place || !place->key) return std::string(defaultValue);
  std::string_view value = std::string_view(content_).substr(
      place->key->valueStart, place->key->valueEnd - place->key->valueStart);
  value = TrimBlanksAndTabs(value.substr(0, value.find('\0')));
  if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
  std::string text = TextAsUtf8(value);
  text.resize(Utf8PrefixBytes(text, kMaxValueCharacters));
  return text;
}

std::string IniFile::LineEnd() const {
  const std::size_t end = content_.find_first_of("\r\n");
  if (end == std::string::npos) return "\r\n";
  if (content_[end] == '\n') return "\n";
  return content_.compare(end, 2, "\r\n") == 0 ? "\r\n" : "\r";
}

void IniFile::WriteString(std::string_view section, std::string_view key,
                          std::string_view value) {
  CheckName(section, "]", "section");
  CheckName(key, "=", "key");
  if (key.front() == '[') {
    throw std::invalid_argument("unusable INI key name");
  }
  if (HoldsLineBreakOrNul(value)) {
    throw std::invalid_argument("an INI value cannot hold a line break");
  }
  std::string stored(value);
  if (IsQuoted(value) || TrimBlanksAndTabs(value).size() != value.size()) {
    stored = '"' + stored + '"';
  }

  const std::string lineEnd = LineEnd();
  const auto place = Locate(section, key);
  if (place && place->key) {
    content_.replace(place->key->valueStart,
                     place->key->valueEnd - place->key->valueStart, stored);
  } else if (place) {
    const Line& after = place->lastNonBlank;
    const std::string line = std::string(key) + "=" + stored;
    if (after.next == after.end) {
      // The last line of the file, without a line end of its own.
      content_.insert(after.next, lineEnd + line);
    } else {
      // The new line ends as the one before it: a lone CR put before a line
      // that starts with LF would join them into one line end.
      const std::string ownEnd =
          content_.substr(after.end, after.next - after.end);
      content_.insert(after.next, line + ownEnd);
    }
  } else {
    const bool needsLineEnd = !content_.empty() && content_ != kByteOrderMark &&
                              content_.back() != '\n' &&
                              content_.back() != '\r';
    if (needsLineEnd) content_ += lineEnd;
    content_ += "[" + std::string(section) + "]" + lineEnd + std::string(key) +
                "=" + stored + lineEnd;
  }
}

}  // namespace quillora
