// Any bytes as a note name: the result is 0 or a frequency from 20 to
// 20000 Hz, and the octave memory only ever holds an octave 0..9.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sound/note_frequency.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the starting octave.
  std::int32_t octave = data[0] % 10;
  const std::string_view text(reinterpret_cast<const char*>(data + 1),
                              size - 1);
  const std::int32_t frequency = quillora::ParseNoteFrequency(text, octave);
  if (frequency != 0 && (frequency < 20 || frequency > 20000)) std::abort();
  if (octave < 0 || octave > 9) std::abort();
  return 0;
}
