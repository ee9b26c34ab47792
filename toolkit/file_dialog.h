// TOpenDialog and TSaveDialog: modal file dialogs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "components/component.h"

namespace quillora {

class TFileDialog : public TComponent {
 public:
  enum class Kind { kOpen, kSave };

  // Answers a dialog instead of showing it: the chosen full file name, or
  // std::nullopt for Cancel. Tests install one; null shows real dialogs.
  using Responder =
      std::function<std::optional<std::string>(const TFileDialog&)>;
  static void SetResponder(Responder responder);

  // Shows the dialog modally; true when the user chose a file, then in
  // FileName().
  bool Execute();

  Kind DialogKind() const { return kind_; }
  const std::string& FileName() const { return fileName_; }
  const std::string& Title() const { return title_; }
  // "Description|pattern|Description|pattern", patterns separated by ';'.
  const std::string& Filter() const { return filter_; }
  const std::string& DefaultExt() const { return defaultExt_; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(std::string folder) { initialDir_ = std::move(folder); }
  void SetTitle(std::string title) { title_ = std::move(title); }
  void SetFilter(std::string filter) { filter_ = std::move(filter); }
  void SetDefaultExt(std::string ext) { defaultExt_ = std::move(ext); }

  void PublishProperties(PropertyList& properties) override;

 protected:
  TFileDialog(TComponent* owner, Kind kind);

 private:
  Kind kind_;
  std::string fileName_, title_, filter_, defaultExt_, initialDir_;
  bool hideReadOnly_ = false, enableSizing_ = true, overwritePrompt_ = false,
       fileMustExist_ = false;
};

// The Qt form of a "Name|*.x|All files|*.*" filter: "Name (*.x);;All files
// (*)".
std::string ToQtFilter(const std::string& filter);

class TOpenDialog : public TFileDialog {
 public:
  explicit TOpenDialog(TComponent* owner) : TFileDialog(owner, Kind::kOpen) {}
  std::string_view ClassName() const override { return "TOpenDialog"; }
};

class TSaveDialog : public TFileDialog {
 public:
  explicit TSaveDialog(TComponent* owner) : TFileDialog(owner, Kind::kSave) {}
  std::string_view ClassName() const override { return "TSaveDialog"; }
};

}  // namespace quillora
