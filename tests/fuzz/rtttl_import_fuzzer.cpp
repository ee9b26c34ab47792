// Any bytes as RTTTL: the reader must not crash; what it accepts must give
// a melody whose key list has no "ERROR" and whose tempo the player takes,
// and what it refuses must say why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "notation/key_sequence.h"
#include "notation/rtttl_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static const auto table = std::make_unique<quillora::NoteTable>();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const quillora::RtttlImport result = quillora::ImportRtttl(text);
  if (!result.ok()) {
    if (!result.notes.empty()) std::abort();
    return 0;
  }
  if (result.tempo < 4 || result.tempo > 899) std::abort();
  const quillora::KeySequence keys =
      quillora::GenerateKeySequence(result.notes, *table);
  if (keys.keys.find("ERROR") != std::string::npos) std::abort();
  return 0;
}
