// RTTTL export: a melody in the composer's notation, with its title and
// tempo, written as one RTTTL line (Title:d=8,o=5,b=100:c6,e6,4g6,p).
//
// Data flow: the melody is first checked with FindMelodyFaults; a melody
// with faulty notes is refused, naming them. Otherwise each note is read
// with the key-sequence generator's ParseNoteToken, so exactly the notes of
// the key list are written: composer octaves 1 to 3 as RTTTL's 5 to 7,
// pauses as p. The defaults are chosen to make the line shortest, and a
// default equal to RTTTL's own (d=4, o=6, b=63) is left out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillora {

struct RtttlExport {
  // The RTTTL line without a line break; empty when refused.
  std::string text;
  // Why the melody cannot be exported, naming its faulty notes; empty on
  // success.
  std::string error;

  bool ok() const { return error.empty(); }
};

// `tempo` is the composer's tempo; one outside 4 to 899 is written as 120,
// the tempo the player plays it at. Colons and control characters, which
// RTTTL's title cannot hold, are left out of the title.
RtttlExport ExportRtttl(std::string_view title, std::string_view melodyText,
                        std::int32_t tempo);

}  // namespace quillora
