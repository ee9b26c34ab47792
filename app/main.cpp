// Start-up: the application, its title, the main window, the message loop.
#include <cstdio>
#include <exception>
#include <memory>

#include "app/main_window.h"
#include "resources/resources.h"
#include "toolkit/application.h"
#ifdef QUILLORA_HAVE_SOUND_OUTPUT
#include "sound/sdl_sound_output.h"
#endif

int main(int argc, char** argv) {
  using namespace quillora;
  std::unique_ptr<TApplication> application;
  try {
    application = std::make_unique<TApplication>(argc, argv);
    application->SetTitle(std::string(kApplicationTitle));
#ifdef QUILLORA_HAVE_SOUND_OUTPUT
    // Without a sound device the silent output stands in.
    InstallSoundOutput(CreateSdlSoundOutput());
#endif
    InitQuilloraResources();
    ComponentRegistry registry;
    RegisterProgramClasses(registry);
    TForm1 form(nullptr, registry);
    application->SetMainForm(&form);
    form.ShowForm();
    return application->Run();
  } catch (const std::exception& error) {
    // Shown like any other failure; the program then ends normally.
    if (application) {
      application->ShowException(error);
    } else {
      std::fprintf(stderr, "%s\n", ErrorBoxText(error.what()).c_str());
    }
    return 0;
  }
}
