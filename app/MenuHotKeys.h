#pragma once
// The hot keys of the command table's shortcuts, which a macro takes over from the menus when
// the user agrees.
#include <vector>

#include "auto/HotKey.h"

std::vector<HotKey> MenuHotKeys();
