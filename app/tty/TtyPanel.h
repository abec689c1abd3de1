#pragma once
// A panel that takes the tty's status line while it shows (the dialler, a transfer's
// progress): its text stands in the place of the status line, and it sees the keys before the
// session does. Questions on the status line still come first.
#include <string>

#include "app/tty/TtyKeys.h"

class TtyPanel {
public:
    virtual ~TtyPanel() = default;
    // The status line (UTF-8), exactly `width` cells wide.
    virtual std::string StatusText(int width) const = 0;
    // True when the panel took the key.
    virtual bool OnKey(const TtyKey& key) = 0;
};
