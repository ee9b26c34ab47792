// The window artwork, painted from code: the skin of the main window, the
// phone's keypad with each of its keys lit, and the about window's face.
//
// Every picture is painted on a QImage with QPainter and depends on nothing
// but this code and the two font families below, so that the same build
// machine always produces the same bytes. The rectangles in `layout` are the
// places of the window's controls; the painted faces, fields and labels sit
// exactly under them.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <array>

namespace quillora::artgen {

// Fonts: free metric-compatible stand-ins for the window's Arial, MS Sans
// Serif and Verdana. main() checks that both are installed before painting.
inline const QString kSansFamily = QStringLiteral("Liberation Sans");
inline const QString kWideFamily = QStringLiteral("DejaVu Sans");

QFont SansFont(int pixelSize, bool bold = true);
QFont WideFont(int pixelSize, bool bold = true);

namespace colours {
// The window's own colours, shared with its controls.
inline const QColor kInk{64, 81, 110};
inline const QColor kField{217, 224, 236};
inline const QColor kCheck{160, 179, 207};
inline const QColor kDisplay{123, 169, 130};
// Colours of the artwork only.
inline const QColor kInkDark{40, 52, 74};
inline const QColor kBackgroundTop{232, 236, 243};
inline const QColor kBackgroundBottom{213, 220, 231};
inline const QColor kPanelFill{245, 247, 251};
inline const QColor kPanelBorder{146, 162, 190};
inline const QColor kTitleTop{198, 210, 229};
inline const QColor kTitleBottom{168, 185, 211};
}  // namespace colours

namespace layout {
inline constexpr QSize kSkinSize{635, 353};
inline constexpr QSize kAboutSize{400, 250};

// Main window controls painted over.
inline constexpr QRect kKeypad{25, 220, 121, 106};          // Image2
inline constexpr QRect kMelodyName{265, 46, 250, 13};       // Edit1
inline constexpr QRect kAboutButton{522, 46, 49, 12};       // SpeedButton11
inline constexpr QRect kHelpButton{575, 46, 12, 12};        // SpeedButton10
inline constexpr QRect kMinimiseButton{591, 46, 12, 12};    // SpeedButton4
inline constexpr QRect kCloseButton{607, 46, 12, 12};       // SpeedButton3
inline constexpr QRect kNotation{184, 80, 328, 93};         // Memo1
inline constexpr QRect kTempo{364, 66, 37, 11};             // Edit3
inline constexpr QRect kNoteCount{477, 65, 34, 12};         // Label2
inline constexpr QRect kOpenButton{527, 82, 33, 30};        // SpeedButton5
inline constexpr QRect kSaveButton{577, 82, 33, 30};        // SpeedButton6
inline constexpr QRect kPlayButton{524, 152, 42, 18};       // SpeedButton1
inline constexpr QRect kStopPlayButton{572, 152, 42, 18};   // SpeedButton2
inline constexpr QRect kKeyList{185, 199, 430, 94};         // Memo2
inline constexpr QRect kStartButton{185, 317, 67, 18};      // SpeedButton7
inline constexpr QRect kPauseButton{257, 317, 67, 18};      // SpeedButton9
inline constexpr QRect kStopEntryButton{329, 317, 67, 18};  // SpeedButton8
inline constexpr QRect kSecondsPerKey{565, 306, 21, 10};    // Edit2
inline constexpr QRect kSoundCheck{564, 320, 12, 13};       // CheckBox1

// The green display of the phone. The window writes the clock (94,101
// 28x11), the status line (41,118 85x24), the progress bar (39,143 89x5)
// and the time left (39,149 90x11) on it, so it stays plain there.
inline constexpr QRect kDisplay{36, 96, 98, 67};

// About window controls.
inline constexpr QRect kAboutTitle{90, 1, 307, 31};       // Label3
inline constexpr QRect kAboutOk{310, 205, 67, 18};        // SpeedButton1
inline constexpr QRect kAboutWeb{310, 71, 67, 17};        // SpeedButton2
inline constexpr QRect kAboutMail{310, 92, 67, 18};       // SpeedButton3
inline constexpr QRect kAboutMelodies{310, 114, 67, 18};  // SpeedButton4
}  // namespace layout

// One key of the phone's keypad: 4 rows of 3 in the order 1 2 3 / 4 5 6 /
// 7 8 9 / * 0 #. `cell` is the key's share of the 121 x 106 keypad picture
// (the picture split into 3 equal columns and 4 equal rows); lighting a key
// changes pixels inside its cell only.
struct KeypadKey {
  QString fileStem;  // keypad_<stem>.png
  QString label;     // the digit or sign printed on the key
  QString letters;   // the letters printed beside it, may be empty
  QRect cell;
};
const std::array<KeypadKey, 12>& KeypadKeys();

// Reports a fault on standard error and ends the program with exit code 1.
[[noreturn]] void Fail(const QString& message);

// Painting helpers shared by the pictures.
QPainterPath RoundedRectPath(const QRectF& rect, qreal topRadius,
                             qreal bottomRadius);
void FillVertical(QPainter& painter, const QPainterPath& path,
                  const QColor& top, const QColor& bottom);
// A panel with a title bar of `titleHeight` pixels carrying `title`.
void PaintPanel(QPainter& painter, const QRect& rect, int titleHeight,
                const QString& title);
// A raised button face filling exactly `rect`.
void PaintButtonFace(QPainter& painter, const QRect& rect);
// An edit field's area in the field colour, framed just outside `rect`.
void PaintField(QPainter& painter, const QRect& rect);
// Text aligned in `rect`; text wider than `rect` is a fault (Fail).
void PaintText(QPainter& painter, const QRect& rect, int alignment,
               const QFont& font, const QColor& colour, const QString& text);

// The skin's backdrop, behind the phone and the panels.
void PaintBackground(QPainter& painter);
// The phone on the left of the skin, without its keypad keys.
void PaintPhone(QPainter& painter);
// The keys on `background`, which is the phone's body under the keypad.
QImage PaintKeypad(const QImage& background);
// A copy of `unlit` with `key` lit.
QImage LightKey(const QImage& unlit, const KeypadKey& key);
// The title banner, panels, fields, labels and button faces of the skin.
void PaintControlPanels(QPainter& painter);
// The about window's face (400 x 250).
QImage PaintAboutPicture();
// The program's icon, `size` pixels square, with a transparent background.
QImage PaintIcon(int size);

}  // namespace quillora::artgen
