#include "auto/LocationRecognition.h"

#include "auto/DoubleByteText.h"
#include "platform/TextCodec.h"

namespace {

// What marks each service's main menu on its title line. The services draw their main menus
// without a location code, so these words stand for "TOP". The first service's marker is also
// the title of the demo host's main menu, which plays that service.
struct MenuMarker {
    int serviceType;
    const char* text;  // UTF-8
};
constexpr MenuMarker kMenuMarkers[] = {
    {1, "초기 화면"},       {1, "하이텔 메인 메뉴"}, {2, "천리안 주메뉴"},
    {3, "나우누리 주메뉴"}, {4, "유니텔 첫화면"},
};

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// The screen keeps NUL in cells never written: they read as blanks.
std::string blanksForControls(std::string line) {
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return line;
}

std::string withoutFirstWord(const std::string& line) {
    const std::string text = TrimSpaces(line);
    const size_t space = text.find(' ');
    return space == std::string::npos ? "" : text.substr(space + 1);
}

std::optional<Location> mainMenu(int serviceType, const std::string& line) {
    for (const MenuMarker& marker : kMenuMarkers) {
        if (marker.serviceType != serviceType) continue;
        const std::string text = utf8ToCp949(marker.text).value_or("");
        if (line.find(text) == std::string::npos) continue;
        const std::string title = serviceType == 2 ? utf8ToCp949("천리안TOP").value() : text;
        return Location{title, "TOP"};
    }
    return std::nullopt;
}

// A letter, then letters and digits; type 2 also allows "/" and keeps what comes before it.
std::optional<std::string> validCode(int serviceType, const std::string& inside) {
    if (inside.empty() || !isAsciiLetter(inside[0])) return std::nullopt;
    for (char c : inside)
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && !(serviceType == 2 && c == '/'))
            return std::nullopt;
    return inside.substr(0, inside.find('/'));
}

std::optional<Location> lastParentheses(int serviceType, const std::string& line) {
    const size_t close = line.rfind(')');
    if (close == std::string::npos || close == 0) return std::nullopt;
    const size_t open = line.rfind('(', close - 1);
    if (open == std::string::npos) return std::nullopt;
    std::optional<std::string> code =
        validCode(serviceType, line.substr(open + 1, close - open - 1));
    if (!code) return std::nullopt;
    return Location{TrimSpaces(line.substr(0, open)), *code};
}

}  // namespace

std::optional<Location> LocationOfLine(int serviceType, std::string line) {
    line = blanksForControls(std::move(line));
    if (serviceType == 4) line = withoutFirstWord(line);
    if (std::optional<Location> top = mainMenu(serviceType, line)) return top;
    return lastParentheses(serviceType, line);
}

std::optional<Location> RecogniseLocation(int serviceType, const ScreenLineReader& readLine) {
    if (serviceType < 1 || serviceType > 4) return std::nullopt;
    if (serviceType == 2) {
        std::optional<std::string> line = readLine(1);
        if (line && TrimSpaces(blanksForControls(*line)).empty()) line = readLine(2);
        return line ? LocationOfLine(serviceType, *line) : std::nullopt;
    }
    for (int number : {0, 1}) {
        std::optional<std::string> line = readLine(number);
        if (!line) continue;
        if (std::optional<Location> found = LocationOfLine(serviceType, *line)) return found;
    }
    return std::nullopt;
}
