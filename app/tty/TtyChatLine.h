#pragma once
// The chat input line on the tty's status line (the command key's "i"): a typed line goes
// through the chat input line's rules (head and tail texts, "/exec" lines to the command shell,
// history on Up and Down). It stays open until Esc and never blocks: the session keeps running
// and the command key still gives the commands. While the command shell runs in the line, its
// prompt stands before the typed text as a protected prefix that Backspace stops at.
#include <functional>
#include <string>

#include "app/tty/TtyKeys.h"
#include "auto/ChatInputLine.h"

class TtyChatLine {
public:
    // changed: the status line must be drawn again.
    TtyChatLine(ChatSession& session, std::function<void()> changed);

    ChatInputLine& Line() { return line_; }
    bool IsOpen() const { return open_; }
    // Opens the line with what it held when it was closed (the protected prefix at least).
    void Open();
    // Opens the line holding `text` (CP949) after the protected prefix.
    void PutText(const std::string& text);
    void Close();
    // Esc closed the line (not when it only left the history).
    std::function<void()> escaped;

    // False while the line is closed, and for keys it has no use for (function keys, Alt
    // keys, PageUp and PageDown), which go on to the session or the scroll-back.
    bool OnKey(const TtyKey& key);

    // The status line (UTF-8), exactly `width` cells: a label and the end of the field that
    // fits.
    std::string StatusText(int width) const;
    // The caret's cell on the status line.
    int Caret(int width) const;

private:
    void type(const std::string& utf8);
    void backspace();
    void enter();
    void history(bool up);
    void escape();
    void setField(const std::string& cp949);
    std::string visibleText(int width) const;

    ChatInputLine line_;
    std::function<void()> changed_;
    std::string field_;  // UTF-8, the protected prefix included
    bool open_ = false;
};
