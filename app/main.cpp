// The program: the application, its title, the sound output, the main window
// with the melody file named on the command line, and the message loop.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>

#include "app/main_window.h"
#include "app/startup.h"
#include "resources/resources.h"
#include "toolkit/application.h"
#ifdef QUILLORA_HAVE_SOUND_OUTPUT
#include "sound/deferred_sound_output.h"
#include "sound/sdl_sound_output.h"
#endif

int main(int argc, char** argv) {
  using namespace quillora;
  std::unique_ptr<TApplication> application;
  try {
    application = std::make_unique<TApplication>(argc, argv);
    application->SetTitle(std::string(kApplicationTitle));
    // The toolkit has taken its own options; what is left names a melody
    // file for the desktop's "open with", or nothing.
    const std::filesystem::path melodyFile = MelodyFileArgument(argc, argv);
#ifdef QUILLORA_HAVE_SOUND_OUTPUT
    // The device opens while the window is built; without one the silent
    // output stands in.
    InstallSoundOutput(
        std::make_unique<DeferredSoundOutput>(CreateSdlSoundOutput));
#endif
    InitQuilloraResources();
    return RunMainWindow(*application, kMainWindowLayout, melodyFile);
  } catch (const std::exception& error) {
    // Shown like any other failure; the program then ends.
    if (application) {
      application->ShowException(error);
    } else {
      std::fprintf(stderr, "%s\n", ErrorBoxText(error.what()).c_str());
    }
    return kStartupFailed;
  }
}
