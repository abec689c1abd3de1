#pragma once
// Which lines a service's notices could be, told by their first two bytes. In a chat room most
// lines are someone talking; they are turned away here before any notice pattern is tried.
// Every notice pattern and text is made through the filter, so none can be left out of it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "auto/ChatPattern.h"

class ChatLineFilter {
public:
    // A pattern (host text); the lines it could match are let through.
    ChatPattern Pattern(std::string_view hostPattern);
    // A text looked for at the line start (or as the whole line): returned as it is.
    std::string Start(std::string text);
    // A text looked for from the line's second byte on.
    std::string AtSecondByte(std::string text);
    // A text looked for anywhere in the line: every line is let through.
    std::string Anywhere(std::string text);
    void Add(const ChatLineFilter& other);

    // False only for a line that none of the filter's patterns and texts could match.
    bool MayMatch(std::string_view line) const {
        if (all_ || line.size() < 2) return true;
        const unsigned pair = static_cast<uint8_t>(line[0]) << 8 | static_cast<uint8_t>(line[1]);
        return (pairs_[pair / 64] >> (pair % 64)) & 1;
    }

private:
    void addStart(std::string_view text);
    void addPair(unsigned pair) { pairs_[pair / 64] |= uint64_t{1} << (pair % 64); }

    // A bit for each first byte times 256 plus the second; kept apart from the owner's other
    // fields, which a line's work then finds together.
    std::vector<uint64_t> pairs_ = std::vector<uint64_t>(65536 / 64);
    bool all_ = false;
};
