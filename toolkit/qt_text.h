// Conversions between the program's byte strings and Qt's strings. The
// program's text is UTF-8; this is the only place where it meets QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quillora {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQString(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace quillora
