#include "auto/ChatPattern.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "auto/DoubleByteText.h"

namespace {

constexpr int kMaxWidth = 10000;

// The classes of the ASCII bytes, looked up for each byte of a run.
enum : uint8_t { kSpace = 1, kDigit = 2, kAlnum = 4, kNameByte = 8 };

constexpr std::array<uint8_t, 128> kAsciiClasses = [] {
    std::array<uint8_t, 128> classes{};
    for (int c : {' ', '\t', '\r', '\n', '\v', '\f'})
        classes[c] = kSpace;
    for (int c = 0x21; c <= 0x7E; ++c) {
        const bool digit = c >= '0' && c <= '9';
        const bool alnum = digit || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool bracket = c == '>' || c == '(' || c == ')' || c == '"';
        classes[c] = (digit ? kDigit : 0) | (alnum ? kAlnum : 0) | (bracket ? 0 : kNameByte);
    }
    return classes;
}();

bool isAscii(uint8_t c, uint8_t classes) {
    return c < 0x80 && (kAsciiClasses[c] & classes) != 0;
}

bool isSpaceAt(std::string_view line, size_t p) {
    return p < line.size() && isAscii(static_cast<uint8_t>(line[p]), kSpace);
}

// Hangul, Hanja, kana, Cyrillic, the symbol rows 0xA1/0xA2/0xA4/0xA7 and the full-width
// digits and letters of row 0xA3.
bool isWordPair(uint8_t lead, uint8_t trail) {
    if ((lead >= 0xB0 && lead <= 0xC8) || (lead >= 0xCA && lead <= 0xFD)) return true;
    if ((lead >= 0xAA && lead <= 0xAC) || lead == 0xA1 || lead == 0xA2 || lead == 0xA4 ||
        lead == 0xA7)
        return true;
    return lead == 0xA3 && ((trail >= 0xB0 && trail <= 0xB9) || (trail >= 0xC1 && trail <= 0xDA) ||
                            (trail >= 0xE1 && trail <= 0xFA));
}

bool isKsByte(uint8_t c) {
    return c >= 0xA1 && c <= 0xFE;
}

// A KS C 5601 pair, by far the most common, is told without the full table check.
size_t charLengthAt(std::string_view line, size_t p) {
    const auto c = static_cast<uint8_t>(line[p]);
    if (c < 0x80) return 1;
    if (isKsByte(c) && p + 1 < line.size() && isKsByte(static_cast<uint8_t>(line[p + 1]))) return 2;
    return CharLength(line, p);
}

// A literal (never empty) at `at`; most tries fail on the first byte.
bool standsAt(std::string_view line, size_t at, std::string_view text) {
    return at + text.size() <= line.size() && line[at] == text[0] &&
           std::memcmp(line.data() + at, text.data(), text.size()) == 0;
}

}  // namespace

// Where the text is found, unless that is inside a pair, when the search goes on from the next
// boundary.
size_t FindOnBoundary(std::string_view line, std::string_view text, size_t from) {
    size_t found = line.find(text, from);
    while (found != std::string_view::npos) {
        while (from < found)
            from += charLengthAt(line, from);
        if (from == found) break;
        found = line.find(text, from);
    }
    return found;
}

size_t SkipSpaces(std::string_view line, size_t p, size_t most) {
    for (size_t n = 0; n < most && isSpaceAt(line, p); ++n)
        ++p;
    return p;
}

namespace {

// One loop per class, so that the class is not asked again for each byte.
template <char Type>
size_t runEnd(std::string_view line, size_t p) {
    constexpr uint8_t ascii = Type == 'd' ? kDigit : Type == 'n' ? kNameByte : kAlnum;
    const size_t size = line.size();
    const char* text = line.data();
    while (p < size) {
        const auto c = static_cast<uint8_t>(text[p]);
        if (c < 0x80) {
            if (!(kAsciiClasses[c] & ascii)) break;
            ++p;
        } else if (Type != 'd' && charLengthAt(line, p) == 2) {
            if (Type != 'n' && !isWordPair(c, static_cast<uint8_t>(text[p + 1]))) break;
            p += 2;
        } else {
            break;
        }
    }
    return p;
}

}  // namespace

// The end of the run of characters of the item's class from p. `%d` takes ASCII digits, `%w`
// ASCII letters and digits and the word pairs, `%n` the name punctuation too and any pair.
size_t RunEnd(char type, std::string_view line, size_t p) {
    switch (type) {
        case 'd':
            return runEnd<'d'>(line, p);
        case 'n':
            return runEnd<'n'>(line, p);
        default:
            return runEnd<'w'>(line, p);
    }
}

std::string_view TrimmedRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && isSpaceAt(text, end - 1))
        --end;
    return text.substr(0, end);
}

std::string TrimRight(std::string_view text) {
    return std::string(TrimmedRight(text));
}

std::string TrimLeft(std::string_view text) {
    return std::string(text.substr(SkipSpaces(text, 0, text.size())));
}

// Where the walk stands and where each literal was found; the positions of short patterns
// stay on the stack, since most lines fail within the first items.
struct ChatPattern::Walk {
    static constexpr size_t kInline = 24;

    Walk(std::string_view text, size_t items) : line(text) {
        if (items > kInline) spill.resize(2 * items);
        literalStart = items > kInline ? spill.data() : inlineStarts;
        literalEnd = items > kInline ? spill.data() + items : inlineEnds;
    }

    std::string_view line;
    size_t pos = 0;
    size_t* literalStart;
    size_t* literalEnd;
    size_t inlineStarts[kInline], inlineEnds[kInline];
    std::vector<size_t> spill;
};

ChatPattern::ChatPattern(std::string_view pattern) {
    size_t i = 0;
    if (pattern.starts_with('^')) anchored_ = true, i = 1;
    std::string pending;
    while (i < pattern.size()) {
        if (pattern[i] != '%') {
            const size_t n = CharLength(pattern, i);
            pending.append(pattern.substr(i, n));
            i += n;
            continue;
        }
        if (++i < pattern.size() && pattern[i] == '%') {
            pending += '%';
            ++i;
            continue;
        }
        addLiteral(pending);
        if (i < pattern.size() && pattern[i] == '*') ++i;
        bool negative = false;
        if (i + 1 < pattern.size() && pattern[i] == '-' && pattern[i + 1] >= '0' &&
            pattern[i + 1] <= '9')
            negative = true, ++i;
        int width = 0;
        for (; i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9'; ++i)
            width = std::min(width * 10 + (pattern[i] - '0'), kMaxWidth);
        if (i >= pattern.size()) break;
        const char type = pattern[i];
        i += CharLength(pattern, i);
        if (std::string_view("wncdsS_").find(type) != std::string_view::npos)
            items_.push_back({type, negative ? -width : width, {}});
    }
    addLiteral(pending);
    if (!items_.empty() && items_[0].type == 0) leadingByte_ = items_[0].literal[0];
    // The leading literal is checked on its own.
    for (size_t i = leadingByte_ ? 1 : 0; i < items_.size(); ++i)
        if (items_[i].type == 0 && items_[i].literal.size() > longestLiteral_.size())
            longestLiteral_ = items_[i].literal;
    size_t next = items_.size();
    for (size_t i = items_.size(); i-- > 0;) {
        items_[i].nextLiteral = next;
        if (items_[i].type == 0) next = i;
    }
}

void ChatPattern::addLiteral(std::string& pending) {
    if (pending.empty()) return;
    items_.push_back({0, 0, std::move(pending)});
    pending.clear();
}

bool ChatPattern::matches(Walk& walk) const {
    if (items_.empty()) return false;
    // A leading literal is compared where the walk starts: at the line start.
    const char first = items_[0].type;
    if (!anchored_ && (first == 'w' || first == 'n' || first == 'S'))
        walk.pos = SkipSpaces(walk.line, 0, walk.line.size());
    for (size_t i = 0; i < items_.size(); ++i)
        if (!(items_[i].type == 0 ? matchLiteral(i, walk) : matchItem(i, walk))) return false;
    return true;
}

bool ChatPattern::Match(std::string_view line, ChatCaptures& captures) const {
    captures.clear();
    if (turnedAway(line)) return false;
    Walk walk(line, items_.size());
    if (!matches(walk)) return false;
    captures.reserve(items_.size());
    cutCaptures(walk, [&captures](std::string_view text) { captures.emplace_back(text); });
    return true;
}

bool ChatPattern::matchViews(std::string_view line, CaptureViews& captures) const {
    Walk walk(line, items_.size());
    if (!matches(walk)) return false;
    cutCaptures(walk, [&captures](std::string_view text) { captures.Add(text); });
    return true;
}

bool ChatPattern::matchLiteral(size_t index, Walk& walk) const {
    const std::string& text = items_[index].literal;
    const std::string_view line = walk.line;
    const char previous = index > 0 ? items_[index - 1].type : 0;
    size_t at = walk.pos;
    if (previous == 's' || previous == 'S') {
        at = FindOnBoundary(line, text, at);
        if (at == std::string_view::npos) return false;
    } else if (!standsAt(line, at, text)) {
        return false;
    }
    walk.literalStart[index] = at;
    walk.literalEnd[index] = walk.pos = at + text.size();
    return true;
}

bool ChatPattern::matchItem(size_t index, Walk& walk) const {
    const Item& item = items_[index];
    const std::string_view line = walk.line;
    size_t& p = walk.pos;
    switch (item.type) {
        case 'w':
        case 'n':
        case 'd': {
            const size_t start = p;
            if (item.width < 0) p = SkipSpaces(line, p, static_cast<size_t>(-item.width));
            const size_t runStart = p;
            p = RunEnd(item.type, line, p);
            if (item.width > 0 && p - runStart < static_cast<size_t>(item.width))
                p = SkipSpaces(line, p, static_cast<size_t>(item.width) - (p - runStart));
            return item.width < 0 ? p > start : p > runStart;
        }
        case 'c': {
            if (p >= line.size() || isSpaceAt(line, p)) return false;
            const size_t start = p;
            do
                p += charLengthAt(line, p);
            while (item.width > 0 && p < line.size() &&
                   p - start < static_cast<size_t>(item.width));
            return true;
        }
        case 'S':
            if (p >= line.size() || isSpaceAt(line, p)) return false;
            for (int n = 0; n < item.width && p < line.size(); ++n)
                p += charLengthAt(line, p);
            return true;
        case '_':
            p = SkipSpaces(line, p, line.size());
            return true;
        default:  // 's' takes nothing; the literal after it is searched for
            return true;
    }
}

// Each capture lies between the literals around its item, not where the item stopped.
template <class Add>
void ChatPattern::cutCaptures(const Walk& walk, Add add) const {
    const std::string_view line = walk.line;
    size_t previousEnd = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].type == 0) {
            previousEnd = walk.literalEnd[i];
            continue;
        }
        if (items_[i].type == '_') continue;
        const size_t literal = items_[i].nextLiteral;
        const size_t next = literal < items_.size() ? walk.literalStart[literal] : line.size();
        if (i == 0) {
            const std::string_view head = TrimmedRight(line.substr(0, next));
            size_t word = head.size();
            while (word > 0 && head[word - 1] != ' ' && head[word - 1] != '\t')
                --word;
            add(head.substr(word));
        } else {
            add(line.substr(previousEnd, next - previousEnd));
        }
    }
}

bool MatchChatPattern(std::string_view pattern, std::string_view line, ChatCaptures& captures) {
    return ChatPattern(pattern).Match(line, captures);
}
