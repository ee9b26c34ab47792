// TForm: a top-level window created from a stored layout.
#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/control.h"

namespace quillora {

enum class FormBorderStyle { kNone, kSingle, kSizeable };
enum class FormPosition { kDesigned, kScreenCenter };

class TForm : public TControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  std::string_view ClassName() const override { return "TForm"; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  // The form has no frame, so its client size is its size.
  void SetClientSize(int width, int height) {
    SetBounds(Left(), Top(), width, height);
  }

  void ShowForm();
  // Shows the form modally and returns when it is closed.
  void ShowModal();
  void Close();

  // Moves the window with the mouse until the button is released: asks the
  // window system to do it, and where it refuses (no window manager) follows
  // the mouse itself from the press offset.
  void StartWindowDrag();
  bool ManualDragActive() const { return manualDrag_; }

  NotifyEvent OnShow;

  // Files dropped anywhere on the form, edit fields included, as local
  // paths. Setting a handler makes the form take file drops; an edit field
  // then no longer takes a dropped file as text.
  using FileDropEvent = std::function<void(
      TComponent& sender, const std::vector<std::string>& paths)>;
  void SetOnDropFiles(FileDropEvent handler);
  // Runs the drop handler, as a drop of `paths` does.
  void DropFiles(const std::vector<std::string>& paths);

  void PublishProperties(PropertyList& properties) override;
  void Loaded() override;

  // Loads the form and its controls from the layout stored at `path` (a Qt
  // resource path or a file). Throws LayoutError or std::runtime_error.
  void LoadFromResource(const char* path, const ComponentRegistry& registry);

 protected:
  void ApplyAppearance() override;

 private:
  class FormWidget;
  friend class FormWidget;
  class DragFilter;
  class FileDropFilter;

  void HandleShow();
  void CentreOnScreen();
  void EndManualDrag();

  std::string caption_;
  FormBorderStyle borderStyle_ = FormBorderStyle::kSizeable;
  FormPosition position_ = FormPosition::kDesigned;
  bool centred_ = false;
  bool manualDrag_ = false;
  QPoint dragOffset_;
  DragFilter* dragFilter_ = nullptr;
  FileDropEvent onDropFiles_;
  FileDropFilter* fileDropFilter_ = nullptr;
};

}  // namespace quillora
