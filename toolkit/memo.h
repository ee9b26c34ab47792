// TMemo and TEdit: multi-line and single-line edit fields. Their change
// event fires on every change of the text, typed or set by the program.
#pragma once

#include <string>

#include "toolkit/control.h"

class QPlainTextEdit;
class QLineEdit;

namespace quillora {

enum class EditBorder { kNone, kSingle };
enum class ScrollBars { kNone, kHorizontal, kVertical, kBoth };
enum class CharCase { kNormal, kUpperCase, kLowerCase };

class TMemo : public TControl {
 public:
  explicit TMemo(TComponent* owner);
  std::string_view ClassName() const override { return "TMemo"; }

  // The text, lines joined by "\n".
  std::string Text() const;
  void SetText(std::string_view text);
  bool ReadOnly() const { return readOnly_; }

  NotifyEvent OnChange;

  void PublishProperties(PropertyList& properties) override;

 protected:
  void ApplyAppearance() override;

 private:
  QPlainTextEdit* edit() const;

  EditBorder border_ = EditBorder::kSingle;
  ScrollBars scrollBars_ = ScrollBars::kNone;
  bool wordWrap_ = true;
  bool readOnly_ = false;
};

class TEdit : public TControl {
 public:
  explicit TEdit(TComponent* owner);
  std::string_view ClassName() const override { return "TEdit"; }

  std::string Text() const;
  void SetText(std::string_view text);

  NotifyEvent OnChange;

  void PublishProperties(PropertyList& properties) override;

 protected:
  void ApplyAppearance() override;

 private:
  QLineEdit* edit() const;

  EditBorder border_ = EditBorder::kSingle;
  CharCase charCase_ = CharCase::kNormal;
};

}  // namespace quillora
