#include "toolkit/speed_button.h"

#include <QAbstractButton>
#include <QPainter>

#include "toolkit/application.h"

namespace quillora {

class TSpeedButton::ButtonWidget : public QAbstractButton {
 public:
  explicit ButtonWidget(TSpeedButton& button) : button_(button) {
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
  }

  void paintEvent(QPaintEvent*) override {
    if (button_.flat_ && !underMouse()) return;
    QPainter painter(this);
    // A raised frame on hover, a sunken one while pressed.
    const QColor light(255, 255, 255, 200);
    const QColor dark(64, 81, 110, 220);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.setPen(isDown() ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(isDown() ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
  }

 private:
  TSpeedButton& button_;
};

TSpeedButton::TSpeedButton(TComponent* owner)
    : TControl(owner, new ButtonWidget(*this)) {
  QObject::connect(static_cast<QAbstractButton*>(Widget()),
                   &QAbstractButton::clicked, [this] {
                     if (OnClick) RunHandler([this] { OnClick(*this); });
                   });
}

void TSpeedButton::Click() { static_cast<QAbstractButton*>(Widget())->click(); }

void TSpeedButton::PublishProperties(PropertyList& properties) {
  TControl::PublishProperties(properties);
  properties.AddBoolean(
      "Flat", true,
      [this](bool v) {
        flat_ = v;
        Widget()->update();
      },
      [this] { return flat_; });
}

}  // namespace quillora
