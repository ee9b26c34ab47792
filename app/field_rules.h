// The checks of the main window's two numeric fields, as pure functions.
// Each returns the text the field must be set to, or std::nullopt when the
// text may stand.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillora {

// Seconds each key is shown: an empty field may stand while the user types;
// whole numbers below 1 become "1", above 10 become "10"; anything that is
// not a whole number becomes "1".
std::optional<std::string> CorrectedSecondsPerKey(std::string_view text);

// Tempo: an empty field may stand; any whole number stands (the player
// deals with the range); anything else becomes "120".
std::optional<std::string> CorrectedTempo(std::string_view text);

}  // namespace quillora
