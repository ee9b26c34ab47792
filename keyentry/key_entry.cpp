#include "keyentry/key_entry.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <stdexcept>

#include "base/text_ops.h"
#include "keyentry/display_texts.h"
#include "keyentry/key_string.h"

namespace quillora {

int SecondsPerKeyValue(std::string_view text) {
  const std::optional<std::int32_t> value = ToInt32(text);
  if (!value) {
    throw std::invalid_argument("'" + std::string(text) +
                                "' is not a valid integer value");
  }
  return *value;
}

KeyEntry::KeyEntry(KeyEntryView& view, std::string& keyString, Sleeper& sleeper)
    : view_(view), keyString_(keyString), sleeper_(&sleeper) {}

void KeyEntry::Start() {
  keyString_.clear();
  const std::string keyList = view_.KeyListText();
  if (Find(keyList, "ERROR")) {
    view_.SetStatus("ERROR");
    return;
  }
  keyString_ = KeyStringFromKeyList(keyList);
  view_.SetStatus("START");

  // The timer keeps its rhythm when the interval and state do not change;
  // the field holds 1 to 10, but a wider value must not overflow.
  const std::int64_t interval =
      std::int64_t{SecondsPerKeyValue(view_.SecondsPerKeyText())} * 1000;
  view_.SetTimerInterval(
      static_cast<int>(std::clamp<std::int64_t>(interval, 0, INT_MAX)));
  view_.SetTimerEnabled(true);

  // The estimate keeps its last text until the first tick.
  view_.SetEstimateVisible(true);
  view_.ResetGauge(
      static_cast<int>(std::min<std::size_t>(keyString_.size(), INT_MAX)));
  view_.SetGaugeVisible(true);
}

void KeyEntry::Pause() {
  if (keyString_.empty()) return;
  const bool nowEnabled = !view_.TimerEnabled();
  view_.SetTimerEnabled(nowEnabled);
  if (!nowEnabled) view_.SetStatus("PAUSE");
}

void KeyEntry::Stop() {
  view_.SetGaugeVisible(false);
  view_.SetEstimateVisible(false);
  view_.SetStatus("STOP");
  keyString_.clear();
}

void KeyEntry::Tick() {
  std::string key;
  if (!keyString_.empty()) {
    key = keyString_.substr(0, 1);
    keyString_.erase(0, 1);
  } else {
    // The end of the entry: closing signal, then the display put away. The
    // released keypad and the empty status below are shown all the same.
    if (view_.BeepsOn()) {
      PlayTone(kClosingFirst);
      sleeper_->SleepMilliseconds(kClosingFirst.durationMs);
      PlayTone(kClosingSecond);
      sleeper_->SleepMilliseconds(kClosingSecond.durationMs);
    }
    view_.SetGaugeVisible(false);
    view_.SetEstimateVisible(false);
    view_.SetTimerEnabled(false);
  }

  // Release the key shown before, and keep the bare keypad in view a moment
  // so that two presses of the same key are seen as two.
  view_.CopyKeypad(std::nullopt);
  view_.RepaintKeypad();
  sleeper_->SleepMilliseconds(kReleaseMs);

  view_.SetStatus(key);
  if (const std::optional<KeypadKey> lit = KeypadKeyFor(key)) {
    view_.CopyKeypad(*lit);
  }
  view_.RepaintKeypad();

  view_.SetTone(kKeyBeep.frequencyHz, kKeyBeep.durationMs);
  if (view_.BeepsOn()) view_.PlayTone();

  view_.AdvanceGauge();

  // Only the keys still waiting count, so the last key shows 00:00.
  const std::int64_t secondsLeft =
      std::int64_t{SecondsPerKeyValue(view_.SecondsPerKeyText())} *
      static_cast<std::int64_t>(keyString_.size());
  view_.SetEstimate(EstimateText(secondsLeft));
}

void KeyEntry::PlayTone(KeyEntryTone tone) {
  view_.SetTone(tone.frequencyHz, tone.durationMs);
  view_.PlayTone();
}

}  // namespace quillora
