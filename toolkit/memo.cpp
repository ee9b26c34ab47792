#include "toolkit/memo.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QValidator>

#include "toolkit/application.h"
#include "toolkit/qt_text.h"

namespace quillora {
namespace {

// Gives typed text the field's letter case before it enters the field, so
// that a key press is one change of the text.
class CaseValidator : public QValidator {
 public:
  CaseValidator(const CharCase& charCase, QObject* parent)
      : QValidator(parent), charCase_(charCase) {}
  State validate(QString& input, int&) const override {
    if (charCase_ == CharCase::kUpperCase) input = input.toUpper();
    if (charCase_ == CharCase::kLowerCase) input = input.toLower();
    return Acceptable;
  }

 private:
  const CharCase& charCase_;
};

}  // namespace

TMemo::TMemo(TComponent* owner) : TControl(owner, new QPlainTextEdit) {
  QObject::connect(edit(), &QPlainTextEdit::textChanged, [this] {
    if (OnChange) RunHandler([this] { OnChange(*this); });
  });
  ApplyAppearance();
}

QPlainTextEdit* TMemo::edit() const {
  return static_cast<QPlainTextEdit*>(Widget());
}

std::string TMemo::Text() const { return FromQString(edit()->toPlainText()); }

void TMemo::SetText(std::string_view text) {
  // Line breaks of any style show as line breaks.
  QString qtext = ToQString(text);
  qtext.replace("\r\n", "\n");
  edit()->setPlainText(qtext);
}

void TMemo::ApplyAppearance() {
  TControl::ApplyAppearance();
  QPlainTextEdit* e = edit();
  e->setFrameShape(border_ == EditBorder::kNone ? QFrame::NoFrame
                                                : QFrame::StyledPanel);
  e->setReadOnly(readOnly_);
  e->setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth
                               : QPlainTextEdit::NoWrap);
  const bool vertical =
      scrollBars_ == ScrollBars::kVertical || scrollBars_ == ScrollBars::kBoth;
  const bool horizontal = scrollBars_ == ScrollBars::kHorizontal ||
                          scrollBars_ == ScrollBars::kBoth;
  e->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn
                                         : Qt::ScrollBarAlwaysOff);
  e->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn
                                             : Qt::ScrollBarAlwaysOff);
  e->document()->setDocumentMargin(1);
}

void TMemo::PublishProperties(PropertyList& properties) {
  TControl::PublishProperties(properties);
  properties.AddText(
      "Text", "", [this](const std::string& v) { SetText(v); },
      [this] { return Text(); });
  AddLookEnum(properties, "BorderStyle", {"bsNone", "bsSingle"},
              EditBorder::kSingle, border_);
  AddLookEnum(properties, "ScrollBars",
              {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
              ScrollBars::kNone, scrollBars_);
  AddLookFlag(properties, "WordWrap", true, wordWrap_);
  AddLookFlag(properties, "ReadOnly", false, readOnly_);
}

TEdit::TEdit(TComponent* owner) : TControl(owner, new QLineEdit) {
  QObject::connect(edit(), &QLineEdit::textChanged, [this] {
    if (OnChange) RunHandler([this] { OnChange(*this); });
  });
  edit()->setValidator(new CaseValidator(charCase_, edit()));
  ApplyAppearance();
}

QLineEdit* TEdit::edit() const { return static_cast<QLineEdit*>(Widget()); }

std::string TEdit::Text() const { return FromQString(edit()->text()); }

void TEdit::SetText(std::string_view text) { edit()->setText(ToQString(text)); }

void TEdit::ApplyAppearance() {
  TControl::ApplyAppearance();
  edit()->setFrame(border_ != EditBorder::kNone);
  edit()->setTextMargins(0, 0, 0, 0);
  edit()->setContentsMargins(0, 0, 0, 0);
}

void TEdit::PublishProperties(PropertyList& properties) {
  TControl::PublishProperties(properties);
  properties.AddText(
      "Text", "", [this](const std::string& v) { SetText(v); },
      [this] { return Text(); });
  AddLookEnum(properties, "BorderStyle", {"bsNone", "bsSingle"},
              EditBorder::kSingle, border_);
  properties.AddEnum(
      "CharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}, 0,
      [this](int v) { charCase_ = static_cast<CharCase>(v); },
      [this] { return static_cast<int>(charCase_); });
}

}  // namespace quillora
