// TMemo and TEdit: multi-line and single-line edit fields. Their change
// event fires on every change of the text, typed or set by the program.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/control.h"

class QPlainTextEdit;
class QPoint;
class QLineEdit;

namespace quillora {

enum class EditBorder { kNone, kSingle };
enum class ScrollBars { kNone, kHorizontal, kVertical, kBoth };
enum class CharCase { kNormal, kUpperCase, kLowerCase };

// A stretch of a memo's text, in bytes of Text(), marked as faulty.
struct TextMark {
  std::size_t offset = 0;
  std::size_t length = 0;
  std::string hint;  // shown as the tooltip over the stretch
};

class TMemo : public TControl {
 public:
  explicit TMemo(TComponent* owner);
  std::string_view ClassName() const override { return "TMemo"; }

  // The text, lines joined by "\n".
  std::string Text() const;
  void SetText(std::string_view text);
  bool ReadOnly() const { return readOnly_; }

  // Underlines each mark with a red wave and shows its hint as the tooltip
  // over it, replacing the earlier marks; the text itself is not changed.
  // Marks must be in order of their offsets and must not overlap. Linear in
  // the length of the text.
  void SetMarks(const std::vector<TextMark>& marks);
  // The marks as the field holds them now, in bytes of Text().
  std::vector<TextMark> Marks() const;
  // The hint of the mark under the character at byte `offset`, or "".
  std::string HintAt(std::size_t offset) const;

  // Adds an item below the standard entries of the context menu; `action`
  // runs as an event handler.
  void AddMenuItem(std::string caption, std::function<void()> action);
  // The captions of the added items, in order.
  std::vector<std::string> MenuItems() const;
  // Runs the added item of that caption, as choosing it does.
  void ChooseMenuItem(std::string_view caption);

  NotifyEvent OnChange;

  void PublishProperties(PropertyList& properties) override;

 protected:
  void ApplyAppearance() override;

 private:
  QPlainTextEdit* edit() const;
  class MarkTips;
  void ShowContextMenu(const QPoint& position);

  struct MenuItem {
    std::string caption;
    std::function<void()> action;
  };
  std::vector<MenuItem> menuItems_;
  // Hints of the current marks, in the order of the field's extra
  // selections.
  std::vector<std::string> markHints_;

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
