#include "keyentry/window_key_entry_view.h"

namespace quillora {

WindowKeyEntryView::WindowKeyEntryView(const KeyEntryControls& controls)
    : controls_(controls) {}

std::string WindowKeyEntryView::KeyListText() const {
  return controls_.keyList->Text();
}

std::string WindowKeyEntryView::SecondsPerKeyText() const {
  return controls_.secondsPerKey->Text();
}

bool WindowKeyEntryView::BeepsOn() const {
  return controls_.beepsOn->Checked();
}

void WindowKeyEntryView::SetStatus(std::string_view text) {
  controls_.status->SetCaption(std::string(text));
}

void WindowKeyEntryView::SetEstimate(std::string_view text) {
  controls_.estimate->SetCaption(std::string(text));
}

void WindowKeyEntryView::SetEstimateVisible(bool visible) {
  controls_.estimate->SetVisible(visible);
}

void WindowKeyEntryView::SetGaugeVisible(bool visible) {
  controls_.gauge->SetVisible(visible);
}

void WindowKeyEntryView::ResetGauge(int keyCount) {
  controls_.gauge->SetMinValue(0);
  controls_.gauge->SetMaxValue(keyCount);
  controls_.gauge->SetProgress(0);
}

void WindowKeyEntryView::AdvanceGauge() {
  controls_.gauge->SetProgress(controls_.gauge->Progress() + 1);
}

void WindowKeyEntryView::CopyKeypad(std::optional<KeypadKey> key) {
  const TImage& source =
      key ? *controls_.litKeypads[KeypadIndex(*key)] : *controls_.unlitKeypad;
  // The whole keypad: the same rectangle in both pictures.
  const TRect whole{0, 0, controls_.keypad->Width(),
                    controls_.keypad->Height()};
  controls_.keypad->Canvas().CopyRect(whole, source.Canvas(), whole);
}

void WindowKeyEntryView::RepaintKeypad() { controls_.keypad->Repaint(); }

void WindowKeyEntryView::SetTone(int frequencyHz, int durationMs) {
  controls_.beeper->SetFrequency(frequencyHz);
  controls_.beeper->SetDuration(durationMs);
}

void WindowKeyEntryView::PlayTone() { controls_.beeper->Play(); }

bool WindowKeyEntryView::TimerEnabled() const {
  return controls_.timer->Enabled();
}

void WindowKeyEntryView::SetTimerEnabled(bool enabled) {
  controls_.timer->SetEnabled(enabled);
}

void WindowKeyEntryView::SetTimerInterval(int milliseconds) {
  controls_.timer->SetInterval(milliseconds);
}

}  // namespace quillora
