// The stored-layout text format: reading and writing.
//
// A layout describes one window as a tree of objects. Each object has a
// class, a name, properties and child objects:
//
//   TForm1 Form1 {
//     Caption: "Quillora (ZIDIZ Edition)"
//     ClientWidth: 640
//     Font.Color: #40516E
//     Font.Style: bold
//     TToneGen ToneGen1 {
//       AMFrequency: 0.5
//       AMArrayData: <07000000 00000000>
//     }
//   }
//
// Values are texts in double quotes (with the escapes \" \\ \n \r \t and
// \xHH), integers, numbers with a fraction, colours as #RRGGBB (red, green,
// blue), identifiers (enumerations, true and false) and binary data as hex
// digits in angle brackets.
//
// A property name may contain dots (Font.Name). Line comments start with //.
// This file knows only the syntax; which classes and properties exist is the
// business of the component loader.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quillora {

// Raised for a malformed layout, or one that names an unknown class or
// property, or gives a property a value it cannot take.
class LayoutError : public std::runtime_error {
 public:
  LayoutError(int line, const std::string& message);
  int line() const { return line_; }

 private:
  int line_;
};

struct Identifier {
  std::string name;
  friend bool operator==(const Identifier&, const Identifier&) = default;
};

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

using Blob = std::vector<std::uint8_t>;

using LayoutValue =
    std::variant<std::int64_t, double, std::string, Identifier, Rgb, Blob>;

struct LayoutProperty {
  std::string name;
  LayoutValue value;
  int line = 0;
};

struct LayoutNode {
  std::string className;
  std::string name;
  std::vector<LayoutProperty> properties;
  std::vector<LayoutNode> children;
  int line = 0;
};

// Objects may nest this deep at most.
inline constexpr int kMaxLayoutDepth = 32;

// Parses a layout held in memory. Exactly one root object; throws
// LayoutError with the line of the fault.
LayoutNode ParseLayout(std::string_view text);

// Writes `root` in the format that ParseLayout reads, indented by two spaces
// a level.
std::string FormatLayout(const LayoutNode& root);

}  // namespace quillora
