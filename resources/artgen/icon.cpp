// The program's icon: the handset of the skin, keypad included, alone on a
// transparent square.
#include <algorithm>

#include "art.h"

namespace quillora::artgen {

namespace {

// The handset with its shadow, as it lies on the skin.
constexpr QRect kHandset{12, 4, 152, 349};

}  // namespace

QImage PaintIcon(int size) {
  QImage phone(layout::kSkinSize, QImage::Format_ARGB32_Premultiplied);
  phone.fill(Qt::transparent);
  {
    QPainter painter(&phone);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintPhone(painter);
    painter.drawImage(layout::kKeypad.topLeft(),
                      PaintKeypad(phone.copy(layout::kKeypad)));
  }
  // Scaled in one smooth step from the full-size painting, so that the
  // small sizes keep the display and keys as blurs of the right colour
  // rather than losing them.
  const int height = size - 2 * std::max(1, size / 32);
  const QImage handset =
      phone.copy(kHandset).scaledToHeight(height, Qt::SmoothTransformation);

  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.drawImage(
      QPoint((size - handset.width()) / 2, (size - handset.height()) / 2),
      handset);
  painter.end();
  return icon.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace quillora::artgen
