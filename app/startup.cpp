#include "app/startup.h"

#include <exception>
#include <memory>

#include "app/main_window.h"

namespace quillora {

int RunMainWindow(TApplication& application, const char* layoutPath) {
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
  return application.Run();
}

}  // namespace quillora
