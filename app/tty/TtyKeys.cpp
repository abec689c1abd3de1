#include "app/tty/TtyKeys.h"

#include <cstdlib>

namespace {

constexpr char ESC = 0x1B;
constexpr std::string_view kPasteEnd = "\x1b[201~";
constexpr size_t kLongestSequence = 32;

TtyKey plain(TtyKey::Kind kind) {
    return TtyKey{kind, {}, TWKey::F1, 0};
}

TtyKey key(TWKey k, unsigned modifiers) {
    return TtyKey{TtyKey::Kind::Key, {}, k, modifiers};
}

// xterm's modifier parameter: 1 + (1 Shift, 2 Alt, 4 Ctrl).
unsigned modifiersOf(int parameter) {
    if (parameter < 2) return 0;
    const int bits = parameter - 1;
    return (bits & 1 ? kTWShift : 0u) | (bits & 2 ? kTWAlt : 0u) | (bits & 4 ? kTWCtrl : 0u);
}

TtyKey functionKey(int number, unsigned modifiers) {
    return key(static_cast<TWKey>(static_cast<int>(TWKey::F1) + number - 1), modifiers);
}

// The editing key of a "CSI n ~" number.
bool editingKey(int code, TtyKey::Kind& kind) {
    static const std::pair<int, TtyKey::Kind> keys[] = {
        {1, TtyKey::Kind::Home}, {2, TtyKey::Kind::Insert}, {3, TtyKey::Kind::Delete},
        {4, TtyKey::Kind::End},  {5, TtyKey::Kind::PageUp}, {6, TtyKey::Kind::PageDown},
        {7, TtyKey::Kind::Home}, {8, TtyKey::Kind::End}};
    for (const auto& [number, k] : keys)
        if (number == code) {
            kind = k;
            return true;
        }
    return false;
}

// The function key of a "CSI n ~" number, 0 for none.
int functionNumber(int code) {
    static const int codes[] = {11, 12, 13, 14, 15, 17, 18, 19, 20, 21,
                                23, 24, 25, 26, 28, 29, 31, 32, 33, 34};
    for (int i = 0; i < 20; ++i)
        if (codes[i] == code) return i + 1;
    return 0;
}

bool cursorKey(char c, TWKey& k) {
    switch (c) {
        case 'A':
            k = TWKey::Up;
            return true;
        case 'B':
            k = TWKey::Down;
            return true;
        case 'C':
            k = TWKey::Right;
            return true;
        case 'D':
            k = TWKey::Left;
            return true;
        default:
            return false;
    }
}

size_t utf8Length(uint8_t lead) {
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

TtyKey TtyKeys::FoldShiftedFunctionKey(TtyKey k) {
    const int number = static_cast<int>(k.key) - static_cast<int>(TWKey::F1) + 1;
    if (k.kind == TtyKey::Kind::Key && (k.modifiers & kTWShift) && number >= 1 && number <= 10) {
        k.key = static_cast<TWKey>(static_cast<int>(k.key) + 10);
        k.modifiers &= ~kTWShift;
    }
    return k;
}

void TtyKeys::Feed(std::string_view bytes, std::vector<TtyKey>& out) {
    held_.append(bytes);
    size_t at = 0;
    while (at < held_.size()) {
        if (inPaste_) {
            held_.erase(0, at);
            at = 0;
            feedPaste(out);
            if (inPaste_) return;
            continue;
        }
        const size_t used = decodeOne(at, out);
        if (used == 0) break;
        at += used;
    }
    held_.erase(0, at);
}

void TtyKeys::Flush(std::vector<TtyKey>& out) {
    while (Pending()) {
        if (held_[0] == ESC) {
            out.push_back(plain(TtyKey::Kind::Escape));
            held_.erase(0, 1);
            Feed("", out);
        } else {
            addText(held_, out);  // a character cut short
            held_.clear();
        }
    }
}

size_t TtyKeys::decodeOne(size_t at, std::vector<TtyKey>& out) {
    const uint8_t b = static_cast<uint8_t>(held_[at]);
    if (b == ESC) return decodeEscape(at, out);
    if (b == kCommandByte) {
        out.push_back(plain(TtyKey::Kind::Command));
        return 1;
    }
    if (b == 0x7F || b == 0x08) {
        out.push_back(plain(TtyKey::Kind::Backspace));
        return 1;
    }
    const size_t length = utf8Length(b);
    if (at + length > held_.size()) return 0;
    addText(std::string_view(held_).substr(at, length), out);
    return length;
}

size_t TtyKeys::decodeEscape(size_t at, std::vector<TtyKey>& out) {
    if (at + 1 >= held_.size()) return 0;
    if (held_[at + 1] == '[') return decodeCsi(at, out);
    if (held_[at + 1] == 'O') return decodeSs3(at, out);
    const char next = held_[at + 1];
    if (next >= 0x20 && next <= 0x7E) {
        out.push_back(TtyKey{TtyKey::Kind::Alt, std::string(1, next), TWKey::F1, 0});
        return 2;
    }
    out.push_back(plain(TtyKey::Kind::Escape));
    return 1;
}

size_t TtyKeys::decodeCsi(size_t at, std::vector<TtyKey>& out) {
    size_t end = at + 2;
    while (end < held_.size() && (held_[end] < 0x40 || held_[end] > 0x7E))
        ++end;
    if (end >= held_.size()) return end - at > kLongestSequence ? end - at : 0;
    const std::string params = held_.substr(at + 2, end - at - 2);
    const char final = held_[end];
    const size_t used = end - at + 1;

    const int first = std::atoi(params.c_str());
    const size_t semicolon = params.find(';');
    const unsigned modifiers =
        semicolon == std::string::npos ? 0 : modifiersOf(std::atoi(params.c_str() + semicolon + 1));
    TWKey k;
    TtyKey::Kind editing;
    if (final == '~' && params == "200") {
        inPaste_ = true;
        paste_.clear();
    } else if (cursorKey(final, k)) {
        out.push_back(key(k, modifiers));
    } else if (final >= 'P' && final <= 'S') {
        out.push_back(functionKey(final - 'P' + 1, modifiers));
    } else if (final == 'H' || final == 'F') {
        out.push_back(TtyKey{
            final == 'H' ? TtyKey::Kind::Home : TtyKey::Kind::End, {}, TWKey::F1, modifiers});
    } else if (final == '~' && editingKey(first, editing)) {
        out.push_back(TtyKey{editing, {}, TWKey::F1, modifiers});
    } else if (final == '~' && functionNumber(first)) {
        out.push_back(functionKey(functionNumber(first), modifiers));
    }
    return used;  // anything else (reports) is dropped
}

size_t TtyKeys::decodeSs3(size_t at, std::vector<TtyKey>& out) {
    if (at + 2 >= held_.size()) return 0;
    const char c = held_[at + 2];
    TWKey k;
    if (cursorKey(c, k)) {
        out.push_back(key(k, 0));
    } else if (c == 'H' || c == 'F') {
        out.push_back(plain(c == 'H' ? TtyKey::Kind::Home : TtyKey::Kind::End));
    } else if (c >= 'P' && c <= 'S') {
        out.push_back(functionKey(c - 'P' + 1, 0));
    } else if (c >= 'p' && c <= 'y') {
        const TWKey digit = static_cast<TWKey>(static_cast<int>(TWKey::Keypad0) + (c - 'p'));
        out.push_back(TtyKey{TtyKey::Kind::Keypad, std::string(1, '0' + (c - 'p')), digit, 0});
    } else if (c == 'm') {
        out.push_back(TtyKey{TtyKey::Kind::Keypad, "-", TWKey::KeypadMinus, 0});
    } else if (c == 'M') {
        addText("\r", out);
    } else {
        // The other keypad keys type their character: + , . * / =
        static const std::string_view from = "klnjoX", to = "+,.*/=";
        const size_t i = from.find(c);
        if (i != std::string_view::npos) addText(to.substr(i, 1), out);
    }
    return 3;
}

void TtyKeys::feedPaste(std::vector<TtyKey>& out) {
    const size_t end = held_.find(kPasteEnd);
    if (end == std::string::npos) {
        // Keep a tail that may be the start of the end marker.
        const size_t keep = std::min(held_.size(), kPasteEnd.size() - 1);
        paste_.append(held_, 0, held_.size() - keep);
        held_.erase(0, held_.size() - keep);
        return;
    }
    paste_.append(held_, 0, end);
    held_.erase(0, end + kPasteEnd.size());
    inPaste_ = false;
    out.push_back(TtyKey{TtyKey::Kind::Paste, std::move(paste_), TWKey::F1, 0});
    paste_.clear();
}

// A control byte is a key of its own (Ctrl with a letter), never joined to other text.
void TtyKeys::addText(std::string_view text, std::vector<TtyKey>& out) {
    auto control = [](std::string_view t) {
        return t.size() == 1 && static_cast<uint8_t>(t[0]) < 0x20;
    };
    if (!out.empty() && out.back().kind == TtyKey::Kind::Text && !control(text) &&
        !control(out.back().text)) {
        out.back().text.append(text);
        return;
    }
    out.push_back(TtyKey{TtyKey::Kind::Text, std::string(text), TWKey::F1, 0});
}
