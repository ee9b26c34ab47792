// quillora-artgen OUTPUT_FOLDER
// quillora-artgen --icons OUTPUT_FOLDER
//
// Paints the window pictures and writes them into OUTPUT_FOLDER as 24-bit
// PNG files: skin.png, about.png, keypad_empty.png and keypad_<key>.png for
// each of the twelve keys. With --icons it writes the program's icon instead,
// as 32-bit PNG files quillora_<size>.png at the desktop's usual sizes. Ends
// with exit code 1 and a message on standard error when a font is missing, a
// lit key strays outside its cell or a file cannot be written.
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>
#include <cstdlib>

#include "art.h"

namespace quillora::artgen {

void Fail(const QString& message) {
  std::fprintf(stderr, "quillora-artgen: %s\n", qPrintable(message));
  std::exit(1);
}

namespace {

// Fontconfig quietly substitutes another family for a missing one; the
// pictures would then change from machine to machine.
void RequireFont(const QFont& font) {
  const QFontInfo info(font);
  if (info.family() != font.family() || info.bold() != font.bold()) {
    Fail(QStringLiteral("font \"%1\"%2 is not installed (got \"%3\")")
             .arg(font.family(), font.bold() ? " bold" : "", info.family()));
  }
  constexpr char32_t kCyrillicZhe = 0x0416;
  if (!QFontMetrics(font).inFontUcs4(kCyrillicZhe)) {
    Fail(QStringLiteral("font \"%1\" has no Cyrillic letters")
             .arg(font.family()));
  }
}

void RequireFonts() {
  for (const bool bold : {false, true}) {
    RequireFont(SansFont(11, bold));
    RequireFont(WideFont(11, bold));
  }
}

// The smallest rectangle holding every pixel in which the two pictures
// differ; empty when they are the same.
QRect DifferingPixels(const QImage& a, const QImage& b) {
  QRect differing;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) {
        differing |= QRect(x, y, 1, 1);
      }
    }
  }
  return differing;
}

void RequireOnlyKeyLit(const QImage& unlit, const QImage& lit,
                       const KeypadKey& key) {
  const QRect differing = DifferingPixels(unlit, lit);
  if (differing.isEmpty() || !key.cell.contains(differing)) {
    Fail(QStringLiteral("lit key %1 changes pixels outside its cell")
             .arg(key.label));
  }
}

void Write(const QImage& picture, const QDir& folder, const QString& name) {
  const QString path = folder.filePath(name);
  QImageWriter writer(path, "png");
  // Stored without compression: the program decodes the visible pictures
  // before its first paint, and inflating compressed rows was a large part
  // of that. The resource compiler compresses the embedded copies instead,
  // which is cheaper to undo.
  writer.setQuality(100);
  if (!writer.write(picture.convertToFormat(QImage::Format_RGB888))) {
    Fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
  }
}

void WriteIcons(const QDir& folder) {
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
    const QString path =
        folder.filePath(QStringLiteral("quillora_%1.png").arg(size));
    QImageWriter writer(path, "png");
    if (!writer.write(PaintIcon(size))) {
      Fail(QStringLiteral("cannot write %1: %2")
               .arg(path, writer.errorString()));
    }
  }
}

}  // namespace
}  // namespace quillora::artgen

int main(int argc, char** argv) {
  using namespace quillora::artgen;
  // Paints off screen; no display is needed.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication application(argc, argv);
  QStringList arguments = QGuiApplication::arguments();
  const bool icons =
      arguments.size() == 3 && arguments[1] == QStringLiteral("--icons");
  if (icons) arguments.removeAt(1);
  if (arguments.size() != 2) {
    Fail(QStringLiteral("usage: quillora-artgen [--icons] OUTPUT_FOLDER"));
  }
  const QDir folder(arguments[1]);
  if (!folder.mkpath(QStringLiteral("."))) {
    Fail(QStringLiteral("cannot create %1").arg(folder.path()));
  }
  RequireFonts();
  if (icons) {
    WriteIcons(folder);
    return 0;
  }

  QImage skin(layout::kSkinSize, QImage::Format_RGB32);
  QPainter painter(&skin);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  PaintBackground(painter);
  PaintPhone(painter);

  // The keypad pictures carry the phone's body behind their keys, so that
  // they blend into the skin wherever they are copied over it.
  const QImage keypad = PaintKeypad(skin.copy(layout::kKeypad));
  for (const KeypadKey& key : KeypadKeys()) {
    const QImage lit = LightKey(keypad, key);
    RequireOnlyKeyLit(keypad, lit, key);
    Write(lit, folder, QStringLiteral("keypad_%1.png").arg(key.fileStem));
  }
  Write(keypad, folder, QStringLiteral("keypad_empty.png"));

  painter.drawImage(layout::kKeypad.topLeft(), keypad);
  PaintControlPanels(painter);
  painter.end();
  Write(skin, folder, QStringLiteral("skin.png"));
  Write(PaintAboutPicture(), folder, QStringLiteral("about.png"));
  return 0;
}
