#include "toolkit/form.h"

#include <QApplication>
#include <QCursor>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>
#include <algorithm>
#include <stdexcept>

#include "toolkit/application.h"
#include "toolkit/qt_text.h"

namespace quillora {

class TForm::FormWidget : public QWidget {
 public:
  explicit FormWidget(TForm& form) : form_(form) {}

  void showEvent(QShowEvent* event) override {
    // Restoring from the task bar is spontaneous and is no new showing.
    if (!event->spontaneous()) form_.HandleShow();
    QWidget::showEvent(event);
  }
  void closeEvent(QCloseEvent* event) override {
    QWidget::closeEvent(event);
    if (modalLoop_) modalLoop_->quit();
  }

  QEventLoop* modalLoop_ = nullptr;

 private:
  TForm& form_;
};

// While the form follows the mouse by itself: moves it on every mouse move
// and ends on the release, wherever the mouse is.
class TForm::DragFilter : public QObject {
 public:
  explicit DragFilter(TForm& form) : form_(form) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseMove) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      form_.Widget()->move(mouse->globalPosition().toPoint() -
                           form_.dragOffset_);
      return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
      form_.EndManualDrag();
      return true;
    }
    return false;
  }

 private:
  TForm& form_;
};

// Takes drags of local files over any widget of the form before the widget
// does, so that an edit field does not insert a dropped file's name.
class TForm::FileDropFilter : public QObject {
 public:
  explicit FileDropFilter(TForm& form) : form_(form) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove &&
        type != QEvent::Drop) {
      return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != form_.Widget()) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    std::vector<std::string> paths;
    if (drop->mimeData()) {
      for (const QUrl& url : drop->mimeData()->urls()) {
        if (url.isLocalFile()) paths.push_back(FromQString(url.toLocalFile()));
      }
    }
    if (paths.empty()) return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop) form_.DropFiles(paths);
    return true;
  }

 private:
  TForm& form_;
};

TForm::TForm(TComponent* owner) : TControl(owner, new FormWidget(*this)) {
  Widget()->setAttribute(Qt::WA_DeleteOnClose, false);
  ApplyAppearance();
}

TForm::~TForm() {
  EndManualDrag();
  if (fileDropFilter_) {
    qApp->removeEventFilter(fileDropFilter_);
    delete fileDropFilter_;
  }
}

void TForm::SetOnDropFiles(FileDropEvent handler) {
  onDropFiles_ = std::move(handler);
  Widget()->setAcceptDrops(true);
  if (!fileDropFilter_) {
    fileDropFilter_ = new FileDropFilter(*this);
    qApp->installEventFilter(fileDropFilter_);
  }
}

void TForm::DropFiles(const std::vector<std::string>& paths) {
  if (onDropFiles_) RunHandler([this, &paths] { onDropFiles_(*this, paths); });
}

void TForm::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Widget()->setWindowTitle(ToQString(caption_));
}

void TForm::ShowForm() {
  Widget()->show();
  Widget()->raise();
  Widget()->activateWindow();
}

void TForm::ShowModal() {
  auto* widget = static_cast<FormWidget*>(Widget());
  widget->setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  widget->modalLoop_ = &loop;
  ShowForm();
  if (widget->isVisible()) loop.exec();
  widget->modalLoop_ = nullptr;
  widget->setWindowModality(Qt::NonModal);
}

void TForm::Close() { Widget()->close(); }

void TForm::HandleShow() {
  if (OnShow) RunHandler([this] { OnShow(*this); });
  // Centred once, at the size the show handler left.
  if (position_ == FormPosition::kScreenCenter && !centred_) {
    CentreOnScreen();
    centred_ = true;
  }
}

void TForm::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect desktop = screen->geometry();
  Widget()->move(desktop.x() + (desktop.width() - Width()) / 2,
                 desktop.y() + (desktop.height() - Height()) / 2);
}

void TForm::StartWindowDrag() {
  QWindow* window = Widget()->windowHandle();
  if (window && window->startSystemMove()) return;
  // No window manager to do it: follow the mouse until the release.
  EndManualDrag();
  manualDrag_ = true;
  dragOffset_ = QCursor::pos() - Widget()->pos();
  dragFilter_ = new DragFilter(*this);
  qApp->installEventFilter(dragFilter_);
}

void TForm::EndManualDrag() {
  if (!dragFilter_) return;
  qApp->removeEventFilter(dragFilter_);
  dragFilter_->deleteLater();
  dragFilter_ = nullptr;
  manualDrag_ = false;
}

void TForm::ApplyAppearance() {
  TControl::ApplyAppearance();
  Widget()->setAutoFillBackground(true);
  Qt::WindowFlags flags = Qt::Window;
  if (borderStyle_ == FormBorderStyle::kNone) flags |= Qt::FramelessWindowHint;
  if (Widget()->windowFlags() != flags) Widget()->setWindowFlags(flags);
}

void TForm::PublishProperties(PropertyList& properties) {
  TControl::PublishProperties(properties);
  properties.AddText(
      "Caption", "", [this](const std::string& v) { SetCaption(v); },
      [this] { return caption_; });
  auto size = [&](const char* name, bool width) {
    properties.AddInteger(
        name, 0, 0, 32767,
        [this, width](std::int64_t v) {
          width ? SetWidth(static_cast<int>(v))
                : SetHeight(static_cast<int>(v));
        },
        [this, width] {
          return static_cast<std::int64_t>(width ? Width() : Height());
        });
  };
  size("ClientWidth", true);
  size("ClientHeight", false);
  AddLookEnum(properties, "BorderStyle", {"bsNone", "bsSingle", "bsSizeable"},
              FormBorderStyle::kSizeable, borderStyle_);
  properties.AddEnum(
      "Position", {"poDesigned", "poScreenCenter"}, 0,
      [this](int v) { position_ = static_cast<FormPosition>(v); },
      [this] { return static_cast<int>(position_); });
}

void TForm::Loaded() {
  TControl::Loaded();
  // The tab order of the form's controls, as stored.
  std::vector<TControl*> ordered;
  for (const auto& component : Components()) {
    auto* control = dynamic_cast<TControl*>(component.get());
    if (control && control->TabOrder() >= 0) ordered.push_back(control);
  }
  std::sort(ordered.begin(), ordered.end(), [](TControl* a, TControl* b) {
    return a->TabOrder() < b->TabOrder();
  });
  for (std::size_t i = 1; i < ordered.size(); ++i) {
    QWidget::setTabOrder(ordered[i - 1]->Widget(), ordered[i]->Widget());
  }
  if (!ordered.empty()) ordered.front()->Widget()->setFocus();
  // Controls stack in the order they were laid: the first lies beneath.
  for (const auto& component : Components()) {
    if (auto* control = dynamic_cast<TControl*>(component.get())) {
      control->Widget()->raise();
    }
  }
}

void TForm::LoadFromResource(const char* path,
                             const ComponentRegistry& registry) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw std::runtime_error(std::string("Cannot read the window layout ") +
                             path);
  }
  const QByteArray text = file.readAll();
  LoadComponent(*this,
                ParseLayout(std::string_view(
                    text.constData(), static_cast<std::size_t>(text.size()))),
                registry);
}

}  // namespace quillora
