// The key entry's view of the main window: its controls by role.
#pragma once

#include <array>

#include "keyentry/key_entry_view.h"
#include "sound/tone_gen.h"
#include "toolkit/check_box.h"
#include "toolkit/gauge.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/memo.h"
#include "toolkit/timer.h"

namespace quillora {

// The controls the key entry uses; none may be null, all outlive the view.
struct KeyEntryControls {
  TMemo* keyList;        // Memo2
  TEdit* secondsPerKey;  // Edit2
  TCheckBox* beepsOn;    // CheckBox1
  TLabel* status;        // Label4
  TLabel* estimate;      // Label5
  TCGauge* gauge;        // CGauge1
  TImage* keypad;        // Image2
  TImage* unlitKeypad;   // Image_empty
  // Image_1 ... Image_9, Image_zv, Image_0, Image_rs: in KeypadKey order.
  std::array<TImage*, kKeypadKeyCount> litKeypads;
  TToneGen* beeper;  // ToneGen1
  TTimer* timer;     // Timer2
};

class WindowKeyEntryView final : public KeyEntryView {
 public:
  explicit WindowKeyEntryView(const KeyEntryControls& controls);

  std::string KeyListText() const override;
  std::string SecondsPerKeyText() const override;
  bool BeepsOn() const override;
  void SetStatus(std::string_view text) override;
  void SetEstimate(std::string_view text) override;
  void SetEstimateVisible(bool visible) override;
  void SetGaugeVisible(bool visible) override;
  void ResetGauge(int keyCount) override;
  void AdvanceGauge() override;
  void CopyKeypad(std::optional<KeypadKey> key) override;
  void RepaintKeypad() override;
  void SetTone(int frequencyHz, int durationMs) override;
  void PlayTone() override;
  bool TimerEnabled() const override;
  void SetTimerEnabled(bool enabled) override;
  void SetTimerInterval(int milliseconds) override;

 private:
  KeyEntryControls controls_;
};

}  // namespace quillora
