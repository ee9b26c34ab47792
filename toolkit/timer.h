// TTimer: a window timer that ticks on the window thread.
//
// Setting the interval it already has, or enabling it while it is enabled,
// changes nothing, so the rhythm of its ticks is kept. A new interval
// restarts the count.
#pragma once

#include <QTimer>

#include "components/component.h"
#include "toolkit/control.h"

namespace quillora {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  std::string_view ClassName() const override { return "TTimer"; }

  // Milliseconds between ticks, 0 or more; 0 stops the ticks.
  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  NotifyEvent OnTimer;

  void PublishProperties(PropertyList& properties) override;

 private:
  void Update();

  QTimer timer_;
  int interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace quillora
