#include "toolkit/memo.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolTip>
#include <QValidator>
#include <algorithm>

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

// The UTF-16 position in `text` of each byte offset of its UTF-8 form;
// `offsets` in ascending order. An offset inside a character gives the
// position of the next character.
std::vector<int> Utf16Positions(const QString& text,
                                const std::vector<std::size_t>& offsets) {
  std::vector<int> positions;
  positions.reserve(offsets.size());
  std::size_t byte = 0;
  std::size_t next = 0;
  const int size = static_cast<int>(text.size());
  for (int i = 0; i <= size && next < offsets.size();) {
    while (next < offsets.size() && offsets[next] <= byte) {
      positions.push_back(i);
      ++next;
    }
    if (i == size) break;
    const char16_t unit = text[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < size &&
        QChar::isLowSurrogate(text[i + 1].unicode())) {
      byte += 4;
      i += 2;
    } else {
      // A lone surrogate becomes U+FFFD, three bytes, in UTF-8.
      byte += unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
      ++i;
    }
  }
  while (positions.size() < offsets.size()) positions.push_back(size);
  return positions;
}

}  // namespace

// Shows the hint of the mark under the mouse as the tooltip.
class TMemo::MarkTips : public QObject {
 public:
  MarkTips(TMemo& memo, QObject* parent) : QObject(parent), memo_(memo) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) {
      return QObject::eventFilter(watched, event);
    }
    auto* help = static_cast<QHelpEvent*>(event);
    QPlainTextEdit* edit = memo_.edit();
    const int position = edit->cursorForPosition(help->pos()).position();
    const QList<QTextEdit::ExtraSelection> marks = edit->extraSelections();
    // The marks stay in order as the text changes; the first that ends
    // after the position is the only one that may hold it.
    const auto mark = std::partition_point(
        marks.begin(), marks.end(), [&](const QTextEdit::ExtraSelection& m) {
          return m.cursor.selectionEnd() < position;
        });
    if (mark != marks.end() && mark->cursor.selectionStart() <= position) {
      const auto index = static_cast<std::size_t>(mark - marks.begin());
      if (index < memo_.markHints_.size()) {
        QToolTip::showText(help->globalPos(),
                           ToQString(memo_.markHints_[index]), edit);
        return true;
      }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
  }

 private:
  TMemo& memo_;
};

TMemo::TMemo(TComponent* owner) : TControl(owner, new QPlainTextEdit) {
  QObject::connect(edit(), &QPlainTextEdit::textChanged, [this] {
    if (OnChange) RunHandler([this] { OnChange(*this); });
  });
  edit()->viewport()->installEventFilter(new MarkTips(*this, edit()));
  edit()->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(
      edit(), &QWidget::customContextMenuRequested,
      [this](const QPoint& position) { ShowContextMenu(position); });
  ApplyAppearance();
}

void TMemo::SetMarks(const std::vector<TextMark>& marks) {
  QPlainTextEdit* e = edit();
  const QString text = e->toPlainText();
  std::vector<std::size_t> offsets;
  offsets.reserve(marks.size() * 2);
  for (const TextMark& mark : marks) {
    offsets.push_back(mark.offset);
    offsets.push_back(mark.offset + mark.length);
  }
  const std::vector<int> positions = Utf16Positions(text, offsets);

  QTextCharFormat wave;
  wave.setUnderlineStyle(QTextCharFormat::WaveUnderline);
  wave.setUnderlineColor(Qt::red);
  QList<QTextEdit::ExtraSelection> selections;
  selections.reserve(static_cast<qsizetype>(marks.size()));
  markHints_.clear();
  markHints_.reserve(marks.size());
  for (std::size_t i = 0; i < marks.size(); ++i) {
    QTextCursor cursor(e->document());
    cursor.setPosition(positions[2 * i]);
    cursor.setPosition(positions[2 * i + 1], QTextCursor::KeepAnchor);
    selections.append({cursor, wave});
    markHints_.push_back(marks[i].hint);
  }
  e->setExtraSelections(selections);
}

std::vector<TextMark> TMemo::Marks() const {
  const QString text = edit()->toPlainText();
  const auto bytesBefore = [&](int position) {
    return static_cast<std::size_t>(text.left(position).toUtf8().size());
  };
  std::vector<TextMark> marks;
  const QList<QTextEdit::ExtraSelection> selections = edit()->extraSelections();
  for (qsizetype i = 0; i < selections.size(); ++i) {
    const std::size_t start =
        bytesBefore(selections[i].cursor.selectionStart());
    const std::size_t end = bytesBefore(selections[i].cursor.selectionEnd());
    marks.push_back({start, end - start,
                     static_cast<std::size_t>(i) < markHints_.size()
                         ? markHints_[static_cast<std::size_t>(i)]
                         : std::string()});
  }
  return marks;
}

std::string TMemo::HintAt(std::size_t offset) const {
  for (const TextMark& mark : Marks()) {
    if (offset >= mark.offset && offset < mark.offset + mark.length) {
      return mark.hint;
    }
  }
  return {};
}

void TMemo::AddMenuItem(std::string caption, std::function<void()> action) {
  menuItems_.push_back({std::move(caption), std::move(action)});
}

std::vector<std::string> TMemo::MenuItems() const {
  std::vector<std::string> captions;
  for (const MenuItem& item : menuItems_) captions.push_back(item.caption);
  return captions;
}

void TMemo::ChooseMenuItem(std::string_view caption) {
  for (const MenuItem& item : menuItems_) {
    if (item.caption == caption) RunHandler(item.action);
  }
}

void TMemo::ShowContextMenu(const QPoint& position) {
  QMenu* menu = edit()->createStandardContextMenu(position);
  if (!menuItems_.empty()) menu->addSeparator();
  for (const MenuItem& item : menuItems_) {
    const std::function<void()> action = item.action;
    QObject::connect(menu->addAction(ToQString(item.caption)),
                     &QAction::triggered, [action] { RunHandler(action); });
  }
  menu->exec(edit()->viewport()->mapToGlobal(position));
  delete menu;
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
