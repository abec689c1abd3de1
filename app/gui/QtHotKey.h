#pragma once
// The macro hot key of a Qt key press, from its key code and modifiers (never its text, which
// the layout and Shift change): keypad keys give their "Num" names (or, with NumLock off, the
// key they act as), Backtab is Shift+Tab, and a shifted US symbol is its key with Shift ('!' is
// Shift+1). Lone modifiers, Hangul, Hanja and lock keys give key 0.
#include <Qt>

#include "auto/HotKey.h"

HotKey QtHotKey(int key, Qt::KeyboardModifiers modifiers);
