// Key entry: the keypad presses of the key list replayed on the phone
// picture, one every few seconds, so that the user can press along.
//
// Data flow: START turns the key list (Memo2) into KeyString and starts the
// key timer at the seconds per key (Edit2). Each tick of the timer takes the
// first character of KeyString: it shows the released keypad for 100 ms,
// then writes the key on the phone display, lights it on the keypad, beeps
// (when beeps are on), advances the gauge and writes the time left. The
// tick that finds KeyString empty ends the entry: a closing two-tone
// signal, the gauge and estimate hidden, the timer off. PAUSE switches the
// timer, STOP empties KeyString so that the next tick ends the entry. The
// phone clock's tick reads KeyString and the timer (key_entry_state.h) and
// sets the status word (phone_status.h) and the time (display_texts.h).
//
// Everything runs on the window thread; the waits block it. They go through
// a Sleeper: the window's (painting_sleeper.h) puts what was drawn on the
// screen before it waits, tests' wait for nothing.
#pragma once

#include <string>

#include "base/sleeper.h"
#include "keyentry/key_entry_view.h"

namespace quillora {

// The key beep, and the two tones of the closing signal.
struct KeyEntryTone {
  int frequencyHz;
  int durationMs;
};
inline constexpr KeyEntryTone kKeyBeep{1000, 200};
inline constexpr KeyEntryTone kClosingFirst{1000, 200};
inline constexpr KeyEntryTone kClosingSecond{2000, 400};
// How long the released keypad stays in view before the next key lights.
inline constexpr int kReleaseMs = 100;

class KeyEntry {
 public:
  // Works on `view` and `keyString` (the program's KeyString), waiting
  // through `sleeper`; all three must outlive the key entry.
  KeyEntry(KeyEntryView& view, std::string& keyString, Sleeper& sleeper);

  void SetSleeper(Sleeper& sleeper) { sleeper_ = &sleeper; }

  // START. A key list with "ERROR" in it shows "ERROR" and starts nothing.
  // Otherwise KeyString is rebuilt, the status reads "START", the timer runs
  // at the seconds per key, and the gauge and estimate show. Throws
  // std::invalid_argument when the seconds per key are not an integer, after
  // KeyString and the status are set and before the timer is touched.
  void Start();
  // PAUSE: with keys left, switches the timer off ("PAUSE") or on again.
  void Pause();
  // STOP: hides the gauge and estimate, shows "STOP", empties KeyString; a
  // running timer ends the entry at its next tick.
  void Stop();
  // One tick of the key timer. Throws std::invalid_argument when the seconds
  // per key are not an integer, after the key is shown, beeped and counted;
  // the estimate then keeps its old text.
  void Tick();

 private:
  void PlayTone(KeyEntryTone tone);

  KeyEntryView& view_;
  std::string& keyString_;
  Sleeper* sleeper_;
};

// The integer value of the seconds-per-key text; throws
// std::invalid_argument("'<text>' is not a valid integer value") otherwise.
int SecondsPerKeyValue(std::string_view text);

}  // namespace quillora
