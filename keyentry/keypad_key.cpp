#include "keyentry/keypad_key.h"

namespace quillora {

std::optional<KeypadKey> KeypadKeyFor(std::string_view keyText) {
  if (keyText.size() != 1) return std::nullopt;
  const char key = keyText.front();
  if (key >= '1' && key <= '9') {
    return static_cast<KeypadKey>(key - '1');
  }
  switch (key) {
    case '0':
      return KeypadKey::k0;
    case '*':
      return KeypadKey::kStar;
    case '#':
      return KeypadKey::kHash;
    default:
      return std::nullopt;
  }
}

}  // namespace quillora
