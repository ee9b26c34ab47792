// The Zidiz handset on the left of the skin, and its keypad.
#include <QLinearGradient>
#include <QRadialGradient>

#include "art.h"

namespace quillora::artgen {

namespace {

// The handset's outline; the keypad and the display sit inside it.
const QRectF kBody(13.5, 5.5, 143, 342);
const QRectF kBezel(27.5, 85.5, 115, 85);

QPainterPath BodyPath() { return RoundedRectPath(kBody, 36, 26); }

void PaintBodyShadow(QPainter& painter) {
  const QPainterPath body = BodyPath();
  for (int step = 6; step >= 1; --step) {
    painter.fillPath(body.translated(step * 0.6, step * 0.9),
                     QColor(20, 28, 44, 12));
  }
}

void PaintBody(QPainter& painter) {
  const QPainterPath body = BodyPath();
  QLinearGradient across(kBody.topLeft(), kBody.topRight());
  across.setColorAt(0.00, QColor(30, 37, 52));
  across.setColorAt(0.12, QColor(62, 75, 100));
  across.setColorAt(0.34, QColor(88, 104, 134));
  across.setColorAt(0.70, QColor(60, 72, 96));
  across.setColorAt(1.00, QColor(28, 34, 48));
  painter.fillPath(body, across);

  // A lighter face plate, inset from the rim, catches the light from above.
  const QPainterPath face =
      RoundedRectPath(kBody.adjusted(5, 5, -5, -5), 31, 21);
  QLinearGradient down(kBody.topLeft(), kBody.bottomLeft());
  down.setColorAt(0.0, QColor(255, 255, 255, 46));
  down.setColorAt(0.45, QColor(255, 255, 255, 12));
  down.setColorAt(1.0, QColor(0, 0, 0, 30));
  painter.fillPath(face, down);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
  painter.drawPath(face);

  painter.setPen(QPen(QColor(16, 20, 30), 1));
  painter.drawPath(body);
}

void PaintSpeakerGrille(QPainter& painter) {
  const QRectF slot(60.5, 19.5, 50, 11);
  const QPainterPath path = RoundedRectPath(slot, 5.5, 5.5);
  FillVertical(painter, path, QColor(18, 22, 32), QColor(48, 58, 78));
  painter.setPen(QPen(QColor(120, 136, 166, 120), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(6, 8, 12));
  for (int row = 0; row < 2; ++row) {
    const int holes = row == 0 ? 8 : 7;
    const qreal firstX = row == 0 ? 66.5 : 69.5;
    for (int hole = 0; hole < holes; ++hole) {
      painter.drawEllipse(QPointF(firstX + hole * 5.5, 23.5 + row * 4), 1.3,
                          1.3);
    }
  }
}

void PaintBrand(QPainter& painter) {
  QFont font = SansFont(11);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
  const QRect place(30, 56, 112, 16);
  PaintText(painter, place.translated(0, 1), Qt::AlignCenter, font,
            QColor(12, 16, 26, 160), QStringLiteral("ZIDIZ"));
  PaintText(painter, place, Qt::AlignCenter, font, QColor(214, 222, 236),
            QStringLiteral("ZIDIZ"));
}

// Signal bars at the left and a battery at the right of the display's top
// row, clear of the clock and of the status line.
void PaintDisplayIcons(QPainter& painter) {
  const QColor lcdInk(34, 62, 40);
  painter.setPen(Qt::NoPen);
  painter.setBrush(lcdInk);
  for (int bar = 0; bar < 4; ++bar) {
    const int height = 3 + bar * 2;
    painter.drawRect(QRect(40 + bar * 3, 110 - height, 2, height));
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(lcdInk, 1));
  painter.drawRect(QRectF(125.5, 101.5, 5, 9));
  painter.fillRect(QRect(127, 100, 2, 1), lcdInk);
  painter.fillRect(QRect(127, 104, 3, 6), lcdInk);
}

void PaintDisplay(QPainter& painter) {
  const QPainterPath bezel = RoundedRectPath(kBezel, 9, 14);
  FillVertical(painter, bezel, QColor(22, 26, 36), QColor(40, 46, 60));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(130, 146, 176, 150), 1));
  painter.drawPath(bezel);

  const QRect lcd = layout::kDisplay;
  painter.fillRect(lcd, colours::kDisplay);
  // A recessed edge on the top and left two pixels, outside every label.
  painter.fillRect(QRect(lcd.left(), lcd.top(), lcd.width(), 1),
                   QColor(86, 124, 94));
  painter.fillRect(QRect(lcd.left(), lcd.top(), 1, lcd.height()),
                   QColor(86, 124, 94));
  painter.fillRect(QRect(lcd.left() + 1, lcd.top() + 1, lcd.width() - 1, 1),
                   QColor(106, 150, 113));
  painter.fillRect(QRect(lcd.left() + 1, lcd.top() + 1, 1, lcd.height() - 1),
                   QColor(106, 150, 113));
  PaintDisplayIcons(painter);
}

void PaintRoundKey(QPainter& painter, const QPainterPath& shape,
                   const QColor& top, const QColor& bottom) {
  FillVertical(painter, shape, top, bottom);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(12, 16, 24, 200), 1));
  painter.drawPath(shape);
}

// A telephone handset, 13 pixels wide, centred on `centre` and turned by
// `angle` degrees.
void PaintHandset(QPainter& painter, QPointF centre, qreal angle) {
  painter.save();
  painter.translate(centre);
  painter.rotate(angle);
  const QColor white(255, 255, 255, 240);
  QPainterPath grip;
  grip.moveTo(-4.5, 0.5);
  grip.quadTo(0, -4.5, 4.5, 0.5);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(white, 2.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawPath(grip);
  painter.setPen(Qt::NoPen);
  painter.setBrush(white);
  painter.drawEllipse(QPointF(-5, 1.8), 2.3, 1.7);
  painter.drawEllipse(QPointF(5, 1.8), 2.3, 1.7);
  painter.restore();
}

// Soft keys, call and end keys and the round navigation key between the
// display and the keypad.
void PaintControlKeys(QPainter& painter) {
  const QColor silverTop(236, 239, 244);
  const QColor silverBottom(160, 168, 182);
  PaintRoundKey(painter, RoundedRectPath(QRectF(30.5, 178.5, 27, 9), 4.5, 2),
                silverTop, silverBottom);
  PaintRoundKey(painter, RoundedRectPath(QRectF(113.5, 178.5, 27, 9), 4.5, 2),
                silverTop, silverBottom);

  const QPainterPath call = RoundedRectPath(QRectF(30.5, 195.5, 27, 14), 3, 7);
  PaintRoundKey(painter, call, QColor(138, 214, 142), QColor(48, 140, 66));
  const QPainterPath end = RoundedRectPath(QRectF(113.5, 195.5, 27, 14), 3, 7);
  PaintRoundKey(painter, end, QColor(240, 132, 122), QColor(178, 48, 44));
  PaintHandset(painter, QPointF(44, 203), -25);
  PaintHandset(painter, QPointF(127, 203.5), 0);

  QPainterPath ring;
  ring.addEllipse(QPointF(85.5, 192.5), 21, 14);
  QRadialGradient shine(QPointF(80, 184), 30);
  shine.setColorAt(0, QColor(246, 248, 252));
  shine.setColorAt(1, QColor(150, 160, 178));
  painter.fillPath(ring, shine);
  painter.setPen(QPen(QColor(12, 16, 24, 200), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(ring);

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(70, 84, 110));
  const QPointF centre(85.5, 192.5);
  const QPolygonF up{centre + QPointF(0, -11), centre + QPointF(-3, -7.5),
                     centre + QPointF(3, -7.5)};
  const QPolygonF down{centre + QPointF(0, 11), centre + QPointF(-3, 7.5),
                       centre + QPointF(3, 7.5)};
  const QPolygonF left{centre + QPointF(-17, 0), centre + QPointF(-13, -3),
                       centre + QPointF(-13, 3)};
  const QPolygonF right{centre + QPointF(17, 0), centre + QPointF(13, -3),
                        centre + QPointF(13, 3)};
  for (const QPolygonF& arrow : {up, down, left, right}) {
    painter.drawPolygon(arrow);
  }

  QPainterPath select;
  select.addEllipse(centre, 8, 5.5);
  FillVertical(painter, select, QColor(120, 138, 170), QColor(58, 72, 98));
  painter.setPen(QPen(QColor(12, 16, 24, 180), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(select);
}

void PaintMicrophone(QPainter& painter) {
  const QPainterPath slot = RoundedRectPath(QRectF(77.5, 334.5, 16, 4), 2, 2);
  FillVertical(painter, slot, QColor(8, 10, 16), QColor(40, 48, 64));
  painter.setPen(QPen(QColor(130, 146, 176, 110), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(slot);
}

// The key's face, centred in its cell with room around it for the glow.
QRectF KeyFace(const KeypadKey& key) {
  const QRectF cell(key.cell);
  const QPointF centre = cell.center();
  return QRectF(centre.x() - 17.5, centre.y() - 11, 35, 22);
}

// The voice-mail sign of the "1" key: two rings joined along their bottoms.
void PaintVoicemailGlyph(QPainter& painter, QPointF centre,
                         const QColor& colour) {
  painter.setPen(QPen(colour, 1.3));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(centre + QPointF(-4, 0), 2.4, 2.4);
  painter.drawEllipse(centre + QPointF(4, 0), 2.4, 2.4);
  painter.drawLine(centre + QPointF(-4, 2.4), centre + QPointF(4, 2.4));
}

struct KeyLook {
  QColor top;
  QColor bottom;
  QColor outline;
  QColor label;
  QColor letters;
};

void PaintKey(QPainter& painter, const KeypadKey& key, const KeyLook& look) {
  const QRectF face = KeyFace(key);
  const QPainterPath shape = RoundedRectPath(face, 9, 9);
  painter.fillPath(shape.translated(0, 1), QColor(0, 0, 0, 70));
  FillVertical(painter, shape, look.top, look.bottom);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(255, 255, 255, 110), 1));
  painter.drawLine(QPointF(face.left() + 8, face.top() + 1.5),
                   QPointF(face.right() - 8, face.top() + 1.5));
  painter.setPen(QPen(look.outline, 1));
  painter.drawPath(shape);

  const QRect box = face.toAlignedRect();
  if (key.label == "*" || key.label == "#") {
    const bool star = key.label == "*";
    // The asterisk sits high in its font; lower it to the key's middle.
    PaintText(painter, box.translated(0, star ? 3 : 0), Qt::AlignCenter,
              WideFont(star ? 17 : 13), look.label, key.label);
    return;
  }
  const QRect digit(box.left() + 2, box.top(), 11, box.height());
  PaintText(painter, digit, Qt::AlignCenter, SansFont(14), look.label,
            key.label);
  const QRect beside(box.left() + 13, box.top(), box.width() - 14,
                     box.height());
  if (key.letters.isEmpty()) {
    PaintVoicemailGlyph(painter, QRectF(beside).center(), look.letters);
    return;
  }
  const int letterSize = key.letters.size() > 1 ? 7 : 10;
  PaintText(painter, beside, Qt::AlignCenter, SansFont(letterSize),
            look.letters, key.letters);
}

const KeyLook kUnlitKey{QColor(248, 249, 252), QColor(178, 186, 200),
                        QColor(18, 22, 32), QColor(36, 46, 66),
                        QColor(82, 96, 122)};
const KeyLook kLitKey{QColor(255, 236, 160), QColor(250, 166, 40),
                      QColor(150, 84, 10), QColor(70, 36, 0),
                      QColor(120, 64, 8)};

}  // namespace

void PaintPhone(QPainter& painter) {
  PaintBodyShadow(painter);
  PaintBody(painter);
  PaintSpeakerGrille(painter);
  PaintBrand(painter);
  PaintDisplay(painter);
  PaintControlKeys(painter);
  PaintMicrophone(painter);
}

QImage PaintKeypad(const QImage& background) {
  QImage keypad = background.copy();
  QPainter painter(&keypad);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  for (const KeypadKey& key : KeypadKeys()) {
    PaintKey(painter, key, kUnlitKey);
  }
  return keypad;
}

QImage LightKey(const QImage& unlit, const KeypadKey& key) {
  QImage lit = unlit.copy();
  QPainter painter(&lit);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setClipRect(key.cell);
  // The backlight glows around the key, within its cell.
  const QRectF face = KeyFace(key);
  for (int ring = 2; ring >= 1; --ring) {
    painter.fillPath(RoundedRectPath(face.adjusted(-ring, -ring, ring, ring),
                                     9 + ring, 9 + ring),
                     QColor(255, 190, 60, 85));
  }
  PaintKey(painter, key, kLitKey);
  return lit;
}

}  // namespace quillora::artgen
