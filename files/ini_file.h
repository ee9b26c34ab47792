// IniFile: reads and edits the text of an INI file held in memory.
//
// Reading follows the rules of the INI profile functions that melody files
// were first written with:
// - lines end with CR LF, LF or CR; the last line needs no line end; a UTF-8
//   byte-order mark at the start is skipped;
// - a section line is "[name]": blanks and tabs around the line and inside
//   the brackets are ignored, text after "]" too; lines before the first
//   section line belong to no section; a line starting with "[" but holding
//   no "]" is no section line;
// - inside a section, a line holding "=" is a key: the name is the text
//   before the first "=", the value the text after it, both with blanks and
//   tabs trimmed at both ends; a line without "=" is no key, and a line
//   starting with ";" is a key like any other (there are no comments, inline
//   or not, for the reader: a value is not cut at ";" or "#");
// - section and key names match without regard to ASCII letter case; when a
//   section, or a key within it, appears twice, the first one counts;
// - a value ends at a NUL byte; then, when it begins and ends with the same
//   quotation mark (' or ") and is at least two characters long, it loses
//   these two marks; it is read as UTF-8, or as Windows-1252 when it is not
//   valid UTF-8, and cut to its first kMaxValueCharacters characters.
//
// Writing changes only the bytes of the one value written:
// - an existing key (the first of the first matching section) keeps its
//   name, its blanks around "=" and its line end; only its value's bytes are
//   replaced;
// - a missing key is added as "Key=value" after the last non-blank line of
//   the section, before any blank lines that end it;
// - a missing section is appended at the end of the file, with no blank line
//   before it, followed by its key;
// - an added key line ends like the line before it; an appended section
//   and a line end added after an unended last line are those of the file's
//   first line (CR LF in a file without one);
// - a value that the reader would change (blanks or tabs at either end, or a
//   pair of matching quotation marks around it) is written inside double
//   quotes, so that reading it back gives exactly the value written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillora {

class IniFile {
 public:
  static constexpr std::size_t kMaxValueCharacters = 2047;

  // The file's bytes; empty for a file that does not exist.
  explicit IniFile(std::string content = {});

  // The value of `key` in `section`, or `defaultValue` when the section or
  // the key is missing. A key present with an empty value gives "".
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;

  // Sets the value of `key` in `section`. Throws std::invalid_argument when
  // `value` holds a CR, LF or NUL byte (it would break the file's lines or
  // be cut when read), or when a name is empty or could not be read back
  // (a line break, "]" in a section name, "=" in a key name, blanks at an
  // end).
  void WriteString(std::string_view section, std::string_view key,
                   std::string_view value);

  const std::string& Content() const { return content_; }

 private:
  // One line: [start, end) is its text without the line end, `next` the
  // start of the following line.
  struct Line {
    std::size_t start, end, next;
  };
  struct KeyPlace {
    // The bytes of the raw value, blanks at both ends excluded.
    std::size_t valueStart, valueEnd;
  };
  struct SectionPlace {
    // The section line and the last non-blank line of the section.
    Line header, lastNonBlank;
    std::optional<KeyPlace> key;
  };

  std::optional<Line> NextLine(std::size_t from) const;
  std::optional<SectionPlace> Locate(std::string_view section,
                                     std::string_view key) const;
  std::string LineEnd() const;

  std::string content_;
};

}  // namespace quillora
