// TCGauge: a horizontal progress bar. Progress is kept between MinValue and
// MaxValue whatever is set.
#pragma once

#include "toolkit/control.h"

namespace quillora {

class TCGauge : public TControl {
 public:
  explicit TCGauge(TComponent* owner);
  std::string_view ClassName() const override { return "TCGauge"; }

  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  int Progress() const { return progress_; }
  // A minimum above the maximum raises the maximum to it, and a maximum
  // below the minimum lowers the minimum; Progress follows into range.
  void SetMinValue(int value);
  void SetMaxValue(int value);
  void SetProgress(int value);
  // Share of the bar that is filled, 0 to 100.
  int PercentDone() const;

  void PublishProperties(PropertyList& properties) override;

 private:
  class GaugeWidget;

  int minValue_ = 0;
  int maxValue_ = 100;
  int progress_ = 0;
  bool singleBorder_ = true;
  bool showText_ = true;
  Rgb foreColor_{0, 0, 0};
  Rgb backColor_{255, 255, 255};
};

}  // namespace quillora
