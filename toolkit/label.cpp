#include "toolkit/label.h"

#include "toolkit/qt_text.h"

namespace quillora {

TLabel::TLabel(TComponent* owner) : TControl(owner, new QLabel) {
  label()->setTextFormat(Qt::PlainText);
  label()->setContentsMargins(0, 0, 0, 0);
  label()->setMargin(0);
  ApplyAppearance();
}

void TLabel::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  // A lone '&' would underline the next letter in a QLabel with mnemonics;
  // plain text shows it as it is.
  label()->setText(ToQString(caption_));
  FitToText();
}

void TLabel::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  FitToText();
}

void TLabel::SetAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  Qt::Alignment flags = Qt::AlignTop;
  if (alignment == TextAlignment::kLeftJustify) flags |= Qt::AlignLeft;
  if (alignment == TextAlignment::kRightJustify) flags |= Qt::AlignRight;
  if (alignment == TextAlignment::kCenter) flags |= Qt::AlignHCenter;
  label()->setAlignment(flags);
}

void TLabel::FitToText() {
  // While loading, the stored bounds may still follow; Loaded fits at last.
  if (!autoSize_ || IsLoading()) return;
  const QSize size = label()->fontMetrics().size(0, label()->text());
  SetBounds(Left(), Top(), size.width(), size.height());
}

void TLabel::ApplyAppearance() {
  TControl::ApplyAppearance();
  label()->setAutoFillBackground(!transparent_);
  label()->setAttribute(Qt::WA_TranslucentBackground, transparent_);
  FitToText();
}

void TLabel::Loaded() {
  TControl::Loaded();
  FitToText();
}

void TLabel::PublishProperties(PropertyList& properties) {
  TControl::PublishProperties(properties);
  properties.AddText(
      "Caption", "", [this](const std::string& v) { SetCaption(v); },
      [this] { return caption_; });
  properties.AddBoolean(
      "AutoSize", true, [this](bool v) { SetAutoSize(v); },
      [this] { return autoSize_; });
  AddLookFlag(properties, "Transparent", false, transparent_);
  properties.AddEnum(
      "Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, 0,
      [this](int v) { SetAlignment(static_cast<TextAlignment>(v)); },
      [this] { return static_cast<int>(alignment_); });
}

}  // namespace quillora
