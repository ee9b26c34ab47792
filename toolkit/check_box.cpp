#include "toolkit/check_box.h"

#include <QCheckBox>

#include "toolkit/application.h"
#include "toolkit/qt_text.h"

namespace quillora {

TCheckBox::TCheckBox(TComponent* owner) : TControl(owner, new QCheckBox) {
  QObject::connect(static_cast<QCheckBox*>(Widget()), &QCheckBox::clicked,
                   [this] {
                     if (OnClick) RunHandler([this] { OnClick(*this); });
                   });
  ApplyAppearance();
}

bool TCheckBox::Checked() const {
  return static_cast<QCheckBox*>(Widget())->isChecked();
}

void TCheckBox::SetChecked(bool checked) {
  static_cast<QCheckBox*>(Widget())->setChecked(checked);
}

void TCheckBox::ApplyAppearance() {
  TControl::ApplyAppearance();
  Widget()->setAutoFillBackground(true);
}

void TCheckBox::PublishProperties(PropertyList& properties) {
  TControl::PublishProperties(properties);
  properties.AddBoolean(
      "Checked", false, [this](bool v) { SetChecked(v); },
      [this] { return Checked(); });
  properties.AddText(
      "Caption", "",
      [this](const std::string& v) {
        caption_ = v;
        static_cast<QCheckBox*>(Widget())->setText(ToQString(v));
      },
      [this] { return caption_; });
}

}  // namespace quillora
