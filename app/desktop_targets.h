// Everything the program hands to the desktop's "open" action: the about
// window's three links and the help, in one place.
#pragma once

#include <string_view>

namespace quillora {

// The about window's links. The addresses lie in the reserved example
// domain until the project has addresses of its own.
inline constexpr std::string_view kMakerWebSite =
    "https://www.example.org/quillora/";
inline constexpr std::string_view kSupportMail =
    "mailto:support@example.org?subject=Quillora%20user";
inline constexpr std::string_view kMelodyCollection =
    "https://melodies.example.org/";

// The help, beside the executable: the compiled help file, opened when the
// desktop has a viewer for its type, and the same pages as plain HTML, whose
// contents page the browser shows otherwise.
inline constexpr std::string_view kHelpFileName = "qz.chm";
// The compiled help's type and the alias that some viewers register.
inline constexpr std::string_view kHelpFileTypes[] = {
    "application/vnd.ms-htmlhelp", "application/x-chm"};
inline constexpr std::string_view kHtmlHelpFolder = "help";
inline constexpr std::string_view kHtmlHelpContents = "contents.html";

}  // namespace quillora
