// Start-up of the program once the application object exists: the main
// window from its stored layout, then the message loop.
#pragma once

#include "toolkit/application.h"

namespace quillora {

// The exit status of a start-up that could not build the main window.
inline constexpr int kStartupFailed = 1;

// Registers the program's classes, builds the main window from `layoutPath`
// (the embedded layout by default), shows it and runs the message loop
// until the program ends. Returns the message loop's status, 0. When the
// window cannot be built (a broken layout, a missing picture) the error box
// shows why and kStartupFailed is returned without running the loop.
int RunMainWindow(
    TApplication& application,
    const char* layoutPath = ":/quillora/layouts/main_window.layout");

}  // namespace quillora
