// The keys of the phone's keypad and which lit picture a shown key takes.
#pragma once

#include <optional>
#include <string_view>

namespace quillora {

// In the keypad's order, row by row: 1 2 3 / 4 5 6 / 7 8 9 / star 0 hash.
enum class KeypadKey { k1, k2, k3, k4, k5, k6, k7, k8, k9, kStar, k0, kHash };

inline constexpr int kKeypadKeyCount = 12;

// The lit key for a shown key's text: "0" to "9", "*" and "#" each light
// their key; any other text, the empty text included, lights none.
std::optional<KeypadKey> KeypadKeyFor(std::string_view keyText);

// Position of `key` in the keypad order, 0 to 11.
constexpr int KeypadIndex(KeypadKey key) { return static_cast<int>(key); }

}  // namespace quillora
