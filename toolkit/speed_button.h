// TSpeedButton: a flat click area without caption or glyph. It paints
// nothing but a thin frame while the mouse is over it, so the button face
// painted in the window's picture shows through.
#pragma once

#include "toolkit/control.h"

namespace quillora {

class TSpeedButton : public TControl {
 public:
  explicit TSpeedButton(TComponent* owner);
  std::string_view ClassName() const override { return "TSpeedButton"; }

  bool Flat() const { return flat_; }
  // Simulates a click, as a press and release inside the button would.
  void Click();

  NotifyEvent OnClick;

  void PublishProperties(PropertyList& properties) override;

 private:
  class ButtonWidget;
  bool flat_ = true;
};

}  // namespace quillora
