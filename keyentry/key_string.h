// KeyString: the keys the key entry has still to show, and how it is built
// from the key list.
#pragma once

#include <string>
#include <string_view>

namespace quillora {

// The key presses still to be shown, in order, one character per press ("0"
// to "9", "*", "#"). Empty at start-up; lives for the whole program. START
// rebuilds it, each tick takes its first character, STOP empties it. Only
// the window thread touches it.
extern std::string KeyString;

// The key characters of a key list (items each followed by ", ", pauses
// with a leading space): every comma and every space removed, then the
// blanks at both ends. "1, 2#,  0, 5, " gives "12#05".
std::string KeyStringFromKeyList(std::string_view keyList);

}  // namespace quillora
