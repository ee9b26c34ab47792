// The desktop's clipboard, as plain UTF-8 text.
#pragma once

#include <string>
#include <string_view>

namespace quillora {

// The clipboard's text; "" when it holds no text.
std::string ClipboardText();
void SetClipboardText(std::string_view text);

}  // namespace quillora
