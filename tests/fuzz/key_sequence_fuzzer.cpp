// Any bytes as a melody: the generator must not crash, must count every
// token, and must keep its key list made of keys, separators and ERROR.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "notation/key_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static const auto table = std::make_unique<quillora::NoteTable>();
  const std::string_view melody(reinterpret_cast<const char*>(data), size);
  const quillora::KeySequence result =
      quillora::GenerateKeySequence(melody, *table);
  if (result.noteCount < 0 || table->NoteCount != result.noteCount)
    std::abort();
  for (const char c : result.keys) {
    if (std::string_view("0123456789#*, ERRO").find(c) ==
        std::string_view::npos)
      std::abort();
  }
  return 0;
}
