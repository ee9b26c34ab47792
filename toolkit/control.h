// TControl: a component with a Qt widget, placed in pixels on its owner.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "components/component.h"

namespace quillora {

enum class FontStyle { kRegular, kBold, kItalic, kBoldItalic };
enum class FontCharset { kDefault, kCyrillic };

// A font as layouts give it. Height is the character height in pixels.
struct TFont {
  std::string name = "MS Sans Serif";
  int height = 11;
  FontStyle style = FontStyle::kRegular;
  Rgb color{0, 0, 0};
  FontCharset charset = FontCharset::kDefault;
};

enum class MouseButton { kLeft, kRight, kMiddle };

// Sender, button, position in the control's pixels.
using MouseEvent =
    std::function<void(TComponent& sender, MouseButton button, int x, int y)>;
using NotifyEvent = std::function<void(TComponent& sender)>;

class TControl : public TComponent {
 public:
  ~TControl() override;

  // The control's widget; null once Qt has destroyed it.
  QWidget* Widget() const { return widget_; }

  int Left() const { return widget_->x(); }
  int Top() const { return widget_->y(); }
  int Width() const { return widget_->width(); }
  int Height() const { return widget_->height(); }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
  void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);

  // Background colour, for the controls that paint one.
  Rgb Color() const { return color_; }
  void SetColor(Rgb color);

  int TabOrder() const { return tabOrder_; }

  MouseEvent OnMouseDown;

  void PublishProperties(PropertyList& properties) override;
  void Loaded() override;

 protected:
  // `widget` becomes the control's widget, a child of the owner's widget when
  // the owner is a control.
  TControl(TComponent* owner, QWidget* widget);

  // Applies font and colour to the widget; controls with special painting
  // override it.
  virtual void ApplyAppearance();
  // Adds a property kept in `field` that changes how the control looks:
  // storing it applies the appearance again.
  template <typename Enum>
  void AddLookEnum(PropertyList& properties, std::string name,
                   std::vector<std::string> valueNames, Enum initial,
                   Enum& field) {
    properties.AddEnum(
        std::move(name), std::move(valueNames), static_cast<int>(initial),
        [this, &field](int v) {
          field = static_cast<Enum>(v);
          ApplyAppearance();
        },
        [&field] { return static_cast<int>(field); });
  }
  void AddLookFlag(PropertyList& properties, std::string name, bool initial,
                   bool& field) {
    properties.AddBoolean(
        std::move(name), initial,
        [this, &field](bool v) {
          field = v;
          ApplyAppearance();
        },
        [&field] { return field; });
  }

  // Forwards a mouse press to OnMouseDown; widgets call it.
  void MousePressed(Qt::MouseButton button, QPoint position);

  friend class ControlEventFilter;

 private:
  QPointer<QWidget> widget_;
  bool visible_ = true;
  int tabOrder_ = -1;
  TFont font_;
  Rgb color_{240, 240, 240};
};

// The QFont and colour a TFont describes.
QFont ToQFont(const TFont& font);
QColor ToQColor(Rgb rgb);

}  // namespace quillora
