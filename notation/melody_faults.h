// Faults explained: every note of a melody that the key list shows as
// "ERROR", where it was typed and why the phone refuses it.
//
// Data flow: the typed text is split into notes exactly as the key-sequence
// generator splits it (TypedMelody); each note is parsed with the
// generator's own ParseNoteToken and judged by the generator's checks in the
// generator's order (note name, then length, then octave), so a note is
// listed here exactly when its item in the key list is "ERROR". The reason
// names the first check that fails, in words a user can act on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillora {

struct MelodyFault {
  std::int32_t noteIndex = 0;  // position among the counted notes, from 0
  std::int32_t line = 1;       // 1-based line of the token's first byte
  std::int32_t column = 1;     // 1-based byte column of that byte
  std::size_t offset = 0;      // byte range of the token in the typed text
  std::size_t length = 0;
  std::string token;   // as typed, without line breaks inside it
  std::string reason;  // for instance "E has no sharp on the phone"
};

// Every faulty note of `melodyText`, in order. Linear in its length.
std::vector<MelodyFault> FindMelodyFaults(std::string_view melodyText);

// Why the key list shows "ERROR" for the one token `normalised` (as the
// generator reads it), or std::nullopt when the phone takes it. `typed` is
// the same token as typed (same length; '.' where the user wrote '.'), used
// to quote the user's own spelling.
std::optional<std::string> TokenFaultReason(std::string_view normalised,
                                            std::string_view typed);

// "LINE:COLUMN: TOKEN: REASON", the form of one fault in listings.
std::string FormatFault(const MelodyFault& fault);

}  // namespace quillora
