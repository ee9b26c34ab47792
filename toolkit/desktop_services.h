// The desktop's own handlers for documents and addresses: "open this web
// page, mail address or file with whatever the user has chosen for it".
//
// The program hands a target over and goes on at once; it never waits for a
// browser, a mail program or a help viewer, and reports nothing when the
// desktop has no handler. Tests install a recording replacement through
// InstallDesktopServices so that no real program starts.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace quillora {

class DesktopServices {
 public:
  virtual ~DesktopServices() = default;

  // Hands `target` (a web or "mailto:" address, or a file's full name) to
  // the desktop's "open" action and returns at once.
  virtual void Open(const std::string& target) = 0;

  // Opens `document` when the desktop names a default application for any
  // of `mimeTypes` (a type and its aliases, which desktops register
  // viewers under alike), and `fallback` otherwise. Returns at once: the
  // question to the desktop is asked away from the caller.
  virtual void OpenWithHandlerOr(const std::string& document,
                                 const std::vector<std::string>& mimeTypes,
                                 const std::string& fallback) = 0;
};

// The services in use: the real desktop's (xdg-open, xdg-mime) unless a
// replacement is installed.
DesktopServices& Desktop();

// Puts `services` in use and returns the ones it replaces; passing null
// puts the real desktop's back.
std::unique_ptr<DesktopServices> InstallDesktopServices(
    std::unique_ptr<DesktopServices> services);

// The real desktop's services, for tests that run them against stand-in
// programs on PATH.
std::unique_ptr<DesktopServices> CreateXdgDesktopServices();

// Starts the program `argv[0]` (looked up in PATH) with the arguments
// `argv[1]...`, detached: in a session of its own, with its standard
// streams on /dev/null, and not a child of this process, so that nothing
// waits for it and no zombie stays when it ends. Returns as soon as it is
// started; a program that cannot be started is silently ignored.
void LaunchDetached(const std::vector<std::string>& argv);

}  // namespace quillora
