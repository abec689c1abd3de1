#include "auto/ChatLineFilter.h"

ChatPattern ChatLineFilter::Pattern(std::string_view hostPattern) {
    ChatPattern pattern(hostPattern);
    if (!pattern.empty()) addStart(pattern.LeadingLiteral());
    return pattern;
}

std::string ChatLineFilter::Start(std::string text) {
    addStart(text);
    return text;
}

std::string ChatLineFilter::AtSecondByte(std::string text) {
    if (text.empty()) {
        all_ = true;
    } else {
        for (unsigned first = 0; first < 256; ++first)
            addPair(first << 8 | static_cast<uint8_t>(text[0]));
    }
    return text;
}

std::string ChatLineFilter::Anywhere(std::string text) {
    all_ = true;
    return text;
}

void ChatLineFilter::Add(const ChatLineFilter& other) {
    for (size_t i = 0; i < pairs_.size(); ++i)
        pairs_[i] |= other.pairs_[i];
    all_ |= other.all_;
}

// A text of one byte lets through every line that starts with it; an empty one, every line.
void ChatLineFilter::addStart(std::string_view text) {
    if (text.empty()) {
        all_ = true;
        return;
    }
    const unsigned first = static_cast<uint8_t>(text[0]) << 8;
    if (text.size() >= 2) {
        addPair(first | static_cast<uint8_t>(text[1]));
        return;
    }
    for (unsigned second = 0; second < 256; ++second)
        addPair(first | second);
}
