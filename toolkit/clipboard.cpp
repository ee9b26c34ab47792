#include "toolkit/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "toolkit/qt_text.h"

namespace quillora {

std::string ClipboardText() {
  return FromQString(QGuiApplication::clipboard()->text());
}

void SetClipboardText(std::string_view text) {
  QGuiApplication::clipboard()->setText(ToQString(text));
}

}  // namespace quillora
