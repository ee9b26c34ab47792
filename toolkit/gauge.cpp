#include "toolkit/gauge.h"

#include <QPainter>
#include <algorithm>

namespace quillora {

class TCGauge::GaugeWidget : public QWidget {
 public:
  explicit GaugeWidget(TCGauge& gauge) : gauge_(gauge) {}
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QRect inner = rect();
    if (gauge_.singleBorder_) {
      painter.setPen(Qt::black);
      painter.drawRect(inner.adjusted(0, 0, -1, -1));
      inner = inner.adjusted(1, 1, -1, -1);
    }
    painter.fillRect(inner, ToQColor(gauge_.backColor_));
    const int filled = inner.width() * gauge_.PercentDone() / 100;
    painter.fillRect(QRect(inner.left(), inner.top(), filled, inner.height()),
                     ToQColor(gauge_.foreColor_));
    if (gauge_.showText_) {
      painter.setPen(ToQColor(gauge_.Font().color));
      painter.drawText(inner, Qt::AlignCenter,
                       QString::number(gauge_.PercentDone()) + "%");
    }
  }

 private:
  TCGauge& gauge_;
};

TCGauge::TCGauge(TComponent* owner) : TControl(owner, new GaugeWidget(*this)) {}

void TCGauge::SetMinValue(int value) {
  minValue_ = value;
  maxValue_ = std::max(maxValue_, minValue_);
  SetProgress(progress_);
}

void TCGauge::SetMaxValue(int value) {
  maxValue_ = value;
  minValue_ = std::min(minValue_, maxValue_);
  SetProgress(progress_);
}

void TCGauge::SetProgress(int value) {
  progress_ = std::clamp(value, minValue_, maxValue_);
  Widget()->update();
}

int TCGauge::PercentDone() const {
  const long long span = static_cast<long long>(maxValue_) - minValue_;
  if (span <= 0) return 0;
  return static_cast<int>((static_cast<long long>(progress_) - minValue_) *
                          100 / span);
}

void TCGauge::PublishProperties(PropertyList& properties) {
  TControl::PublishProperties(properties);
  auto integer = [&](const char* name, int initial, auto set, auto get) {
    properties.AddInteger(
        name, initial, -2147483648LL, 2147483647LL,
        [set](std::int64_t v) { set(static_cast<int>(v)); },
        [get] { return static_cast<std::int64_t>(get()); });
  };
  integer(
      "MinValue", 0, [this](int v) { SetMinValue(v); },
      [this] { return minValue_; });
  integer(
      "MaxValue", 100, [this](int v) { SetMaxValue(v); },
      [this] { return maxValue_; });
  integer(
      "Progress", 0, [this](int v) { SetProgress(v); },
      [this] { return progress_; });
  properties.AddEnum(
      "Kind", {"gkHorizontalBar"}, 0, [](int) {}, [] { return 0; });
  properties.AddEnum(
      "BorderStyle", {"bsNone", "bsSingle"}, 1,
      [this](int v) { singleBorder_ = v == 1; },
      [this] { return singleBorder_ ? 1 : 0; });
  properties.AddBoolean(
      "ShowText", true, [this](bool v) { showText_ = v; },
      [this] { return showText_; });
  properties.AddColour(
      "ForeColor", Rgb{0, 0, 0}, [this](Rgb v) { foreColor_ = v; },
      [this] { return foreColor_; });
  properties.AddColour(
      "BackColor", Rgb{255, 255, 255}, [this](Rgb v) { backColor_ = v; },
      [this] { return backColor_; });
}

}  // namespace quillora
