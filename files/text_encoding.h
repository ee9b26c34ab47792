// Text encodings met in melody files.
//
// Quillora's text is UTF-8. Melody files written by older 8-bit systems hold
// Windows-1252 text instead; a value that is not valid UTF-8 is taken to be
// such a text and converted. Pure functions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillora {

// True when `text` is well-formed UTF-8: no stray continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// Converts Windows-1252 bytes to UTF-8. The five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of
// the same number, as the platform's own conversion does.
std::string Windows1252ToUtf8(std::string_view text);

// `text` itself when it is valid UTF-8, else its Windows-1252 reading.
std::string TextAsUtf8(std::string_view text);

// The number of bytes that the first `characters` characters of the valid
// UTF-8 text `text` take (all of it when it has fewer characters).
std::size_t Utf8PrefixBytes(std::string_view text, std::size_t characters);

}  // namespace quillora
