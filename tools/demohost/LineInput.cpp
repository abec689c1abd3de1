#include "tools/demohost/LineInput.h"

namespace {

bool isLead(unsigned char c) {
    return c >= 0x81 && c != 0xFF;
}

}  // namespace

std::optional<std::string> LineInput::NextLine(std::string& echo) {
    size_t i = 0;
    while (i < pending_.size()) {
        const unsigned char c = pending_[i++];
        if (inEscape_) {
            // A key's escape sequence (arrows and the like) ends with its final byte.
            inEscape_ = c == 0x1b || c == '[' || c == 'O' || (c >= 0x20 && c < 0x40);
            continue;
        }
        const bool followsCr = afterCr_;
        afterCr_ = c == '\r';
        if (c == 0x1b) {
            inEscape_ = true;
            continue;
        }
        if ((c == '\n' || c == '\0') && followsCr) continue;
        if (c == '\r' || c == '\n') {
            pending_.erase(0, i);
            echo += lineEnd_ == LineEnd::NewLine ? "\r\n" : "\r";
            awaitingTrail_ = false;
            std::string line;
            line.swap(line_);
            return line;
        }
        if (c == 8 || c == 127) {
            rubOut(echo);
        } else if (c >= 0x20 && line_.size() < kMaxLine) {
            line_ += static_cast<char>(c);
            echoTyped(c, echo);
        }
    }
    pending_.clear();
    return std::nullopt;
}

void LineInput::echoTyped(unsigned char c, std::string& echo) {
    if (echo_ == Echo::Masked) {
        echo += '*';
    } else if (awaitingTrail_) {
        echo += line_.substr(line_.size() - 2);  // a double-byte character shows whole
    } else if (!isLead(c)) {
        echo += static_cast<char>(c);
    }
    awaitingTrail_ = !awaitingTrail_ && isLead(c);
}

// The last character goes: two bytes when it is a complete double-byte one.
void LineInput::rubOut(std::string& echo) {
    if (line_.empty()) return;
    size_t last = 0;
    for (size_t k = 0; k < line_.size(); k += isLead(line_[k]) ? 2 : 1)
        last = k;
    const size_t bytes = line_.size() - last;
    line_.erase(last);
    awaitingTrail_ = false;
    for (size_t k = 0; k < bytes; ++k)
        echo += "\b \b";
}
