#include "toolkit/message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "toolkit/qt_text.h"

namespace quillora {
namespace {

MessageBoxResponder& Responder() {
  static MessageBoxResponder responder;
  return responder;
}

}  // namespace

void ShowMessageBox(const std::string& caption, const std::string& text) {
  if (Responder()) {
    Responder()(caption, text);
    return;
  }
  QMessageBox box(QMessageBox::Information, ToQString(caption), ToQString(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

void SetMessageBoxResponder(MessageBoxResponder responder) {
  Responder() = std::move(responder);
}

}  // namespace quillora
