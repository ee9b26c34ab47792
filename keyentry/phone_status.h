// The status word of the phone display, as the clock's tick updates it.
#pragma once

#include <string>
#include <string_view>

namespace quillora {

inline constexpr std::string_view kIdleStatus = "ZIDIZ";
inline constexpr std::string_view kPauseStatus = "PAUSE";

// The status after one clock tick, from the status shown now. While the key
// entry is paused "PAUSE" blinks: "PAUSE" gives the empty text and any
// other text gives "PAUSE". Otherwise a single blank, "STOP" and the empty
// text fall back to "ZIDIZ"; every other text (a key, "START", "ERROR",
// "PAUSE", "ZIDIZ") stays. Comparisons are exact and case-sensitive.
std::string NextPhoneStatus(std::string_view status, bool keyEntryPaused);

}  // namespace quillora
