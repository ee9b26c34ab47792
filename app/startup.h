// Start-up of the program once the application object exists: the main
// window from its stored layout, the melody file named on the command line
// if there is one, then the message loop.
#pragma once

#include <filesystem>

#include "toolkit/application.h"

namespace quillora {

// The exit status of a start-up that could not build the main window.
inline constexpr int kStartupFailed = 1;

// The main window's stored layout, embedded in the program.
inline constexpr const char* kMainWindowLayout =
    ":/quillora/layouts/main_window.layout";

// The melody file named on the command line: `argc` and `argv` as the
// application object leaves them, having taken the window toolkit's own
// options. The program takes at most one argument, so that the desktop can
// open a .qlr file with it. Returns an empty path when there is none; more
// than one argument throws std::invalid_argument with the usage.
std::filesystem::path MelodyFileArgument(int argc, const char* const* argv);

// Gives the program's windows the embedded icon, registers the program's
// classes, builds the main window from `layoutPath`
// (the embedded layout by default), shows it, opens `melodyFile` unless it
// is empty as the Open button opens the file chosen in its dialog, and runs
// the message loop until the program ends. Returns the message loop's
// status, 0. When the window cannot be built (a broken layout, a missing
// picture) the error box shows why and kStartupFailed is returned without
// running the loop.
int RunMainWindow(TApplication& application,
                  const char* layoutPath = kMainWindowLayout,
                  const std::filesystem::path& melodyFile = {});

}  // namespace quillora
