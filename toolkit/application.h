// The window toolkit over Qt 6 Widgets.
//
// Data flow: main() creates one TApplication, which owns the Qt application
// object. Windows (TForm and its controls) are created from stored layouts
// (component.h); every control turns its Qt signals into the program's
// events, and every event handler runs through RunHandler, so that an
// exception escaping a handler reaches the standard error box and the
// program goes on. Timers tick on the window thread.
#pragma once

#include <QApplication>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillora {

class TForm;

// The text the error box shows for an exception's message: the message with
// a full stop appended when its last character comes after '.' in code
// order (so after a letter or a digit, not after '!' or ',').
std::string ErrorBoxText(const std::string& message);

// One picture of the application's icon: a square image file `size` pixels
// wide.
struct IconPicture {
  std::string path;
  int size = 0;
};

class TApplication {
 public:
  // Shows an error: caption, text. The default is a modal message box with
  // the error icon; tests install a recorder.
  using ErrorBox =
      std::function<void(const std::string& caption, const std::string& text)>;

  TApplication(int& argc, char** argv);
  ~TApplication();

  // The one application object, once constructed.
  static TApplication& Instance();

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

  // The icon of every window of the program, which taskbars and window
  // switchers show: the pictures at their sizes, each read only when a size
  // near it is first drawn, so that setting it costs the start-up nothing.
  void SetIcon(const std::vector<IconPicture>& pictures);

  // The window whose closing ends the program; the first form shown if none
  // is set.
  void SetMainForm(TForm* form) { mainForm_ = form; }
  TForm* MainForm() const { return mainForm_; }

  // Runs the message loop until Terminate; returns the exit code, 0.
  int Run();
  void Terminate();
  void Minimize();

  // Shows the standard error box for `error`, titled with the application's
  // title.
  void ShowException(const std::exception& error);
  void ShowErrorMessage(const std::string& message);
  void SetErrorBox(ErrorBox box) { errorBox_ = std::move(box); }

 private:
  class GuardedApplication;
  std::unique_ptr<GuardedApplication> qt_;
  std::string title_;
  TForm* mainForm_ = nullptr;
  ErrorBox errorBox_;
};

// Runs an event handler; an exception that escapes it is shown in the
// application's error box, and the caller goes on.
void RunHandler(const std::function<void()>& handler);

// The folder that holds the running executable, from its real path.
std::filesystem::path ExecutableFolder();

// Maps the font names that layouts use to free fonts with the same metrics
// and Cyrillic letters. Called by TApplication; exposed for tests.
void InstallFontSubstitutes();

}  // namespace quillora
