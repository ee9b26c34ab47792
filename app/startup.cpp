#include "app/startup.h"

#include <exception>
#include <memory>
#include <stdexcept>

#include "app/main_window.h"
#include "resources/resources.h"

namespace quillora {

std::filesystem::path MelodyFileArgument(int argc, const char* const* argv) {
  if (argc <= 1) return {};
  if (argc > 2) {
    throw std::invalid_argument("Usage: quillora [FILE.qlr]");
  }
  return argv[1];
}

int RunMainWindow(TApplication& application, const char* layoutPath,
                  const std::filesystem::path& melodyFile) {
  std::vector<IconPicture> icon;
  for (const EmbeddedIcon& picture : ProgramIcons()) {
    icon.push_back({picture.path, picture.size});
  }
  application.SetIcon(icon);

  std::unique_ptr<TForm1> form;
  try {
    ComponentRegistry registry;
    RegisterProgramClasses(registry);
    form = std::make_unique<TForm1>(nullptr, registry, layoutPath);
  } catch (const std::exception& error) {
    application.ShowException(error);
    return kStartupFailed;
  }
  application.SetMainForm(form.get());
  form->ShowForm();
  if (!melodyFile.empty()) {
    RunHandler([&] { form->OpenMelodyFile(melodyFile); });
  }
  const int status = application.Run();
  application.SetMainForm(nullptr);
  return status;
}

}  // namespace quillora
