#include "components/layout_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quillora {

LayoutError::LayoutError(int line, const std::string& message)
    : std::runtime_error(line > 0 ? "layout line " + std::to_string(line) +
                                        ": " + message
                                  : "layout: " + message),
      line_(line) {}

namespace {

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '.';
}
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A recursive-descent reader over the text, one character of look-ahead.
class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  LayoutNode ParseRoot() {
    SkipSpace();
    if (AtEnd()) Fail("the layout is empty");
    LayoutNode root = ParseObject(ReadIdentifier("a class name"), 1);
    SkipSpace();
    if (!AtEnd()) Fail("text after the root object");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw LayoutError(line_, message);
  }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  char Take() {
    const char c = text_[pos_++];
    if (c == '\n') ++line_;
    return c;
  }

  void SkipSpace() {
    while (!AtEnd()) {
      const char c = Peek();
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        Take();
      } else if (c == '/' && pos_ + 1 < text_.size() &&
                 text_[pos_ + 1] == '/') {
        while (!AtEnd() && Peek() != '\n') Take();
      } else {
        return;
      }
    }
  }

  std::string ReadIdentifier(const char* what) {
    SkipSpace();
    if (!IsIdentStart(Peek())) Fail(std::string("expected ") + what);
    const std::size_t start = pos_;
    while (!AtEnd() && IsIdentChar(Peek())) Take();
    return std::string(text_.substr(start, pos_ - start));
  }

  void Expect(char c) {
    SkipSpace();
    if (Peek() != c) Fail(std::string("expected '") + c + "'");
    Take();
  }

  // The class name has been read; reads the name and the body.
  LayoutNode ParseObject(std::string className, int depth) {
    if (depth > kMaxLayoutDepth) Fail("objects nest too deep");
    LayoutNode node;
    node.line = line_;
    node.className = std::move(className);
    node.name = ReadIdentifier("an object name");
    if (node.name.find('.') != std::string::npos) {
      Fail("an object name cannot contain '.'");
    }
    Expect('{');
    while (true) {
      SkipSpace();
      if (AtEnd()) Fail("missing '}' of " + node.name);
      if (Peek() == '}') {
        Take();
        return node;
      }
      const int line = line_;
      std::string word = ReadIdentifier("a property or an object");
      SkipSpace();
      if (Peek() == ':') {
        Take();
        node.properties.push_back({std::move(word), ParseValue(), line});
      } else {
        node.children.push_back(ParseObject(std::move(word), depth + 1));
      }
    }
  }

  LayoutValue ParseValue() {
    SkipSpace();
    const char c = Peek();
    if (c == '"') return ParseString();
    if (c == '#') return ParseColour();
    if (c == '<') return ParseBlob();
    if (c == '-' || c == '+' || (c >= '0' && c <= '9')) return ParseNumber();
    if (IsIdentStart(c)) return Identifier{ReadIdentifier("a value")};
    Fail("expected a value");
  }

  std::string ParseString() {
    Take();  // the opening quote
    std::string value;
    while (true) {
      if (AtEnd() || Peek() == '\n') Fail("unterminated text");
      const char c = Take();
      if (c == '"') return value;
      if (c != '\\') {
        value.push_back(c);
        continue;
      }
      if (AtEnd()) Fail("unterminated text");
      const char escaped = Take();
      switch (escaped) {
        case '"':
          value.push_back('"');
          break;
        case '\\':
          value.push_back('\\');
          break;
        case 'n':
          value.push_back('\n');
          break;
        case 'r':
          value.push_back('\r');
          break;
        case 't':
          value.push_back('\t');
          break;
        case 'x': {
          const int high = HexValue(Peek());
          if (high < 0) Fail("expected two hex digits after \\x");
          Take();
          const int low = HexValue(Peek());
          if (low < 0) Fail("expected two hex digits after \\x");
          Take();
          value.push_back(static_cast<char>(high * 16 + low));
          break;
        }
        default:
          Fail(std::string("unknown escape \\") + escaped);
      }
    }
  }

  Rgb ParseColour() {
    Take();  // '#'
    int digits[6];
    for (int& digit : digits) {
      digit = HexValue(Peek());
      if (digit < 0) Fail("a colour is # and six hex digits");
      Take();
    }
    if (IsIdentChar(Peek())) Fail("a colour is # and six hex digits");
    return {static_cast<std::uint8_t>(digits[0] * 16 + digits[1]),
            static_cast<std::uint8_t>(digits[2] * 16 + digits[3]),
            static_cast<std::uint8_t>(digits[4] * 16 + digits[5])};
  }

  Blob ParseBlob() {
    Take();  // '<'
    Blob blob;
    int high = -1;
    while (true) {
      SkipSpace();
      if (AtEnd()) Fail("missing '>' of binary data");
      const char c = Take();
      if (c == '>') break;
      const int digit = HexValue(c);
      if (digit < 0) Fail("binary data holds only hex digits");
      if (high < 0) {
        high = digit;
      } else {
        blob.push_back(static_cast<std::uint8_t>(high * 16 + digit));
        high = -1;
      }
    }
    if (high >= 0) Fail("binary data needs an even number of hex digits");
    return blob;
  }

  LayoutValue ParseNumber() {
    const std::size_t start = pos_;
    if (Peek() == '+' || Peek() == '-') Take();
    bool fraction = false;
    while (!AtEnd()) {
      const char c = Peek();
      if (c >= '0' && c <= '9') {
        Take();
      } else if (c == '.' || c == 'e' || c == 'E') {
        fraction = true;
        Take();
        if ((c == 'e' || c == 'E') && (Peek() == '+' || Peek() == '-')) Take();
      } else {
        break;
      }
    }
    if (IsIdentStart(Peek())) Fail("malformed number");
    std::string_view number = text_.substr(start, pos_ - start);
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    const char* first = number.data();
    const char* last = first + number.size();
    if (fraction) {
      double value = 0;
      const auto [end, error] = std::from_chars(first, last, value);
      if (error != std::errc() || end != last || !std::isfinite(value)) {
        Fail("malformed number");
      }
      return value;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) Fail("number out of range");
    if (error != std::errc() || end != last) Fail("malformed number");
    return value;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

std::string FormatValue(const LayoutValue& value, const std::string& indent) {
  struct Formatter {
    const std::string& indent;
    std::string operator()(std::int64_t v) const { return std::to_string(v); }
    std::string operator()(double v) const {
      // Shortest text that reads back as the same double.
      char buffer[64];
      const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
      std::string text(buffer, result.ptr);
      if (text.find_first_of(".e") == std::string::npos) text += ".0";
      return text;
    }
    std::string operator()(const std::string& v) const {
      std::string text = "\"";
      for (const char c : v) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
          text += '\\';
          text += c;
        } else if (c == '\n') {
          text += "\\n";
        } else if (c == '\r') {
          text += "\\r";
        } else if (c == '\t') {
          text += "\\t";
        } else if (byte < 32 || byte == 127) {
          char escape[5];
          std::snprintf(escape, sizeof escape, "\\x%02X", byte);
          text += escape;
        } else {
          text += c;
        }
      }
      return text + "\"";
    }
    std::string operator()(const Identifier& v) const { return v.name; }
    std::string operator()(const Rgb& v) const {
      char text[8];
      std::snprintf(text, sizeof text, "#%02X%02X%02X", v.red, v.green, v.blue);
      return text;
    }
    std::string operator()(const Blob& v) const {
      static constexpr char kHex[] = "0123456789ABCDEF";
      std::string text = "<";
      for (std::size_t i = 0; i < v.size(); ++i) {
        if (i > 0)
          text += i % 32 == 0 ? "\n" + indent + "  " : (i % 4 == 0 ? " " : "");
        text += kHex[v[i] >> 4];
        text += kHex[v[i] & 15];
      }
      return text + ">";
    }
  };
  return std::visit(Formatter{indent}, value);
}

void FormatNode(const LayoutNode& node, int depth, std::string& out) {
  const std::string indent(2 * depth, ' ');
  out += indent + node.className + " " + node.name + " {\n";
  for (const LayoutProperty& property : node.properties) {
    out += indent + "  " + property.name + ": " +
           FormatValue(property.value, indent + "  ") + "\n";
  }
  for (const LayoutNode& child : node.children) {
    FormatNode(child, depth + 1, out);
  }
  out += indent + "}\n";
}

}  // namespace

LayoutNode ParseLayout(std::string_view text) {
  return Parser(text).ParseRoot();
}

std::string FormatLayout(const LayoutNode& root) {
  std::string out;
  FormatNode(root, 0, out);
  return out;
}

}  // namespace quillora
