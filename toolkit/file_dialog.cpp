#include "toolkit/file_dialog.h"

#include <QFileDialog>

#include "toolkit/qt_text.h"

namespace quillora {
namespace {

TFileDialog::Responder& CurrentResponder() {
  // Dialogs run on the window thread only.
  static TFileDialog::Responder responder;
  return responder;
}

}  // namespace

void TFileDialog::SetResponder(Responder responder) {
  CurrentResponder() = std::move(responder);
}

TFileDialog::TFileDialog(TComponent* owner, Kind kind)
    : TComponent(owner), kind_(kind) {}

std::string ToQtFilter(const std::string& filter) {
  std::string result;
  std::size_t pos = 0;
  while (pos < filter.size()) {
    std::size_t bar = filter.find('|', pos);
    const std::string description = filter.substr(pos, bar - pos);
    if (bar == std::string::npos) break;
    std::size_t next = filter.find('|', bar + 1);
    std::string patterns =
        filter.substr(bar + 1, next == std::string::npos ? std::string::npos
                                                         : next - bar - 1);
    pos = next == std::string::npos ? filter.size() : next + 1;
    std::string qtPatterns;
    std::size_t start = 0;
    while (start <= patterns.size()) {
      std::size_t semicolon = patterns.find(';', start);
      std::string pattern = patterns.substr(start, semicolon - start);
      if (pattern == "*.*") pattern = "*";  // every file, with or without a dot
      if (!pattern.empty())
        qtPatterns += (qtPatterns.empty() ? "" : " ") + pattern;
      if (semicolon == std::string::npos) break;
      start = semicolon + 1;
    }
    if (!result.empty()) result += ";;";
    result += description + " (" + qtPatterns + ")";
  }
  return result;
}

bool TFileDialog::Execute() {
  std::optional<std::string> chosen;
  if (const Responder& responder = CurrentResponder()) {
    chosen = responder(*this);
  } else {
    QFileDialog dialog(nullptr, ToQString(title_), ToQString(initialDir_));
    dialog.setNameFilters(ToQString(ToQtFilter(filter_)).split(";;"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(enableSizing_);
    if (kind_ == Kind::kOpen) {
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(fileMustExist_ ? QFileDialog::ExistingFile
                                        : QFileDialog::AnyFile);
    } else {
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setOption(QFileDialog::DontConfirmOverwrite, !overwritePrompt_);
    }
    // "*.qlr" or "qlr": the suffix a typed name without one receives.
    std::string suffix = defaultExt_;
    if (suffix.rfind("*.", 0) == 0) suffix = suffix.substr(2);
    if (!suffix.empty() && suffix[0] == '.') suffix = suffix.substr(1);
    dialog.setDefaultSuffix(ToQString(suffix));
    if (dialog.exec() == QDialog::Accepted &&
        !dialog.selectedFiles().isEmpty()) {
      chosen = FromQString(dialog.selectedFiles().front());
    }
  }
  if (!chosen) return false;
  fileName_ = *chosen;
  return true;
}

void TFileDialog::PublishProperties(PropertyList& properties) {
  TComponent::PublishProperties(properties);
  auto text = [&](const char* name, std::string* field) {
    properties.AddText(
        name, "", [field](const std::string& v) { *field = v; },
        [field] { return *field; });
  };
  text("Title", &title_);
  text("Filter", &filter_);
  text("DefaultExt", &defaultExt_);
  text("InitialDir", &initialDir_);
  text("FileName", &fileName_);
  auto flag = [&](const char* name, bool initial, bool* field) {
    properties.AddBoolean(
        name, initial, [field](bool v) { *field = v; },
        [field] { return *field; });
  };
  flag("HideReadOnly", false, &hideReadOnly_);
  flag("EnableSizing", true, &enableSizing_);
  flag("OverwritePrompt", false, &overwritePrompt_);
  flag("FileMustExist", false, &fileMustExist_);
}

}  // namespace quillora
