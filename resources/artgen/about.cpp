// The about window's face: the product's name up the left edge, the three
// links each with its button face, and the OK face.
#include <QLinearGradient>

#include "art.h"

namespace quillora::artgen {

namespace {

using namespace layout;

const QRect kNameBand(0, 0, 66, 250);
const QRect kLinksPanel(80, 48, 310, 92);

void PaintNameBand(QPainter& painter) {
  QLinearGradient across(kNameBand.topLeft(), kNameBand.topRight());
  across.setColorAt(0, colours::kInkDark);
  across.setColorAt(1, QColor(92, 114, 150));
  painter.fillRect(kNameBand, across);
  painter.fillRect(QRect(kNameBand.right() + 1, 0, 1, kNameBand.height()),
                   QColor(255, 255, 255, 160));

  // Written upwards, from the bottom of the band to its top.
  painter.save();
  painter.translate(0, kNameBand.height());
  painter.rotate(-90);
  QFont name = WideFont(30);
  name.setLetterSpacing(QFont::AbsoluteSpacing, 4);
  const QRect along(12, 6, kNameBand.height() - 24, 40);
  PaintText(painter, along.translated(1, 1), Qt::AlignCenter, name,
            QColor(8, 14, 28, 120), QStringLiteral("QUILLORA"));
  PaintText(painter, along, Qt::AlignCenter, name, QColor(255, 255, 255),
            QStringLiteral("QUILLORA"));
  QFont edition = SansFont(10);
  edition.setLetterSpacing(QFont::AbsoluteSpacing, 3);
  PaintText(painter, QRect(12, 44, kNameBand.height() - 24, 14),
            Qt::AlignCenter, edition, QColor(196, 212, 238),
            QStringLiteral("ZIDIZ EDITION"));
  painter.restore();
}

void PaintLink(QPainter& painter, const QRect& button, const QString& offer,
               const QString& caption) {
  PaintText(painter,
            QRect(kLinksPanel.left() + 8, button.top(),
                  button.left() - kLinksPanel.left() - 14, button.height()),
            Qt::AlignLeft | Qt::AlignVCenter, SansFont(11), colours::kInk,
            offer);
  PaintButtonFace(painter, button);
  PaintText(painter, button, Qt::AlignCenter, SansFont(10), colours::kInk,
            caption);
}

void PaintStaff(QPainter& painter) {
  const QColor line(64, 81, 110, 70);
  painter.setPen(QPen(line, 1));
  for (int row = 0; row < 5; ++row) {
    const qreal y = 166.5 + row * 5;
    painter.drawLine(QPointF(86, y), QPointF(384, y));
  }
  const qreal heads[][2] = {{110, 186.5}, {140, 181.5}, {170, 176.5},
                            {200, 184},   {230, 171.5}, {260, 179},
                            {290, 174},   {320, 181.5}, {350, 169}};
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(64, 81, 110, 110));
  for (const auto& head : heads) {
    painter.save();
    painter.translate(head[0], head[1]);
    painter.rotate(-20);
    painter.drawEllipse(QPointF(0, 0), 3.8, 2.6);
    painter.restore();
  }
  painter.setPen(QPen(QColor(64, 81, 110, 110), 1.2));
  for (const auto& head : heads) {
    painter.drawLine(QPointF(head[0] + 3.4, head[1] - 0.5),
                     QPointF(head[0] + 3.4, head[1] - 15));
  }
}

}  // namespace

QImage PaintAboutPicture() {
  QImage about(kAboutSize, QImage::Format_RGB32);
  QPainter painter(&about);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  const QRect all(QPoint(0, 0), kAboutSize);
  QLinearGradient down(all.topLeft(), all.bottomLeft());
  down.setColorAt(0, colours::kBackgroundTop);
  down.setColorAt(1, colours::kBackgroundBottom);
  painter.fillRect(all, down);
  PaintNameBand(painter);
  // A rule under the title and version, which the window writes itself.
  painter.fillRect(QRect(kAboutTitle.left(), kAboutTitle.bottom() + 4,
                         kAboutTitle.width(), 1),
                   colours::kPanelBorder);

  PaintPanel(painter, kLinksPanel, 17, QStringLiteral("Quillora on the web"));
  PaintLink(painter, kAboutWeb, QStringLiteral("New versions of the program"),
            QStringLiteral("Web site"));
  PaintLink(painter, kAboutMail, QStringLiteral("Help and questions by e-mail"),
            QStringLiteral("E-mail"));
  PaintLink(painter, kAboutMelodies,
            QStringLiteral("More melodies for your phone"),
            QStringLiteral("Melodies"));

  PaintStaff(painter);
  PaintText(painter, QRect(86, 205, 210, 18), Qt::AlignLeft | Qt::AlignVCenter,
            SansFont(10, false), colours::kInk,
            QStringLiteral("Ringtones for Zidiz phones, key by key."));
  PaintButtonFace(painter, kAboutOk);
  PaintText(painter, kAboutOk, Qt::AlignCenter, SansFont(10), colours::kInk,
            QStringLiteral("OK"));

  painter.setPen(QPen(colours::kInk, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(all).adjusted(0.5, 0.5, -0.5, -0.5));
  return about;
}

}  // namespace quillora::artgen
