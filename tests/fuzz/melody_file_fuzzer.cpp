// Any bytes as an INI file, and any value written into it: reading never
// fails; a written value reads back as written (as UTF-8, cut to 2047
// characters), no other key changes, and writing the same value again
// changes nothing. A value that would break the file's lines is refused
// without touching it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/ini_file.h"
#include "files/text_encoding.h"

namespace {

using quillora::IniFile;

void Check(bool condition) {
  if (!condition) std::abort();
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view TrimBlanksAndTabs(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

// Section and key names that the file may hold, found roughly: the text
// inside brackets and the text before "=" on every line. Every pair of them
// is read before and after the write.
std::vector<std::pair<std::string, std::string>> Probes(
    std::string_view content) {
  std::vector<std::string> sections = {"Melody", "Other"};
  std::vector<std::string> keys = {"Title", "Notes", "Temp", "k"};
  std::size_t start = 0;
  while (start < content.size() && sections.size() + keys.size() < 40) {
    std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = content.size();
    const std::string_view line = content.substr(start, end - start);
    const std::size_t open = line.find('['), close = line.find(']');
    if (open != std::string_view::npos && close != std::string_view::npos &&
        open < close) {
      sections.emplace_back(
          TrimBlanksAndTabs(line.substr(open + 1, close - open - 1)));
    } else if (const std::size_t equals = line.find('=');
               equals != std::string_view::npos) {
      keys.emplace_back(TrimBlanksAndTabs(line.substr(0, equals)));
    }
    start = end + 1;
  }
  std::vector<std::pair<std::string, std::string>> probes;
  for (const std::string& section : sections) {
    for (const std::string& key : keys) probes.emplace_back(section, key);
  }
  return probes;
}

}  // namespace

// Input: the file's bytes, then optionally "\n@@" and the section, key and
// value to write, separated by \x01.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view content = input;
  std::string section = "Melody", key = "Title", value = "x";
  if (const std::size_t marker = input.rfind("\n@@");
      marker != std::string_view::npos) {
    content = input.substr(0, marker);
    std::string_view rest = input.substr(marker + 3);
    std::string* parts[] = {&section, &key, &value};
    for (std::string* part : parts) {
      const std::size_t separator = rest.find('\x01');
      *part = std::string(rest.substr(0, separator));
      rest = separator == std::string_view::npos ? std::string_view()
                                                 : rest.substr(separator + 1);
    }
  }

  IniFile ini{std::string(content)};
  const auto probes = Probes(content);
  std::vector<std::string> before;
  for (const auto& [s, k] : probes) {
    before.push_back(ini.ReadString(s, k, "\x02"));
    Check(quillora::IsValidUtf8(before.back()));
  }

  try {
    ini.WriteString(section, key, value);
  } catch (const std::invalid_argument&) {
    Check(ini.Content() == content);
    return 0;
  }
  std::string expected = quillora::TextAsUtf8(value);
  expected.resize(
      quillora::Utf8PrefixBytes(expected, IniFile::kMaxValueCharacters));
  Check(ini.ReadString(section, key, "\x02") == expected);
  for (std::size_t i = 0; i < probes.size(); ++i) {
    const auto& [s, k] = probes[i];
    if (SameName(s, section) && SameName(k, key)) continue;
    Check(ini.ReadString(s, k, "\x02") == before[i]);
  }
  const std::string written = ini.Content();
  ini.WriteString(section, key, value);
  Check(ini.Content() == written);
  return 0;
}
