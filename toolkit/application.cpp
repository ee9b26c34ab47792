#include "toolkit/application.h"

#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <QWidget>
#include <stdexcept>

#include "toolkit/form.h"
#include "toolkit/qt_text.h"

namespace quillora {
namespace {

TApplication* instance = nullptr;

}  // namespace

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
    return message + ".";
  }
  return message;
}

// Qt must not see exceptions leave an event handler: any that gets this far
// is shown like one from a handler of ours.
class TApplication::GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      TApplication::Instance().ShowException(error);
    } catch (...) {
      TApplication::Instance().ShowErrorMessage("Unknown error");
    }
    return false;
  }
};

TApplication::TApplication(int& argc, char** argv) {
  if (instance) throw std::logic_error("a second TApplication");
  qt_ = std::make_unique<GuardedApplication>(argc, argv);
  instance = this;
  InstallFontSubstitutes();
  QApplication::setFont(QFont("MS Sans Serif"));
  errorBox_ = [](const std::string& caption, const std::string& text) {
    QMessageBox::critical(nullptr, ToQString(caption), ToQString(text));
  };
}

TApplication::~TApplication() { instance = nullptr; }

TApplication& TApplication::Instance() {
  if (!instance) throw std::logic_error("no TApplication");
  return *instance;
}

void TApplication::SetTitle(std::string title) {
  title_ = std::move(title);
  QApplication::setApplicationDisplayName(ToQString(title_));
}

void TApplication::SetIcon(const std::vector<IconPicture>& pictures) {
  QIcon icon;
  for (const IconPicture& picture : pictures) {
    icon.addFile(ToQString(picture.path), QSize(picture.size, picture.size));
  }
  QApplication::setWindowIcon(icon);
}

int TApplication::Run() {
  QApplication::exec();
  return 0;
}

void TApplication::Terminate() { QApplication::quit(); }

void TApplication::Minimize() {
  if (mainForm_) mainForm_->Widget()->showMinimized();
}

void TApplication::ShowException(const std::exception& error) {
  ShowErrorMessage(error.what());
}

void TApplication::ShowErrorMessage(const std::string& message) {
  if (errorBox_) errorBox_(title_, ErrorBoxText(message));
}

void RunHandler(const std::function<void()>& handler) {
  if (!handler) return;
  try {
    handler();
  } catch (const std::exception& error) {
    TApplication::Instance().ShowException(error);
  }
}

std::filesystem::path ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path exe =
      std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path();
  return exe.parent_path();
}

void InstallFontSubstitutes() {
  // Metric-compatible free fonts, all with Cyrillic letters.
  QFont::insertSubstitutions("MS Sans Serif",
                             {"Liberation Sans", "DejaVu Sans"});
  QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans"});
  QFont::insertSubstitutions("Verdana", {"DejaVu Sans", "Liberation Sans"});
  QFont::insertSubstitutions("Small Fonts", {"Liberation Sans", "DejaVu Sans"});
}

}  // namespace quillora
