#include "toolkit/timer.h"

#include "toolkit/application.h"

namespace quillora {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (OnTimer) RunHandler([this] { OnTimer(*this); });
  });
  Update();
}

void TTimer::SetInterval(int milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Update();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::Update() {
  timer_.stop();
  if (enabled_ && interval_ > 0) timer_.start(interval_);
}

void TTimer::PublishProperties(PropertyList& properties) {
  TComponent::PublishProperties(properties);
  properties.AddInteger(
      "Interval", 1000, 0, 2147483647,
      [this](std::int64_t v) { SetInterval(static_cast<int>(v)); },
      [this] { return static_cast<std::int64_t>(interval_); });
  properties.AddBoolean(
      "Enabled", true, [this](bool v) { SetEnabled(v); },
      [this] { return enabled_; });
}

}  // namespace quillora
