#include "app/field_rules.h"

#include "base/text_ops.h"

namespace quillora {

std::optional<std::string> CorrectedSecondsPerKey(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::optional<std::int32_t> seconds = ToInt32(text);
  if (!seconds) return "1";
  if (*seconds < 1) return "1";
  if (*seconds > 10) return "10";
  return std::nullopt;
}

std::optional<std::string> CorrectedTempo(std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (!ToInt32(text)) return "120";
  return std::nullopt;
}

}  // namespace quillora
