#pragma once
// Key events as the tty's key reader makes them, for the tests of what takes them.
#include <string>

#include "app/tty/TtyKeys.h"

inline TtyKey text(const std::string& t) {
    return TtyKey{TtyKey::Kind::Text, t, TWKey::F1, 0};
}
inline TtyKey key(TWKey k, unsigned modifiers = 0) {
    return TtyKey{TtyKey::Kind::Key, {}, k, modifiers};
}
inline TtyKey plain(TtyKey::Kind kind) {
    return TtyKey{kind, {}, TWKey::F1, 0};
}
