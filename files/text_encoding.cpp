#include "files/text_encoding.h"

#include <array>
#include <cstdint>

namespace quillora {
namespace {

// Code points of the bytes 0x80 to 0x9F; 0xA0 to 0xFF map to themselves.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    // The code page reaches no further than the three-byte forms.
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    char32_t c;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      c = lead & 0x07;
    } else {
      return false;  // a continuation byte, or a lead of an overlong form
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (!IsContinuation(next)) return false;
      c = (c << 6) | (next & 0x3F);
    }
    if ((length == 3 && c < 0x800) || (length == 4 && c < 0x10000) ||
        (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (const char byte : text) {
    const auto c = static_cast<unsigned char>(byte);
    if (c < 0x80) {
      out += byte;
    } else if (c < 0xA0) {
      AppendUtf8(out, kWindows1252High[c - 0x80]);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::string TextAsUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  return Windows1252ToUtf8(text);
}

std::size_t Utf8PrefixBytes(std::string_view text, std::size_t characters) {
  std::size_t i = 0;
  for (std::size_t count = 0; count < characters && i < text.size(); ++count) {
    ++i;
    while (i < text.size() &&
           IsContinuation(static_cast<unsigned char>(text[i]))) {
      ++i;
    }
  }
  return i;
}

}  // namespace quillora
