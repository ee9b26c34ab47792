// An information box: a caption, a text and an OK button, shown modally.
#pragma once

#include <functional>
#include <string>

namespace quillora {

// Shows the box; returns when it is closed.
void ShowMessageBox(const std::string& caption, const std::string& text);

// Tests answer the box instead of showing it; null shows real boxes.
using MessageBoxResponder =
    std::function<void(const std::string& caption, const std::string& text)>;
void SetMessageBoxResponder(MessageBoxResponder responder);

}  // namespace quillora
