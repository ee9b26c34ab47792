#include "toolkit/desktop_services.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace quillora {
namespace {

// The shell starts the program in the background and ends at once; we reap
// the shell, and the program, orphaned, is adopted and later reaped by the
// system's init (or the session's reaper). Arguments travel as "$@", never
// as shell text, so no address can smuggle in a command.
constexpr char kBackgroundScript[] = "\"$@\" &";

// Opens the document "$1" when the desktop names a default application for
// any of the types "$3"..., the fallback "$2" otherwise. Runs detached, so
// the caller never waits for xdg-mime, which takes a noticeable fraction of
// a second.
constexpr char kChooseScript[] =
    "document=$1 fallback=$2; shift 2; "
    "for type in \"$@\"; do "
    "if [ -n \"$(xdg-mime query default \"$type\" 2>/dev/null)\" ]; "
    "then exec xdg-open \"$document\"; fi; "
    "done; "
    "exec xdg-open \"$fallback\"";

class XdgDesktopServices : public DesktopServices {
 public:
  void Open(const std::string& target) override {
    LaunchDetached({"xdg-open", target});
  }
  void OpenWithHandlerOr(const std::string& document,
                         const std::vector<std::string>& mimeTypes,
                         const std::string& fallback) override {
    std::vector<std::string> command = {"/bin/sh", "-c",     kChooseScript,
                                        "sh",      document, fallback};
    command.insert(command.end(), mimeTypes.begin(), mimeTypes.end());
    LaunchDetached(command);
  }
};

std::unique_ptr<DesktopServices>& InstalledServices() {
  static std::unique_ptr<DesktopServices> services = CreateXdgDesktopServices();
  return services;
}

// posix_spawn's attributes and file actions, released however we leave.
struct SpawnSettings {
  SpawnSettings() {
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_init(&actions);
  }
  ~SpawnSettings() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  posix_spawnattr_t attributes;
  posix_spawn_file_actions_t actions;
};

}  // namespace

DesktopServices& Desktop() { return *InstalledServices(); }

std::unique_ptr<DesktopServices> InstallDesktopServices(
    std::unique_ptr<DesktopServices> services) {
  if (!services) services = CreateXdgDesktopServices();
  std::swap(InstalledServices(), services);
  return services;
}

std::unique_ptr<DesktopServices> CreateXdgDesktopServices() {
  return std::make_unique<XdgDesktopServices>();
}

void LaunchDetached(const std::vector<std::string>& argv) {
  if (argv.empty()) return;
  std::vector<std::string> words = {"sh", "-c", kBackgroundScript, "sh"};
  words.insert(words.end(), argv.begin(), argv.end());
  std::vector<char*> arguments;
  for (std::string& word : words) arguments.push_back(word.data());
  arguments.push_back(nullptr);

  SpawnSettings settings;
  // A session of its own: no terminal ties it to us. The window thread may
  // block signals or ignore some; the new program starts with the defaults.
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGQUIT, SIGHUP, SIGTERM}) {
    sigaddset(&defaults, signal);
  }
  posix_spawnattr_setsigmask(&settings.attributes, &none);
  posix_spawnattr_setsigdefault(&settings.attributes, &defaults);
  posix_spawnattr_setflags(&settings.attributes, POSIX_SPAWN_SETSID |
                                                     POSIX_SPAWN_SETSIGMASK |
                                                     POSIX_SPAWN_SETSIGDEF);
  for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    posix_spawn_file_actions_addopen(
        &settings.actions, stream, "/dev/null",
        stream == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
  }

  pid_t shell = 0;
  if (posix_spawn(&shell, "/bin/sh", &settings.actions, &settings.attributes,
                  arguments.data(), environ) != 0) {
    return;
  }
  // The shell only forks and ends; this wait is over in a moment.
  while (waitpid(shell, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace quillora
