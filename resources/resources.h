// The window pictures, the program's icon and the stored layouts, embedded
// in the program under :/quillora/ (skin.png, about.png, keypad_empty.png,
// keypad_1.png ... keypad_9.png, keypad_0.png, keypad_star.png,
// keypad_hash.png, icons/quillora_<size>.png and layouts/<name>.layout).
// They live in a static library, so a program must call
// InitQuilloraResources() once, before it opens any of them.
#pragma once

#include <string>
#include <vector>

namespace quillora {

void InitQuilloraResources();

// One embedded picture of the program's icon: a square `size` pixels wide.
struct EmbeddedIcon {
  std::string path;
  int size = 0;
};

// The program's icon at every size embedded, smallest first.
std::vector<EmbeddedIcon> ProgramIcons();

}  // namespace quillora
