#include "app/tty/TtyChatLine.h"

#include <utility>

#include "app/tty/TtyScreen.h"
#include "platform/TextCodec.h"

namespace {

constexpr const char* kLabel = " 채팅> ";

bool isContinuation(char c) {
    return (static_cast<uint8_t>(c) & 0xC0) == 0x80;
}

// Where the UTF-8 character after `at` starts.
size_t nextCharacter(const std::string& text, size_t at) {
    do
        ++at;
    while (at < text.size() && isContinuation(text[at]));
    return at;
}

// The plain arrow keys are the line's; with modifiers they stay the session's.
bool isArrow(const TtyKey& key) {
    const bool arrow = key.key == TWKey::Up || key.key == TWKey::Down || key.key == TWKey::Left ||
                       key.key == TWKey::Right;
    return arrow && key.modifiers == 0;
}

}  // namespace

TtyChatLine::TtyChatLine(ChatSession& session, std::function<void()> changed)
    : line_(session), changed_(std::move(changed)) {}

void TtyChatLine::Open() {
    const std::string prefix = cp949ToUtf8Lossy(line_.ProtectedPrefix());
    if (!field_.starts_with(prefix)) field_ = prefix;
    open_ = true;
    changed_();
}

void TtyChatLine::PutText(const std::string& text) {
    setField(line_.ProtectedPrefix() + text);
    open_ = true;
    changed_();
}

void TtyChatLine::Close() {
    open_ = false;
    changed_();
}

bool TtyChatLine::OnKey(const TtyKey& key) {
    if (!open_) return false;
    switch (key.kind) {
        case TtyKey::Kind::Text:
            key.text == "\r" ? enter() : type(key.text);
            break;
        case TtyKey::Kind::Paste:
        case TtyKey::Kind::Keypad:
            type(key.text);
            break;
        case TtyKey::Kind::Backspace:
            backspace();
            break;
        case TtyKey::Kind::Escape:
            escape();
            break;
        case TtyKey::Kind::Key:
            if (!isArrow(key)) return false;
            if (key.key == TWKey::Up || key.key == TWKey::Down) history(key.key == TWKey::Up);
            break;
        case TtyKey::Kind::Delete:
        case TtyKey::Kind::Home:
        case TtyKey::Kind::End:
        case TtyKey::Kind::Insert:
            break;  // the line is edited at its end only
        default:
            return false;
    }
    changed_();
    return true;
}

// Control bytes and pasted line ends are dropped: Enter is the only way a line is sent.
void TtyChatLine::type(const std::string& utf8) {
    for (char c : utf8)
        if (static_cast<uint8_t>(c) >= 0x20 && c != 0x7F) field_ += c;
}

void TtyChatLine::backspace() {
    const size_t prefix = cp949ToUtf8Lossy(line_.ProtectedPrefix()).size();
    if (field_.size() > prefix) DropLastCharacter(field_);
}

void TtyChatLine::enter() {
    setField(line_.Enter(utf8ToCp949Lossy(field_)));
}

void TtyChatLine::history(bool up) {
    const std::optional<std::string> text =
        up ? line_.HistoryUp(utf8ToCp949Lossy(field_)) : line_.HistoryDown();
    if (text) setField(*text);
}

void TtyChatLine::escape() {
    if (line_.Escape()) return;
    open_ = false;
    if (escaped) escaped();
}

void TtyChatLine::setField(const std::string& cp949) {
    field_ = cp949ToUtf8Lossy(cp949);
}

// The end of the field that fits after the label with a cell left for the caret.
// While the command shell runs, its prompt stands alone at the start of the line.
std::string TtyChatLine::visibleText(int width) const {
    const std::string label = line_.ShellOn() ? " " : kLabel;
    const int room = width - DisplayWidth(label) - 1;
    size_t from = 0;
    while (from < field_.size() && DisplayWidth(field_.substr(from)) > room)
        from = nextCharacter(field_, from);
    return label + field_.substr(from);
}

std::string TtyChatLine::StatusText(int width) const {
    return FitToWidth(visibleText(width), width);
}

int TtyChatLine::Caret(int width) const {
    return DisplayWidth(visibleText(width));
}
