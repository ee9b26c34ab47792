// The texts of the phone display: the estimate of the time left and the
// clock.
#pragma once

#include <cstdint>
#include <string>

namespace quillora {

// "Est. time: MM:SS" for `seconds` (0 or more): whole minutes and the
// remaining seconds, each with at least two digits; minutes above 99 take
// more digits ("Est. time: 116:30").
std::string EstimateText(std::int64_t seconds);

// "HH:MM" for an hour 0 to 23 and a minute 0 to 59, each with two digits.
std::string ClockText(int hour, int minute);

}  // namespace quillora
