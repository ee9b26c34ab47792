// A whole melody as a WAV file: exactly what the melody player sounds,
// rendered offline without waiting in real time.
//
// Data flow: a real MyMidiPlayThread plays the melody into a recording
// sound output, waiting on a virtual clock, so that the player's own token
// reading, voice and tone generator decide every sound. The recording keeps
// each Play (its WAV image and mode) and each Stop at the virtual time it
// happened. The samples are then laid out on that time line: a looping tone
// repeats its image until the next Play or Stop cuts it, as the process's
// sound output does, and silence fills the rest. The file lasts exactly the
// sum of the player's waits.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quillora {

struct MelodyRender {
  // Empty when the file was written; otherwise why not (nothing, or a
  // partial file, was written to the stream).
  std::string error;
  std::uint64_t lengthMilliseconds = 0;  // the sum of the player's waits
  std::uint32_t sampleRate = 0;
  std::uint16_t channels = 0;
  std::uint16_t bitsPerSample = 0;

  bool ok() const { return error.empty(); }
};

// Renders `melodyText` (the composer's notation) at `tempo` (taken as the
// player takes it) and writes a RIFF PCM WAV file to `out`, in the format
// of the player's voice. Refuses a melody too long for one WAV file (4 GB).
MelodyRender RenderMelodyWav(std::string_view melodyText, std::int32_t tempo,
                             std::ostream& out);

}  // namespace quillora
