#include "support/composer_model.h"

namespace quillora::testing_support {

std::optional<std::vector<ComposedNote>> ReplayKeys(std::string_view keyList) {
  // Semitone of the white note on each key "1".."7": C D E F G A B.
  static constexpr std::int32_t kWhiteSemitone[7] = {0, 2, 4, 5, 7, 9, 11};

  std::vector<ComposedNote> melody;
  std::int32_t length = 4;
  std::int32_t octave = 1;
  // While the last entry is a pause, its length presses are its own: the
  // next entry starts from the length in force before the pause.
  // 0 while the last entry is a note.
  std::int32_t lengthBeforePause = 0;
  bool sharpAllowed = false;

  auto enter = [&](ComposedNote note) {
    if (lengthBeforePause != 0) {
      length = lengthBeforePause;
      lengthBeforePause = 0;
    }
    note.duration = length;
    if (note.pause) {
      lengthBeforePause = length;
    } else {
      note.octave = octave;
    }
    melody.push_back(note);
  };

  for (const char key : keyList) {
    const bool afterNoteKey = sharpAllowed;
    sharpAllowed = false;
    switch (key) {
      case ',':
      case ' ':
        break;  // separators between items, not presses
      case '1':
      case '2':
      case '3':
      case '4':
      case '5':
      case '6':
      case '7': {
        ComposedNote note;
        note.semitone = kWhiteSemitone[key - '1'];
        enter(note);
        sharpAllowed = true;
        break;
      }
      case '#': {
        if (!afterNoteKey) return std::nullopt;
        ComposedNote& last = melody.back();
        if (last.semitone == 4 || last.semitone == 11) return std::nullopt;
        ++last.semitone;
        break;
      }
      case '0': {
        ComposedNote pause;
        pause.pause = true;
        enter(pause);
        break;
      }
      case '8':
      case '9': {
        if (melody.empty()) return std::nullopt;
        length = key == '8' ? length * 2 : length / 2;
        if (length < 1 || length > 32) return std::nullopt;
        melody.back().duration = length;
        break;
      }
      case '*': {
        if (melody.empty() || melody.back().pause) return std::nullopt;
        octave = octave == 3 ? 1 : octave + 1;
        melody.back().octave = octave;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return melody;
}

}  // namespace quillora::testing_support
