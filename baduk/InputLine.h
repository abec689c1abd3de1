#pragma once
// The rules of the board window's input line, apart from its widget.
#include <string>
#include <string_view>

namespace InputLine {

constexpr size_t kMaxBytes = 128;
constexpr int kMaxLines = 28;

// The line as sent: at most 128 bytes of CP949, cut before a two-byte character that would
// not fit whole.
std::string Cut(std::string_view cp949);

// Lines to delete from the top so that the caret line stays within the 28 kept.
inline int LinesToDrop(int caretLine) {
    return caretLine >= kMaxLines ? caretLine - kMaxLines + 1 : 0;
}

enum class Key { Enter, Tab, Delete, U, Backspace, Other };
enum class Action { Send, Nothing, InsertTab, ClearAll, ClearLine, Default };
// What a key does: Enter sends (Ctrl+Enter nothing), Tab inserts a tab, Ctrl+Delete clears the
// edit, Ctrl+U the current line, Backspace at the start of a line nothing.
Action ActionFor(Key key, bool ctrl, bool atLineStart);

}  // namespace InputLine
