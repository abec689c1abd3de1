#include "baduk/InputLine.h"

namespace InputLine {

std::string Cut(std::string_view cp949) {
    size_t end = 0;
    while (end < cp949.size()) {
        size_t width = static_cast<uint8_t>(cp949[end]) >= 0x81 ? 2 : 1;
        if (end + width > kMaxBytes || end + width > cp949.size()) break;
        end += width;
    }
    return std::string(cp949.substr(0, end));
}

Action ActionFor(Key key, bool ctrl, bool atLineStart) {
    switch (key) {
        case Key::Enter:
            return ctrl ? Action::Nothing : Action::Send;
        case Key::Tab:
            return ctrl ? Action::Default : Action::InsertTab;
        case Key::Delete:
            return ctrl ? Action::ClearAll : Action::Default;
        case Key::U:
            return ctrl ? Action::ClearLine : Action::Default;
        case Key::Backspace:
            return atLineStart ? Action::Nothing : Action::Default;
        case Key::Other:
            return Action::Default;
    }
    return Action::Default;
}

}  // namespace InputLine
