#pragma once
// The macro hot key of a key the host terminal reported: function, cursor, keypad and editing
// keys with their modifiers, Alt with a printable key (a capital adding Shift), and control
// bytes as Ctrl with a letter (Tab, Enter and Backspace stay themselves). Keys a terminal cannot
// tell apart (Ctrl+Shift+A, Ctrl+1) never arrive; those macros run from the macro list.
#include "app/tty/TtyKeys.h"
#include "auto/HotKey.h"

// Key 0 for a key that is no hot key (typed text, the command key, a paste).
HotKey TtyHotKey(const TtyKey& key);
