// The window pictures and stored layouts, embedded in the program under
// :/quillora/ (skin.png, about.png, keypad_empty.png, keypad_1.png ...
// keypad_9.png, keypad_0.png, keypad_star.png, keypad_hash.png, and
// layouts/<name>.layout). They live in a static library, so a program must
// call InitQuilloraResources() once, before it opens any of them.
#pragma once

namespace quillora {

void InitQuilloraResources();

}  // namespace quillora
