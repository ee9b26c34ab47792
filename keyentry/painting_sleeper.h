// The key entry's wait on the window thread.
#pragma once

#include "base/sleeper.h"

namespace quillora {

// Blocks the window thread like a plain sleep, but first brings every
// shown window up to date on the screen, so that what the key entry drew
// before the wait (the released keypad, the status) is seen during it. No
// timer tick, input or other handler runs meanwhile. Window thread only;
// lives for the whole program.
Sleeper& PaintingSleeper();

}  // namespace quillora
