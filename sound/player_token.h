// How the melody player reads one token of a melody: its pitch and its
// length at a tempo. Pure; safe on any thread.
//
// The player is more lenient than the key-sequence parser: a token without
// a leading length is an eighth note, the note name ends at the first digit,
// '.', '-', 'p' or 'P', only the one character after the name is read as
// the octave (none means octave 1), and any length of 1 or more plays as
// that fraction of a whole note.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillora {

enum class PlayerTokenKind {
  kNote,    // sounds `frequency` for the token's length
  kRest,    // silence for the token's length
  kFaulty,  // cannot be evaluated: silences the note before, takes no time
};

struct PlayerToken {
  PlayerTokenKind kind = PlayerTokenKind::kFaulty;
  // Hz for a note; 0 for a rest and for a faulty token.
  std::int32_t frequency = 0;
  // The length in milliseconds, in single precision, as the player compares
  // it with the generator's stored length; 0 for a faulty token.
  float length = 0.0f;
  // The whole milliseconds the player waits: `length` truncated.
  std::int32_t waitMilliseconds = 0;

  friend bool operator==(const PlayerToken&, const PlayerToken&) = default;
};

// Tempos the player takes, in quarter notes per minute. Any other tempo
// plays at kDefaultTempo (1 to 3 too: their quarter of a tempo is 0).
inline constexpr std::int32_t kMinPlayerTempo = 4;
inline constexpr std::int32_t kMaxPlayerTempo = 899;
inline constexpr std::int32_t kDefaultTempo = 120;
std::int32_t PlayerTempo(std::int32_t requested);

// Reads `token` (trimmed, two or more characters) at `tempo` (taken through
// PlayerTempo):
//   length number d: the leading digits, or 8 when there are none; 0 or a
//     value beyond 32 bits makes the token faulty;
//   note name: up to the first digit, '.', '-', 'p' or 'P';
//   octave sign: the one character after the name, "1" when there is none;
//     "-", "p" or "P" makes the token a rest, a '.' (only in text that was
//     not normalised) makes it faulty;
//   octave k: the sign's digit, less 4 when above 4; 0 sounds as 1;
//   frequency: trunc(base(semitone) x 2^(k-1) x 8), base(9) = 110 Hz; a
//     name that is no note name gives a rest of the token's length;
//   length: the whole note W = 60 / (tempo div 4) s in single precision,
//     then W / d x 925 ms, rounded to single precision.
PlayerToken ReadPlayerToken(std::string_view token, std::int32_t tempo);

}  // namespace quillora
