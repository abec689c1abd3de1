#include "auto/ShellWords.h"

namespace {

bool isSpecial(char c) {
    return c == '/' || c == '<' || c == '>' || c == '|';
}

// Bytes of the character starting at text[i]: 2 for a complete double-byte character.
size_t charLength(std::string_view text, size_t i) {
    return isDoubleByteLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

std::string_view trimmed(std::string_view line) {
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool isDoubleByteLead(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

std::string foldCase(std::string_view text) {
    std::string folded(text);
    for (size_t i = 0; i < folded.size(); i += charLength(folded, i))
        if (folded[i] >= 'A' && folded[i] <= 'Z') folded[i] = static_cast<char>(folded[i] + 32);
    return folded;
}

std::vector<std::string> splitShellWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    auto finish = [&] {
        if (inWord) words.push_back(word);
        word.clear();
        inWord = false;
    };
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ') {
            finish();
            ++i;
        } else if (c == '"') {
            finish();
            const size_t close = line.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? line.size() : close;
            words.emplace_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == '/') {
            finish();
            const bool single =
                i + 1 < line.size() && static_cast<unsigned char>(line[i + 1]) < 0x80;
            words.emplace_back(line.substr(i, single ? 2 : 1));
            i += single ? 2 : 1;
        } else {
            if (c == '<' || c == '>' || c == '|') finish();
            const size_t n = charLength(line, i);
            word.append(line.substr(i, n));
            inWord = true;
            i += n;
        }
    }
    finish();
    return words;
}

ShellCommand parseShellLine(std::string_view line) {
    ShellCommand command;
    const std::vector<std::string> words = splitShellWords(trimmed(line));
    if (words.empty() || words[0].empty() || isSpecial(words[0][0])) return command;
    command.typedWord = words[0];
    command.word = foldCase(words[0]);
    for (size_t i = 1; i < words.size(); ++i) {
        const bool option = !words[i].empty() && isSpecial(words[i][0]);
        (option ? command.options : command.arguments).push_back(words[i]);
    }
    // "cd.." and "cd\dir": the rest of the word is the directory.
    if (command.word.size() > 2 && command.word.starts_with("cd") &&
        (command.word[2] == '\\' || command.word[2] == '.')) {
        command.arguments.insert(command.arguments.begin(), words[0].substr(2));
        command.word = "cd";
    }
    return command;
}

bool matchesMask(std::string_view mask, std::string_view name) {
    if (mask == "*.*") return true;
    if (mask.empty()) return name.empty();
    if (mask[0] == '*') {
        for (size_t i = 0;; i += charLength(name, i)) {
            if (matchesMask(mask.substr(1), name.substr(i))) return true;
            if (i >= name.size()) return false;
        }
    }
    if (name.empty()) return false;
    const size_t n = charLength(name, 0);
    if (mask[0] == '?') return matchesMask(mask.substr(1), name.substr(n));
    const size_t m = charLength(mask, 0);
    if (m != n || foldCase(mask.substr(0, m)) != foldCase(name.substr(0, n))) return false;
    return matchesMask(mask.substr(m), name.substr(n));
}

bool hasWildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}
