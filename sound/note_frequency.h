// Frequencies from note names: "A", "C#", "O3A", "<<G-", "N48".
//
// The scale is equal-tempered with A of octave 4 at 440 Hz; an octave runs
// from A up to G sharp. A note without an octave takes the octave of the
// note before it, through the caller's octave memory.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillora {

// Returns the frequency in whole hertz (20 to 20000) of `text`, or 0 when the
// text is no valid note or its frequency lies outside 20..20000.
//
// Grammar, after trimming blanks and ignoring letter case:
//   "N" followed by a note number 0..121 (A of octave 0 is note 0), or
//   an optional octave prefix, "O" and one digit 0..9, or a run of "<" and
//   ">" (an octave down or up, kept within 0..9), then a letter A..G, then
//   an optional "#" or "+" (sharp) or "-" (flat). B and E have no sharp, C
//   and F no flat; A flat is G sharp of the octave below.
// `octave` is read as the starting octave and, for a valid note, receives
// the octave the text ends in, even when the frequency is out of range.
std::int32_t ParseNoteFrequency(std::string_view text, std::int32_t& octave);

}  // namespace quillora
