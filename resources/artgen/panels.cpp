// The right-hand side of the skin: title banner, panels, fields, labels and
// button faces, each under the control that works it.
#include <QLinearGradient>

#include "art.h"

namespace quillora::artgen {

namespace {

using namespace layout;

// Panels line up on two columns: the notation panel beside the file and
// preview panels, and the full-width panels below.
const QRect kBanner(181, 4, 438, 36);
const QRect kNotationPanel(181, 62, 334, 115);
const QRect kFilePanel(519, 62, 100, 59);
const QRect kPreviewPanel(519, 125, 100, 52);
const QRect kKeyListPanel(181, 181, 438, 115);
const QRect kGuidePanel(181, 299, 219, 41);
const QRect kOptionsPanel(403, 299, 216, 41);
constexpr int kTitleHeight = 17;

const QColor kGlyph = colours::kInk;

void PaintStaffOrnament(QPainter& painter) {
  painter.setPen(QPen(QColor(255, 255, 255, 45), 1));
  for (int line = 0; line < 5; ++line) {
    const qreal y = 12.5 + line * 4;
    painter.drawLine(QPointF(452, y), QPointF(612, y));
  }
  // A short phrase of quarter and eighth notes on the staff.
  struct Note {
    qreal x;
    qreal y;
  };
  const Note notes[] = {{472, 28.5}, {492, 24.5}, {512, 20.5},
                        {532, 26.5}, {552, 18.5}, {572, 22.5}};
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 120));
  for (const Note& note : notes) {
    painter.save();
    painter.translate(note.x, note.y);
    painter.rotate(-20);
    painter.drawEllipse(QPointF(0, 0), 3.2, 2.2);
    painter.restore();
  }
  painter.setPen(QPen(QColor(255, 255, 255, 120), 1.1));
  for (const Note& note : notes) {
    painter.drawLine(QPointF(note.x + 2.8, note.y - 0.5),
                     QPointF(note.x + 2.8, note.y - 12));
  }
  // Beam the last two into a pair of eighths.
  painter.setPen(QPen(QColor(255, 255, 255, 120), 2));
  painter.drawLine(QPointF(554.8, 6.5), QPointF(574.8, 10.5));
}

void PaintBanner(QPainter& painter) {
  const QPainterPath banner = RoundedRectPath(QRectF(kBanner), 7, 7);
  painter.fillPath(banner.translated(1, 1), QColor(20, 28, 44, 40));
  QLinearGradient across(kBanner.topLeft(), kBanner.topRight());
  across.setColorAt(0, colours::kInkDark);
  across.setColorAt(0.55, colours::kInk);
  across.setColorAt(1, QColor(104, 126, 162));
  painter.fillPath(banner, across);
  QLinearGradient gloss(kBanner.topLeft(), kBanner.bottomLeft());
  gloss.setColorAt(0, QColor(255, 255, 255, 50));
  gloss.setColorAt(0.5, QColor(255, 255, 255, 8));
  gloss.setColorAt(1, QColor(0, 0, 0, 20));
  painter.fillPath(banner, gloss);
  PaintStaffOrnament(painter);

  const QRect name(kBanner.left() + 12, kBanner.top(), 120, kBanner.height());
  PaintText(painter, name.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter,
            WideFont(23), QColor(10, 16, 30, 120), QStringLiteral("Quillora"));
  PaintText(painter, name, Qt::AlignLeft | Qt::AlignVCenter, WideFont(23),
            QColor(255, 255, 255), QStringLiteral("Quillora"));
  QFont edition = SansFont(10);
  edition.setLetterSpacing(QFont::AbsoluteSpacing, 2);
  PaintText(painter, QRect(kBanner.left() + 136, kBanner.top() + 15, 120, 14),
            Qt::AlignLeft | Qt::AlignVCenter, edition, QColor(196, 212, 238),
            QStringLiteral("ZIDIZ EDITION"));
}

void PaintLabelBefore(QPainter& painter, const QRect& control, int width,
                      const QString& text) {
  const QRect place(control.left() - 3 - width, control.top() - 3, width,
                    control.height() + 6);
  PaintText(painter, place, Qt::AlignRight | Qt::AlignVCenter, SansFont(11),
            colours::kInk, text);
}

void PaintCaptionedFace(QPainter& painter, const QRect& rect,
                        const QString& caption, int fontSize = 9) {
  PaintButtonFace(painter, rect);
  PaintText(painter, rect, Qt::AlignCenter, SansFont(fontSize), colours::kInk,
            caption);
}

void PaintWindowButtons(QPainter& painter) {
  PaintCaptionedFace(painter, kAboutButton, QStringLiteral("About"));
  PaintCaptionedFace(painter, kHelpButton, QStringLiteral("?"));

  PaintButtonFace(painter, kMinimiseButton);
  const QRectF minimise(kMinimiseButton);
  painter.fillRect(QRectF(minimise.left() + 3, minimise.bottom() - 4.5, 6, 2),
                   kGlyph);

  PaintButtonFace(painter, kCloseButton);
  const QPointF centre = QRectF(kCloseButton).center();
  painter.setPen(QPen(kGlyph, 1.4, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(centre + QPointF(-2.2, -2.2), centre + QPointF(2.2, 2.2));
  painter.drawLine(centre + QPointF(-2.2, 2.2), centre + QPointF(2.2, -2.2));
}

void PaintTopRow(QPainter& painter) {
  PaintLabelBefore(painter, kMelodyName, 82, QStringLiteral("Melody name:"));
  PaintField(painter, kMelodyName);
  PaintWindowButtons(painter);
}

void PaintNotationPanel(QPainter& painter) {
  PaintPanel(painter, kNotationPanel, kTitleHeight,
             QStringLiteral("Musical notation:"));
  PaintLabelBefore(painter, kTempo, 40, QStringLiteral("Temp:"));
  PaintField(painter, kTempo);
  PaintLabelBefore(painter, kNoteCount, 44, QStringLiteral("Notes:"));
  PaintField(painter, kNoteCount);
  PaintField(painter, kNotation);
}

// An open folder, 18 x 13, with its top left at `origin`.
void PaintFolderIcon(QPainter& painter, QPointF origin) {
  QPainterPath back;
  back.moveTo(origin + QPointF(0.5, 2.5));
  back.lineTo(origin + QPointF(6.5, 2.5));
  back.lineTo(origin + QPointF(8, 0.5));
  back.lineTo(origin + QPointF(15.5, 0.5));
  back.lineTo(origin + QPointF(15.5, 12.5));
  back.lineTo(origin + QPointF(0.5, 12.5));
  back.closeSubpath();
  FillVertical(painter, back, QColor(236, 190, 84), QColor(200, 142, 40));
  painter.setPen(QPen(QColor(136, 90, 18), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(back);

  QPainterPath front;
  front.moveTo(origin + QPointF(3, 5.5));
  front.lineTo(origin + QPointF(18, 5.5));
  front.lineTo(origin + QPointF(15.5, 12.5));
  front.lineTo(origin + QPointF(0.5, 12.5));
  front.closeSubpath();
  FillVertical(painter, front, QColor(255, 226, 140), QColor(238, 180, 64));
  painter.drawPath(front);
}

// A diskette, 14 x 14, with its top left at `origin`.
void PaintDiskIcon(QPainter& painter, QPointF origin) {
  QPainterPath body;
  body.moveTo(origin + QPointF(0.5, 0.5));
  body.lineTo(origin + QPointF(11.5, 0.5));
  body.lineTo(origin + QPointF(13.5, 2.5));
  body.lineTo(origin + QPointF(13.5, 13.5));
  body.lineTo(origin + QPointF(0.5, 13.5));
  body.closeSubpath();
  FillVertical(painter, body, QColor(96, 124, 172), QColor(50, 70, 110));
  painter.setPen(QPen(QColor(28, 40, 66), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(body);
  painter.fillRect(QRectF(origin + QPointF(3, 1), QSizeF(7, 4)),
                   QColor(214, 222, 234));
  painter.fillRect(QRectF(origin + QPointF(7, 1.5), QSizeF(2, 3)),
                   QColor(50, 70, 110));
  painter.fillRect(QRectF(origin + QPointF(2.5, 7.5), QSizeF(9, 5.5)),
                   QColor(248, 250, 253));
  painter.setPen(QPen(QColor(150, 164, 190), 0.8));
  painter.drawLine(origin + QPointF(4, 9.5), origin + QPointF(10, 9.5));
  painter.drawLine(origin + QPointF(4, 11.3), origin + QPointF(10, 11.3));
}

void PaintFilePanel(QPainter& painter) {
  PaintPanel(painter, kFilePanel, kTitleHeight, QStringLiteral("File:"));
  const QRect captionPlace(0, 17, 33, 12);

  PaintButtonFace(painter, kOpenButton);
  PaintFolderIcon(painter,
                  QPointF(kOpenButton.left() + 7.5, kOpenButton.top() + 3));
  PaintText(painter, captionPlace.translated(kOpenButton.topLeft()),
            Qt::AlignCenter, SansFont(8), colours::kInk,
            QStringLiteral("Open..."));

  PaintButtonFace(painter, kSaveButton);
  PaintDiskIcon(painter,
                QPointF(kSaveButton.left() + 9.5, kSaveButton.top() + 3));
  PaintText(painter, captionPlace.translated(kSaveButton.topLeft()),
            Qt::AlignCenter, SansFont(8), colours::kInk,
            QStringLiteral("Save..."));
}

enum class Glyph { kPlay, kPause, kStop };

// A glyph, 7 pixels high, with its centre at `centre`.
void PaintGlyph(QPainter& painter, Glyph glyph, QPointF centre) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(kGlyph);
  switch (glyph) {
    case Glyph::kPlay:
      painter.drawPolygon(QPolygonF{centre + QPointF(-3, -4),
                                    centre + QPointF(4, 0),
                                    centre + QPointF(-3, 4)});
      break;
    case Glyph::kPause:
      painter.drawRect(QRectF(centre + QPointF(-3.5, -3.5), QSizeF(2.5, 7)));
      painter.drawRect(QRectF(centre + QPointF(1, -3.5), QSizeF(2.5, 7)));
      break;
    case Glyph::kStop:
      painter.drawRect(QRectF(centre + QPointF(-3.5, -3.5), QSizeF(7, 7)));
      break;
  }
}

// A face with a glyph before its caption, the two centred together.
void PaintGlyphFace(QPainter& painter, const QRect& rect, Glyph glyph,
                    const QString& caption) {
  PaintButtonFace(painter, rect);
  const QFont font = SansFont(9);
  const int textWidth = QFontMetrics(font).horizontalAdvance(caption);
  constexpr int kGlyphWidth = 8;
  constexpr int kGap = 3;
  const int left =
      rect.left() + (rect.width() - kGlyphWidth - kGap - textWidth) / 2;
  PaintGlyph(
      painter, glyph,
      QPointF(left + kGlyphWidth / 2.0, rect.top() + rect.height() / 2.0));
  PaintText(painter,
            QRect(left + kGlyphWidth + kGap, rect.top(), textWidth + 1,
                  rect.height()),
            Qt::AlignLeft | Qt::AlignVCenter, font, colours::kInk, caption);
}

void PaintPreviewPanel(QPainter& painter) {
  PaintPanel(painter, kPreviewPanel, kTitleHeight, QStringLiteral("Preview:"));
  PaintGlyphFace(painter, kPlayButton, Glyph::kPlay, QStringLiteral("PLAY"));
  PaintGlyphFace(painter, kStopPlayButton, Glyph::kStop,
                 QStringLiteral("STOP"));
}

void PaintKeyListPanel(QPainter& painter) {
  PaintPanel(painter, kKeyListPanel, kTitleHeight,
             QStringLiteral("Order pressing buttons:"));
  PaintField(painter, kKeyList);
}

void PaintGuidePanel(QPainter& painter) {
  PaintPanel(painter, kGuidePanel, 16,
             QStringLiteral("Manual collecting guide:"));
  PaintGlyphFace(painter, kStartButton, Glyph::kPlay, QStringLiteral("START"));
  PaintGlyphFace(painter, kPauseButton, Glyph::kPause, QStringLiteral("PAUSE"));
  PaintGlyphFace(painter, kStopEntryButton, Glyph::kStop,
                 QStringLiteral("STOP"));
}

void PaintOptionsPanel(QPainter& painter) {
  PaintPanel(painter, kOptionsPanel, 0, QString());
  const QFont font = SansFont(10);
  const QRect secondsRow(kOptionsPanel.left() + 4, kSecondsPerKey.top() - 3,
                         kSecondsPerKey.left() - 3 - kOptionsPanel.left() - 4,
                         kSecondsPerKey.height() + 6);
  PaintText(painter, secondsRow, Qt::AlignRight | Qt::AlignVCenter, font,
            colours::kInk, QStringLiteral("Duration of viewing simbols:"));
  PaintField(painter, kSecondsPerKey);
  PaintText(painter,
            QRect(kSecondsPerKey.right() + 4, secondsRow.top(), 28,
                  secondsRow.height()),
            Qt::AlignLeft | Qt::AlignVCenter, font, colours::kInk,
            QStringLiteral("sec."));

  const QRect soundRow(secondsRow.left(), kSoundCheck.top(),
                       kSoundCheck.left() - 3 - secondsRow.left(),
                       kSoundCheck.height());
  PaintText(painter, soundRow, Qt::AlignRight | Qt::AlignVCenter, font,
            colours::kInk, QStringLiteral("Enable sound:"));
  // The check box paints its own box; a soft well keeps its place visible.
  const QRectF well = QRectF(kSoundCheck).adjusted(-0.5, -0.5, 0.5, 0.5);
  painter.setPen(QPen(colours::kPanelBorder, 1));
  painter.setBrush(colours::kCheck);
  painter.drawRoundedRect(well, 2, 2);
}

}  // namespace

void PaintBackground(QPainter& painter) {
  const QRect all(QPoint(0, 0), kSkinSize);
  QLinearGradient down(all.topLeft(), all.bottomLeft());
  down.setColorAt(0, colours::kBackgroundTop);
  down.setColorAt(1, colours::kBackgroundBottom);
  painter.fillRect(all, down);
  painter.setPen(QPen(colours::kInk, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(all).adjusted(0.5, 0.5, -0.5, -0.5));
}

void PaintControlPanels(QPainter& painter) {
  PaintBanner(painter);
  PaintTopRow(painter);
  PaintNotationPanel(painter);
  PaintFilePanel(painter);
  PaintPreviewPanel(painter);
  PaintKeyListPanel(painter);
  PaintGuidePanel(painter);
  PaintOptionsPanel(painter);
}

}  // namespace quillora::artgen
