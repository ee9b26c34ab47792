// What the key entry reads and writes on the main window, as a narrow
// interface: the window implements it over its controls (WindowKeyEntryView),
// tests with a recorder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "keyentry/keypad_key.h"

namespace quillora {

class KeyEntryView {
 public:
  virtual ~KeyEntryView() = default;

  // Read.
  virtual std::string KeyListText() const = 0;        // Memo2
  virtual std::string SecondsPerKeyText() const = 0;  // Edit2
  virtual bool BeepsOn() const = 0;                   // CheckBox1

  // The phone display.
  virtual void SetStatus(std::string_view text) = 0;    // Label4
  virtual void SetEstimate(std::string_view text) = 0;  // Label5's caption
  virtual void SetEstimateVisible(bool visible) = 0;    // Label5
  virtual void SetGaugeVisible(bool visible) = 0;       // CGauge1
  // MinValue 0, MaxValue `keyCount`, Progress 0.
  virtual void ResetGauge(int keyCount) = 0;
  // Progress + 1, kept within the bounds by the gauge.
  virtual void AdvanceGauge() = 0;

  // The keypad picture: copies the unlit keypad (no key) or `key`'s lit
  // keypad onto the keypad whole; RepaintKeypad shows it at once.
  virtual void CopyKeypad(std::optional<KeypadKey> key) = 0;
  virtual void RepaintKeypad() = 0;

  // The key beep generator (ToneGen1).
  virtual void SetTone(int frequencyHz, int durationMs) = 0;
  virtual void PlayTone() = 0;

  // The key timer (Timer2).
  virtual bool TimerEnabled() const = 0;
  virtual void SetTimerEnabled(bool enabled) = 0;
  virtual void SetTimerInterval(int milliseconds) = 0;
};

}  // namespace quillora
