#pragma once
// Turns the bytes a host terminal sends for keys into key events as they were pressed: typed
// text (each control byte on its own), the function, cursor, keypad and editing keys in their
// ESC O and CSI forms (with xterm's modifier parameters), Backspace (0x7F or 0x08), a lone Esc,
// Esc with a printable byte (Alt with a key), the command key Ctrl-] and a bracketed paste.
// A lone Esc cannot be told from the start of a sequence until a moment passes: while
// Pending(), the caller calls Flush() after a short time-out.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "term/TWEmulator.h"

struct TtyKey {
    enum class Kind {
        Text,    // text: UTF-8 characters, or one control byte, to be sent as typed
        Key,     // key, modifiers: translated by the terminal
        Keypad,  // key: a keypad key; text: the character it types otherwise
        Backspace,
        Delete,  // Delete to Insert: modifiers as pressed
        Escape,
        Command,  // Ctrl-]
        PageUp,
        PageDown,
        Home,
        End,
        Insert,
        Alt,    // text: the printable ASCII byte that followed Esc
        Paste,  // text: the pasted text (UTF-8, line ends as the terminal sent them)
    };
    Kind kind = Kind::Text;
    std::string text;
    TWKey key = TWKey::F1;
    unsigned modifiers = 0;

    bool operator==(const TtyKey&) const = default;
};

class TtyKeys {
public:
    static constexpr uint8_t kCommandByte = 0x1D;  // Ctrl-]
    // How long a lone Esc waits for the rest of a sequence.
    static constexpr int kEscapeTimeoutMs = 40;

    void Feed(std::string_view bytes, std::vector<TtyKey>& out);
    // Shift with F1..F10 as the terminal sends it: F11..F20, which keyboards rarely have.
    static TtyKey FoldShiftedFunctionKey(TtyKey key);
    // Bytes wait for the rest of a sequence or character.
    bool Pending() const { return !held_.empty() && !inPaste_; }
    // The time-out passed: what is held is taken as it stands (a lone Esc, an Alt-key pair).
    void Flush(std::vector<TtyKey>& out);

private:
    // How many bytes of held_ from `at` form one event (added to out); 0 when more are needed.
    size_t decodeOne(size_t at, std::vector<TtyKey>& out);
    size_t decodeEscape(size_t at, std::vector<TtyKey>& out);
    size_t decodeCsi(size_t at, std::vector<TtyKey>& out);
    size_t decodeSs3(size_t at, std::vector<TtyKey>& out);
    void feedPaste(std::vector<TtyKey>& out);
    void addText(std::string_view text, std::vector<TtyKey>& out);

    std::string held_;
    bool inPaste_ = false;
    std::string paste_;
};
