// TCheckBox: a check box, here without caption.
#pragma once

#include <string>

#include "toolkit/control.h"

namespace quillora {

class TCheckBox : public TControl {
 public:
  explicit TCheckBox(TComponent* owner);
  std::string_view ClassName() const override { return "TCheckBox"; }

  bool Checked() const;
  void SetChecked(bool checked);

  NotifyEvent OnClick;

  void PublishProperties(PropertyList& properties) override;

 protected:
  void ApplyAppearance() override;

 private:
  std::string caption_;
};

}  // namespace quillora
