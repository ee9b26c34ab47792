// TLabel: a transparent text label.
#pragma once

#include <QLabel>
#include <string>

#include "toolkit/control.h"

namespace quillora {

enum class TextAlignment { kLeftJustify, kRightJustify, kCenter };

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* owner);
  std::string_view ClassName() const override { return "TLabel"; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  // When set, the label takes the size of its text, its top-left corner
  // fixed.
  void SetAutoSize(bool autoSize);
  void SetAlignment(TextAlignment alignment);

  void PublishProperties(PropertyList& properties) override;
  void Loaded() override;

 protected:
  void ApplyAppearance() override;

 private:
  QLabel* label() const { return static_cast<QLabel*>(Widget()); }
  void FitToText();

  std::string caption_;
  bool autoSize_ = true;
  bool transparent_ = false;
  TextAlignment alignment_ = TextAlignment::kLeftJustify;
};

}  // namespace quillora
