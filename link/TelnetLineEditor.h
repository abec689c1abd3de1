#pragma once
// The line the user types while the host does not echo: it is shown here as it is typed and
// edited (backspace, Ctrl-U), and sent whole when the user ends it.
#include <cstdint>
#include <string>

class TelnetLineEditor {
public:
    // Takes one typed byte; appends to `echo` what the terminal should show and to `send`
    // what goes to the host now (a finished line with CR LF).
    void type(uint8_t c, std::string& echo, std::string& send);

private:
    // Where the last character of the line starts: a byte with bit 7 set begins a
    // double-byte character.
    size_t lastCharacterStart() const;

    std::string line_;
    bool afterCr_ = false;  // the line just ended with a CR: an LF that follows belongs to it
};
