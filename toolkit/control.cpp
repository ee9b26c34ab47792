#include "toolkit/control.h"

#include <QEvent>
#include <QMouseEvent>

#include "toolkit/application.h"

namespace quillora {

// Turns mouse presses on a control's widget into its OnMouseDown event.
class ControlEventFilter : public QObject {
 public:
  explicit ControlEventFilter(TControl& control)
      : QObject(control.Widget()), control_(control) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      control_.MousePressed(mouse->button(), mouse->position().toPoint());
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TControl& control_;
};

QColor ToQColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QFont ToQFont(const TFont& font) {
  QFont qfont(QString::fromStdString(font.name));
  qfont.setPixelSize(font.height > 0 ? font.height : 11);
  qfont.setBold(font.style == FontStyle::kBold ||
                font.style == FontStyle::kBoldItalic);
  qfont.setItalic(font.style == FontStyle::kItalic ||
                  font.style == FontStyle::kBoldItalic);
  qfont.setStyleStrategy(QFont::PreferAntialias);
  return qfont;
}

TControl::TControl(TComponent* owner, QWidget* widget)
    : TComponent(owner), widget_(widget) {
  if (auto* parent = dynamic_cast<TControl*>(owner)) {
    widget_->setParent(parent->Widget());
  }
  widget_->installEventFilter(new ControlEventFilter(*this));
  ApplyAppearance();
}

TControl::~TControl() {
  // The owner's widget may already have destroyed ours.
  delete widget_.data();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  widget_->setGeometry(left, top, width, height);
}

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  // A window shows its controls with itself; until then Qt only records it.
  widget_->setVisible(visible);
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  ApplyAppearance();
}

void TControl::SetColor(Rgb color) {
  color_ = color;
  ApplyAppearance();
}

void TControl::ApplyAppearance() {
  widget_->setFont(ToQFont(font_));
  QPalette palette = widget_->palette();
  palette.setColor(QPalette::WindowText, ToQColor(font_.color));
  palette.setColor(QPalette::Text, ToQColor(font_.color));
  palette.setColor(QPalette::ButtonText, ToQColor(font_.color));
  palette.setColor(QPalette::Window, ToQColor(color_));
  palette.setColor(QPalette::Base, ToQColor(color_));
  widget_->setPalette(palette);
}

void TControl::MousePressed(Qt::MouseButton button, QPoint position) {
  if (!OnMouseDown) return;
  MouseButton which = MouseButton::kLeft;
  if (button == Qt::RightButton) which = MouseButton::kRight;
  if (button == Qt::MiddleButton) which = MouseButton::kMiddle;
  RunHandler([&] { OnMouseDown(*this, which, position.x(), position.y()); });
}

void TControl::PublishProperties(PropertyList& properties) {
  TComponent::PublishProperties(properties);
  auto integer = [&](const char* name, std::int64_t initial,
                     std::function<void(int)> set, std::function<int()> get) {
    properties.AddInteger(
        name, initial, -32768, 32767,
        [set](std::int64_t v) { set(static_cast<int>(v)); },
        [get] { return static_cast<std::int64_t>(get()); });
  };
  integer(
      "Left", 0, [this](int v) { SetLeft(v); }, [this] { return Left(); });
  integer(
      "Top", 0, [this](int v) { SetTop(v); }, [this] { return Top(); });
  integer(
      "Width", 0, [this](int v) { SetWidth(v); }, [this] { return Width(); });
  integer(
      "Height", 0, [this](int v) { SetHeight(v); },
      [this] { return Height(); });
  integer(
      "TabOrder", -1, [this](int v) { tabOrder_ = v; },
      [this] { return tabOrder_; });
  properties.AddBoolean(
      "Visible", true, [this](bool v) { SetVisible(v); },
      [this] { return visible_; });
  properties.AddColour(
      "Color", Rgb{240, 240, 240}, [this](Rgb v) { SetColor(v); },
      [this] { return color_; });
  properties.AddText(
      "Font.Name", "MS Sans Serif",
      [this](const std::string& v) {
        font_.name = v;
        ApplyAppearance();
      },
      [this] { return font_.name; });
  integer(
      "Font.Height", 11,
      [this](int v) {
        font_.height = v;
        ApplyAppearance();
      },
      [this] { return font_.height; });
  properties.AddEnum(
      "Font.Style", {"regular", "bold", "italic", "boldItalic"}, 0,
      [this](int v) {
        font_.style = static_cast<FontStyle>(v);
        ApplyAppearance();
      },
      [this] { return static_cast<int>(font_.style); });
  properties.AddColour(
      "Font.Color", Rgb{0, 0, 0},
      [this](Rgb v) {
        font_.color = v;
        ApplyAppearance();
      },
      [this] { return font_.color; });
  properties.AddEnum(
      "Font.Charset", {"default", "cyrillic"}, 0,
      [this](int v) { font_.charset = static_cast<FontCharset>(v); },
      [this] { return static_cast<int>(font_.charset); });
}

void TControl::Loaded() {
  TComponent::Loaded();
  // Keyboard focus follows the stored tab order among siblings.
  if (tabOrder_ < 0) widget_->setFocusPolicy(Qt::NoFocus);
}

}  // namespace quillora
