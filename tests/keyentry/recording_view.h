// A key-entry view for tests: keeps the state the window's controls would
// keep, and logs every call (and every wait of RecordingSleeper) in order.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/sleeper.h"
#include "keyentry/key_entry_view.h"

namespace quillora::testing_support {

class RecordingView : public KeyEntryView {
 public:
  // What the window would hold.
  std::string keyList;
  std::string secondsPerKey = "2";
  bool beepsOn = true;
  std::string status = "ZIDIZ";
  std::string estimate = "Est. time: 00:00";
  bool estimateVisible = false;
  bool gaugeVisible = false;
  int gaugeMin = 0, gaugeMax = 100, gaugeProgress = 0;
  std::optional<KeypadKey> keypad;  // the picture on the keypad; none: unlit
  int toneFrequency = 0, toneDuration = 0;
  bool timerEnabled = false;
  int timerInterval = 1000;

  struct Beep {
    int frequencyHz, durationMs;
    bool operator==(const Beep&) const = default;
  };
  std::vector<Beep> beeps;
  std::vector<std::string> log;

  std::string KeyListText() const override { return keyList; }
  std::string SecondsPerKeyText() const override { return secondsPerKey; }
  bool BeepsOn() const override { return beepsOn; }
  void SetStatus(std::string_view text) override {
    status = text;
    log.push_back("status '" + status + "'");
  }
  void SetEstimate(std::string_view text) override {
    estimate = text;
    log.push_back("estimate " + estimate);
  }
  void SetEstimateVisible(bool visible) override {
    estimateVisible = visible;
    log.push_back(visible ? "show estimate" : "hide estimate");
  }
  void SetGaugeVisible(bool visible) override {
    gaugeVisible = visible;
    log.push_back(visible ? "show gauge" : "hide gauge");
  }
  void ResetGauge(int keyCount) override {
    gaugeMin = 0;
    gaugeMax = keyCount;
    gaugeProgress = 0;
    log.push_back("gauge 0.." + std::to_string(keyCount));
  }
  void AdvanceGauge() override {
    gaugeProgress = std::clamp(gaugeProgress + 1, gaugeMin, gaugeMax);
    log.push_back("gauge +1");
  }
  void CopyKeypad(std::optional<KeypadKey> key) override {
    keypad = key;
    log.push_back(key ? "light " + std::to_string(KeypadIndex(*key))
                      : std::string("unlit"));
  }
  void RepaintKeypad() override { log.push_back("repaint"); }
  void SetTone(int frequencyHz, int durationMs) override {
    toneFrequency = frequencyHz;
    toneDuration = durationMs;
    log.push_back("tone " + std::to_string(frequencyHz) + "/" +
                  std::to_string(durationMs));
  }
  void PlayTone() override {
    beeps.push_back({toneFrequency, toneDuration});
    log.push_back("play");
  }
  bool TimerEnabled() const override { return timerEnabled; }
  void SetTimerEnabled(bool enabled) override {
    timerEnabled = enabled;
    log.push_back(enabled ? "timer on" : "timer off");
  }
  void SetTimerInterval(int milliseconds) override {
    timerInterval = milliseconds;
    log.push_back("interval " + std::to_string(milliseconds));
  }
};

// Waits for nothing; logs the wait into the view's log.
class RecordingSleeper : public Sleeper {
 public:
  explicit RecordingSleeper(RecordingView& view) : view_(view) {}
  void SleepMilliseconds(std::int64_t milliseconds) override {
    waits.push_back(milliseconds);
    view_.log.push_back("wait " + std::to_string(milliseconds));
  }
  std::vector<std::int64_t> waits;

 private:
  RecordingView& view_;
};

}  // namespace quillora::testing_support
