#include "app/gui/QtHotKey.h"

#include <string>
#include <utility>

namespace {

// Keys by name; Return and Enter are both "Enter".
const std::pair<int, const char*> kNamedKeys[] = {
    {Qt::Key_PageUp, "Page Up"}, {Qt::Key_PageDown, "Page Down"}, {Qt::Key_Home, "Home"},
    {Qt::Key_End, "End"},        {Qt::Key_Left, "Left"},          {Qt::Key_Up, "Up"},
    {Qt::Key_Right, "Right"},    {Qt::Key_Down, "Down"},          {Qt::Key_Insert, "Insert"},
    {Qt::Key_Delete, "Delete"},  {Qt::Key_Escape, "Esc"},         {Qt::Key_Backspace, "Backspace"},
    {Qt::Key_Tab, "Tab"},        {Qt::Key_Return, "Enter"},       {Qt::Key_Enter, "Enter"},
    {Qt::Key_Pause, "Pause"},    {Qt::Key_Print, "Prnt Scrn"},
};

// The keypad's own names while it types digits and operators; "/" keeps its plain name.
std::string keypadName(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return "Num " + std::to_string(key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Asterisk:
            return "Num *";
        case Qt::Key_Plus:
            return "Num +";
        case Qt::Key_Minus:
            return "Num -";
        case Qt::Key_Period:
        case Qt::Key_Comma:  // the keypad point of layouts with a decimal comma
            return "Num Del";
        default:
            return "";
    }
}

}  // namespace

HotKey QtHotKey(int key, Qt::KeyboardModifiers modifiers) {
    HotKey hot{(modifiers & Qt::ControlModifier) != 0, (modifiers & Qt::ShiftModifier) != 0,
               (modifiers & Qt::AltModifier) != 0, 0};
    if (key == Qt::Key_Backtab) {
        hot.shift = true;
        key = Qt::Key_Tab;
    }
    if (modifiers & Qt::KeypadModifier) {
        const std::string name = keypadName(key);
        if (!name.empty()) {
            hot.key = KeyCodeOf(name);
            return hot;
        }
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        hot.key = KeyCodeOf("F" + std::to_string(key - Qt::Key_F1 + 1));
        return hot;
    }
    for (const auto& [code, name] : kNamedKeys)
        if (code == key) {
            hot.key = KeyCodeOf(name);
            return hot;
        }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {  // the same code with or without Shift
        hot.key = KeyCodeOf(std::string(1, static_cast<char>(key)));
    } else if (key >= 0x20 && key <= 0x7E) {
        const HotKey typed = HotKeyOfCharacter(static_cast<char>(key));
        hot.key = typed.key;
        hot.shift = hot.shift || typed.shift;
    }
    return hot;
}
