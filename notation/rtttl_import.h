// RTTTL import: a ringtone written in RTTTL, the text form in which most
// shared ringtones travel (Tune:d=4,o=5,b=100:8c6,8e6,4g6,p), turned into
// the phone composer's notation.
//
// Data flow: the text is cut at its first two colons into the title, the
// defaults (d, o, b in any order, each optional; RTTTL's own defaults are 4,
// 6 and 63) and the notes. Each note is read as [length]letter[#][.][octave]
// or [length]letter[#][octave][.], upper or lower case, blanks anywhere; p is
// a pause. The notes are then fitted to the composer: its octave 1 is RTTTL's
// octave 5, the melody moves by whole octaves until it lies in octaves 1 to
// 3, and notes still outside are folded into the nearest octave. Every
// change that alters what sounds is listed as a warning. The result never
// holds a note that the key list shows as "ERROR".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillora {

struct RtttlImport {
  // Empty when the text was read; otherwise why it is not RTTTL, and the
  // other fields are empty.
  std::string error;
  std::string title;
  // Quarter notes per minute: RTTTL's beats per minute, kept within the
  // composer's tempos 4 to 899.
  std::int32_t tempo = 0;
  // The melody in the composer's notation, notes separated by one space.
  std::string notes;
  std::vector<std::string> warnings;

  bool ok() const { return error.empty(); }
};

RtttlImport ImportRtttl(std::string_view text);

}  // namespace quillora
