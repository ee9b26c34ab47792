// Fonts, the keypad's key table and the drawing helpers of the pictures.
#include <QFontMetrics>
#include <QLinearGradient>

#include "art.h"

namespace quillora::artgen {

namespace {

QFont MakeFont(const QString& family, int pixelSize, bool bold) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  // No fallback to other families: a missing glyph should show, not hide.
  font.setStyleStrategy(QFont::NoFontMerging);
  return font;
}

QRect KeypadCell(int row, int column) {
  const QSize size = layout::kKeypad.size();
  const int left = column * size.width() / 3;
  const int right = (column + 1) * size.width() / 3;
  const int top = row * size.height() / 4;
  const int bottom = (row + 1) * size.height() / 4;
  return QRect(left, top, right - left, bottom - top);
}

}  // namespace

QFont SansFont(int pixelSize, bool bold) {
  return MakeFont(kSansFamily, pixelSize, bold);
}

QFont WideFont(int pixelSize, bool bold) {
  return MakeFont(kWideFamily, pixelSize, bold);
}

const std::array<KeypadKey, 12>& KeypadKeys() {
  static const std::array<KeypadKey, 12> keys = {{
      {"1", "1", "", KeypadCell(0, 0)},
      {"2", "2", "ABC", KeypadCell(0, 1)},
      {"3", "3", "DEF", KeypadCell(0, 2)},
      {"4", "4", "GHI", KeypadCell(1, 0)},
      {"5", "5", "JKL", KeypadCell(1, 1)},
      {"6", "6", "MNO", KeypadCell(1, 2)},
      {"7", "7", "PQRS", KeypadCell(2, 0)},
      {"8", "8", "TUV", KeypadCell(2, 1)},
      {"9", "9", "WXYZ", KeypadCell(2, 2)},
      {"star", "*", "", KeypadCell(3, 0)},
      {"0", "0", "+", KeypadCell(3, 1)},
      {"hash", "#", "", KeypadCell(3, 2)},
  }};
  return keys;
}

QPainterPath RoundedRectPath(const QRectF& rect, qreal topRadius,
                             qreal bottomRadius) {
  const qreal top = 2 * topRadius;
  const qreal bottom = 2 * bottomRadius;
  QPainterPath path;
  path.moveTo(rect.left() + topRadius, rect.top());
  path.lineTo(rect.right() - topRadius, rect.top());
  path.arcTo(rect.right() - top, rect.top(), top, top, 90, -90);
  path.lineTo(rect.right(), rect.bottom() - bottomRadius);
  path.arcTo(rect.right() - bottom, rect.bottom() - bottom, bottom, bottom, 0,
             -90);
  path.lineTo(rect.left() + bottomRadius, rect.bottom());
  path.arcTo(rect.left(), rect.bottom() - bottom, bottom, bottom, 270, -90);
  path.lineTo(rect.left(), rect.top() + topRadius);
  path.arcTo(rect.left(), rect.top(), top, top, 180, -90);
  path.closeSubpath();
  return path;
}

void FillVertical(QPainter& painter, const QPainterPath& path,
                  const QColor& top, const QColor& bottom) {
  const QRectF bounds = path.boundingRect();
  QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  painter.fillPath(path, gradient);
}

void PaintPanel(QPainter& painter, const QRect& rect, int titleHeight,
                const QString& title) {
  const QRectF outline = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
  const QPainterPath body = RoundedRectPath(outline, 5, 5);
  painter.fillPath(body.translated(1, 1), QColor(40, 52, 74, 28));
  painter.fillPath(body, colours::kPanelFill);

  if (titleHeight > 0) {
    const QRectF titleBar(outline.left(), outline.top(), outline.width(),
                          titleHeight);
    painter.save();
    painter.setClipRect(titleBar);
    FillVertical(painter, body, colours::kTitleTop, colours::kTitleBottom);
    painter.restore();
    painter.setPen(QPen(QColor(255, 255, 255, 150), 1));
    painter.drawLine(QPointF(outline.left() + 4, outline.top() + 1),
                     QPointF(outline.right() - 4, outline.top() + 1));
    painter.setPen(QPen(colours::kPanelBorder, 1));
    painter.drawLine(QPointF(outline.left(), titleBar.bottom()),
                     QPointF(outline.right(), titleBar.bottom()));
    PaintText(
        painter,
        QRect(rect.left() + 7, rect.top(), rect.width() - 14, titleHeight),
        Qt::AlignLeft | Qt::AlignVCenter, SansFont(11), colours::kInk, title);
  }

  painter.setPen(QPen(colours::kPanelBorder, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(body);
}

void PaintButtonFace(QPainter& painter, const QRect& rect) {
  const QRectF outline = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = rect.height() > 12 ? 4 : 2.5;
  const QPainterPath face = RoundedRectPath(outline, radius, radius);
  FillVertical(painter, face, QColor(252, 253, 255), QColor(193, 205, 224));
  painter.setPen(QPen(QColor(255, 255, 255, 190), 1));
  painter.drawLine(QPointF(outline.left() + radius, outline.top() + 1),
                   QPointF(outline.right() - radius, outline.top() + 1));
  painter.setPen(QPen(colours::kInk, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(face);
}

void PaintField(QPainter& painter, const QRect& rect) {
  painter.setBrush(Qt::NoBrush);
  const QRectF frame = QRectF(rect).adjusted(-0.5, -0.5, 0.5, 0.5);
  painter.setPen(QPen(colours::kPanelBorder, 1));
  painter.drawRect(frame);
  painter.setPen(QPen(QColor(255, 255, 255), 1));
  painter.drawLine(QPointF(frame.left(), frame.bottom()),
                   QPointF(frame.right(), frame.bottom()));
  painter.fillRect(rect, colours::kField);
}

void PaintText(QPainter& painter, const QRect& rect, int alignment,
               const QFont& font, const QColor& colour, const QString& text) {
  const int width = QFontMetrics(font).horizontalAdvance(text);
  if (width > rect.width()) {
    Fail(QStringLiteral("\"%1\" is %2 pixels wide, its place only %3")
             .arg(text)
             .arg(width)
             .arg(rect.width()));
  }
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(rect, alignment, text);
}

}  // namespace quillora::artgen
