#include "link/TelnetLineEditor.h"

namespace {

constexpr uint8_t kBackspace = 8;
constexpr uint8_t kLf = 10;
constexpr uint8_t kCr = 13;
constexpr uint8_t kEraseLine = 21;  // Ctrl-U

}  // namespace

void TelnetLineEditor::type(uint8_t c, std::string& echo, std::string& send) {
    const bool lfOfCrLf = afterCr_ && c == kLf;
    afterCr_ = c == kCr;
    if (lfOfCrLf) return;
    switch (c) {
        case kBackspace: {
            if (line_.empty()) return;
            const size_t cells = line_.size() - lastCharacterStart();
            line_.resize(line_.size() - cells);
            echo += std::string(cells, '\b') + std::string(cells, ' ') + std::string(cells, '\b');
            return;
        }
        case kCr:
        case kLf:
            echo += "\r\n";
            send += line_ + "\r\n";
            line_.clear();
            return;
        case kEraseLine:
            echo += std::string(line_.size(), '\b') + std::string(line_.size(), ' ') +
                    std::string(line_.size(), '\b');
            line_.clear();
            return;
        default:
            line_ += static_cast<char>(c);
            echo += static_cast<char>(c);
    }
}

// A double-byte character fills two cells and takes two bytes, so bytes stand for cells.
size_t TelnetLineEditor::lastCharacterStart() const {
    size_t start = 0;
    for (size_t i = 0; i < line_.size();) {
        start = i;
        i += (static_cast<uint8_t>(line_[i]) & 0x80) ? 2 : 1;
    }
    return start;
}
