#include "base/text_ops.h"

#include <limits>

namespace quillora {

std::string ReplaceAll(std::string_view text, std::string_view find,
                       std::string_view replacement) {
  if (find.empty()) return std::string(text);
  std::string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    const std::size_t hit = text.find(find, pos);
    if (hit == std::string_view::npos) break;
    result.append(text.substr(pos, hit - pos));
    result.append(replacement);
    pos = hit + find.size();
  }
  result.append(text.substr(pos));
  return result;
}

std::string_view Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::optional<std::size_t> Find(std::string_view text, std::string_view find) {
  const std::size_t hit = text.find(find);
  if (hit == std::string_view::npos) return std::nullopt;
  return hit;
}

std::string_view Substring(std::string_view text, std::size_t start,
                           std::size_t count) {
  if (start >= text.size()) return {};
  return text.substr(start, count);
}

std::optional<std::int32_t> ToInt32(std::string_view text) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos == text.size()) return std::nullopt;
  // Accumulate as a negative number so that INT32_MIN is representable.
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    if (!IsAsciiDigit(text[pos])) return std::nullopt;
    value = value * 10 - (text[pos] - '0');
    if (value < kMin) return std::nullopt;
  }
  if (!negative) {
    value = -value;
    if (value > kMax) return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::string ToUpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

}  // namespace quillora
