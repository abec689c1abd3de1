#pragma once
// Splitting and parsing of command lines typed at the built-in command shell. Lines are CP949:
// a lead byte 0x81-0xFE and the byte after it form one character and are never split or
// case-folded apart.
#include <string>
#include <string_view>
#include <vector>

struct ShellCommand {
    std::string word;                    // command word, lower-cased; empty: nothing to run
    std::string typedWord;               // the command word as typed
    std::vector<std::string> options;    // words beginning with "/", "<", ">" or "|"
    std::vector<std::string> arguments;  // every other word, quotes removed
};

bool isDoubleByteLead(unsigned char c);
// ASCII letters folded to lower case; the second byte of a double-byte character is kept.
std::string foldCase(std::string_view text);
std::vector<std::string> splitShellWords(std::string_view line);
ShellCommand parseShellLine(std::string_view line);
// "*" and "?" with case ignored; "?" stands for one character, single- or double-byte.
bool matchesMask(std::string_view mask, std::string_view name);
bool hasWildcard(std::string_view name);
