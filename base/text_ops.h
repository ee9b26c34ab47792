// Byte-string helpers shared by every subsystem.
//
// Text in Quillora is a sequence of 8-bit bytes held in std::string; none of
// these functions knows about encodings. "Blank" means any byte of code 32
// or less (space, tab, line breaks and the other control characters).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillora {

// Replaces every occurrence of `find` in `text` by `replacement`, scanning
// once from left to right. Text produced by a replacement is not searched
// again, so ReplaceAll("   ", "  ", " ") gives "  ". An empty `find` leaves
// the text unchanged.
std::string ReplaceAll(std::string_view text, std::string_view find,
                       std::string_view replacement);

// True for the bytes that Trim removes: codes 0 to 32.
constexpr bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Removes blanks from both ends.
std::string_view Trim(std::string_view text);

// Position of the first occurrence of `find` in `text`, or std::nullopt.
std::optional<std::size_t> Find(std::string_view text, std::string_view find);

// Up to `count` bytes of `text` starting at `start`; a start past the end
// gives the empty text.
std::string_view Substring(std::string_view text, std::size_t start,
                           std::size_t count = std::string_view::npos);

// Strict decimal conversion: an optional '+' or '-', then one or more
// digits 0-9, and nothing else (no blanks). Values outside the signed 32-bit
// range fail. Returns std::nullopt on failure.
std::optional<std::int32_t> ToInt32(std::string_view text);

// Upper-cases the ASCII letters a-z; every other byte stays as it is.
std::string ToUpperAscii(std::string_view text);

constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace quillora
