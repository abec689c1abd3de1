#pragma once
// The pattern of an auto macro: literal pieces that must occur in order anywhere in a received
// line, and capture variables %0-%9 that take the text around them. Tokenised once when the
// rule is loaded; matching works on CP949 lines with whole double-byte characters.
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Variable name ("%1") to captured text.
using Captures = std::map<std::string, std::string>;

struct AutoMacroToken {
    bool variable = false;
    std::string text;  // the literal piece, or the variable's name
};

struct AutoMacroPattern {
    std::vector<AutoMacroToken> tokens;

    static AutoMacroPattern Tokenise(std::string_view pattern);
    // The longest literal piece, "" when the pattern has none.
    const std::string& LongestLiteral() const;
};

// Where each character of a line starts (1) or continues a pair (0).
std::vector<char> CharStarts(std::string_view line);
void CharStarts(std::string_view line, std::vector<char>& starts);  // into a kept buffer

// Clears captures, then fills them when the line matches. starts: CharStarts(line).
bool MatchAutoMacroPattern(const AutoMacroPattern& pattern, std::string_view line,
                           const std::vector<char>& starts, Captures& captures);
bool MatchAutoMacroPattern(std::string_view pattern, std::string_view line, Captures& captures);
