#include "keyentry/painting_sleeper.h"

#include <QApplication>
#include <QWidget>

namespace quillora {
namespace {

class ScreenUpdatingSleeper final : public Sleeper {
 public:
  void SleepMilliseconds(std::int64_t milliseconds) override {
    // A repaint paints and hands the window to the display at once, without
    // running the event loop (which would let the timers tick meanwhile).
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible()) window->repaint();
    }
    SystemSleeper().SleepMilliseconds(milliseconds);
  }
};

}  // namespace

Sleeper& PaintingSleeper() {
  static ScreenUpdatingSleeper sleeper;
  return sleeper;
}

}  // namespace quillora
