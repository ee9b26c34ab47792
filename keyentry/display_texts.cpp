#include "keyentry/display_texts.h"

#include <cstdio>

namespace quillora {

std::string EstimateText(std::int64_t seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "Est. time: %02lld:%02lld",
                static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return text;
}

std::string ClockText(int hour, int minute) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
  return text;
}

}  // namespace quillora
