#pragma once
// The pattern language in which chat rooms, presence notices and memos are recognised (CP949):
// literal runs and variable items `%w` (word), `%n` (name), `%d` (digits), `%c`, `%s`, `%S`
// and `%_` (spaces), optionally with a width; a leading `^` anchors the pattern. A pattern
// matches a prefix of the line; each variable item but `%_` yields one capture, cut from the
// line between the neighbouring literals. `%%` stands for a literal "%".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using ChatCaptures = std::vector<std::string>;

// Captures as views into the matched line, without copies: the first kMax of them. The
// slots are left unset until a match fills them: most lines match nothing, and clearing them
// for each of the many patterns a line is tried against would cost more than the tries.
struct CaptureViews {
    static constexpr size_t kMax = 8;
    struct Span {
        const char* data;
        size_t size;
    };
    Span items[kMax];
    size_t count = 0;
    void Add(std::string_view text) {
        if (count < kMax) items[count++] = {text.data(), text.size()};
    }
    std::string_view operator[](size_t i) const { return {items[i].data, items[i].size}; }
    size_t size() const { return count; }
};

class ChatPattern {
public:
    explicit ChatPattern(std::string_view pattern);

    // Empties `captures`; on success fills one per capturing item, in pattern order.
    bool Match(std::string_view line, ChatCaptures& captures) const;
    bool Match(std::string_view line, CaptureViews& captures) const {
        captures.count = 0;
        return !turnedAway(line) && matchViews(line, captures);
    }
    bool empty() const { return items_.empty(); }
    // The text every matching line starts with; "" when the pattern begins with a variable item.
    std::string_view LeadingLiteral() const {
        return items_.empty() || items_[0].type != 0 ? std::string_view() : items_[0].literal;
    }

private:
    struct Item {
        char type = 0;  // 0 for a literal
        int width = 0;
        std::string literal;
        size_t nextLiteral = 0;  // the index of the first literal after it; the item count: none
    };
    struct Walk;

    // Most lines do not start with the leading literal, which always stands at the line start
    // (nearly all fail on its first byte), or lack the pattern's longest other literal; they are
    // turned away here, before any walk is set up.
    bool turnedAway(std::string_view line) const {
        if (leadingByte_ &&
            (line.empty() || line[0] != *leadingByte_ || !line.starts_with(items_[0].literal)))
            return true;
        return !longestLiteral_.empty() && line.find(longestLiteral_) == std::string_view::npos;
    }
    bool matchViews(std::string_view line, CaptureViews& captures) const;
    void addLiteral(std::string& pending);
    bool matches(Walk& walk) const;
    bool matchItem(size_t index, Walk& walk) const;
    bool matchLiteral(size_t index, Walk& walk) const;
    template <class Add>
    void cutCaptures(const Walk& walk, Add add) const;

    std::vector<Item> items_;
    bool anchored_ = false;
    std::optional<char> leadingByte_;
    std::string longestLiteral_;
};

bool MatchChatPattern(std::string_view pattern, std::string_view line, ChatCaptures& captures);

// Helpers the recognisers share: the end of a run of `%w`, `%n` or `%d` characters from p, of
// at most `most` spaces from p, the first place from a character boundary `from` where a text
// stands on a boundary (npos: none), and host text trimmed of spaces at one end.
size_t RunEnd(char itemType, std::string_view line, size_t p);
size_t FindOnBoundary(std::string_view line, std::string_view text, size_t from);
size_t SkipSpaces(std::string_view line, size_t p, size_t most);
std::string_view TrimmedRight(std::string_view text);
std::string TrimRight(std::string_view text);
std::string TrimLeft(std::string_view text);
