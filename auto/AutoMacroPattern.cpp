#include "auto/AutoMacroPattern.h"

#include "auto/DoubleByteText.h"

namespace {

constexpr size_t npos = std::string_view::npos;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The first occurrence of piece at or after `from` that begins and ends on character
// boundaries: a byte search alone would find "d" inside a pair whose trail byte is 'd'.
size_t findWhole(std::string_view line, const std::vector<char>& starts, std::string_view piece,
                 size_t from) {
    for (size_t pos = line.find(piece, from); pos != npos; pos = line.find(piece, pos + 1)) {
        const size_t end = pos + piece.size();
        if (starts[pos] && (end == line.size() || starts[end])) return pos;
    }
    return npos;
}

// The end of the last literal before token i, or the line start when there is none.
size_t previousLiteralEnd(const std::vector<AutoMacroToken>& tokens,
                          const std::vector<size_t>& positions, size_t i) {
    while (i-- > 0)
        if (!tokens[i].variable) return positions[i] + tokens[i].text.size();
    return 0;
}

std::string_view lastWord(std::string_view text) {
    const size_t space = text.rfind(' ');
    return space == npos ? text : text.substr(space + 1);
}

}  // namespace

AutoMacroPattern AutoMacroPattern::Tokenise(std::string_view pattern) {
    AutoMacroPattern result;
    std::string piece;
    auto endPiece = [&] {
        if (!piece.empty()) result.tokens.push_back({false, piece});
        piece.clear();
    };
    for (size_t i = 0; i < pattern.size();) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            if (isDigit(pattern[i + 1])) {
                endPiece();
                result.tokens.push_back({true, std::string(pattern.substr(i, 2))});
                i += 2;
                continue;
            }
            ++i;  // "%x" stands for x; a trailing '%' is taken as it is below
        }
        const size_t length = CharLength(pattern, i);
        piece.append(pattern.substr(i, length));
        i += length;
    }
    endPiece();
    return result;
}

const std::string& AutoMacroPattern::LongestLiteral() const {
    static const std::string none;
    const std::string* longest = &none;
    for (const AutoMacroToken& token : tokens)
        if (!token.variable && token.text.size() > longest->size()) longest = &token.text;
    return *longest;
}

void CharStarts(std::string_view line, std::vector<char>& starts) {
    starts.assign(line.size() + 1, 0);
    for (size_t i = 0; i < line.size(); i += CharLength(line, i))
        starts[i] = 1;
    starts[line.size()] = 1;
}

std::vector<char> CharStarts(std::string_view line) {
    std::vector<char> starts;
    CharStarts(line, starts);
    return starts;
}

namespace {

// Finds the literal pieces in order, each after the one before; false when one is missing.
// positions (when given) receives where each piece starts.
bool findPieces(const std::vector<AutoMacroToken>& tokens, std::string_view line,
                const std::vector<char>& starts, size_t* positions) {
    size_t cursor = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].variable) continue;
        const size_t at = findWhole(line, starts, tokens[i].text, cursor);
        if (at == npos) return false;
        if (positions) positions[i] = at;
        cursor = at + tokens[i].text.size();
    }
    return true;
}

}  // namespace

bool MatchAutoMacroPattern(const AutoMacroPattern& pattern, std::string_view line,
                           const std::vector<char>& starts, Captures& captures) {
    captures.clear();
    const std::vector<AutoMacroToken>& tokens = pattern.tokens;
    const size_t n = tokens.size();
    if (n == 0) return false;

    // Most lines fail the search: only a line that passes it pays for the positions.
    if (!findPieces(tokens, line, starts, nullptr)) return false;
    std::vector<size_t> positions(n, 0);
    findPieces(tokens, line, starts, positions.data());

    Captures found;
    for (size_t i = 0; i < n; ++i) {
        if (!tokens[i].variable) continue;
        const bool last = i == n - 1;
        std::string_view value;
        if (!last && tokens[i + 1].variable) {
            value = {};  // two variables side by side: the first has nothing to take
        } else if (i == 0) {
            value = lastWord(line.substr(0, last ? line.size() : positions[1]));
        } else {
            const size_t from = previousLiteralEnd(tokens, positions, i);
            const size_t to = last ? line.size() : positions[i + 1];
            value = line.substr(from, to - from);
        }
        if (value.find_first_of(" ()") != npos) {
            if (!last) return false;
            const size_t space = value.find(' ');
            if (space != npos && space != 0) value = value.substr(0, space);
        }
        found[tokens[i].text] = std::string(value);
    }
    captures = std::move(found);
    return true;
}

bool MatchAutoMacroPattern(std::string_view pattern, std::string_view line, Captures& captures) {
    captures.clear();
    if (!HasWholePairs(line)) return false;
    return MatchAutoMacroPattern(AutoMacroPattern::Tokenise(pattern), line, CharStarts(line),
                                 captures);
}
