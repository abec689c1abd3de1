#pragma once
// Reads the current page's title and location code from the screen of a recognised service
// (ServiceType 1-4): "자유게시판 (FREE)" is the page "자유게시판" at the location "FREE". Texts
// are CP949.
#include <functional>
#include <optional>
#include <string>

struct Location {
    std::string title;
    std::string code;
    bool operator==(const Location&) const = default;
};

// A screen line by number, counted from the last screen clear; nothing outside the screen.
using ScreenLineReader = std::function<std::optional<std::string>(int line)>;

// The location the service's title line shows, or nothing (also for type 0 and unknown types).
std::optional<Location> RecogniseLocation(int serviceType, const ScreenLineReader& readLine);

// One line by the rules of a service type: its main-menu marker, else the code inside the last
// parentheses.
std::optional<Location> LocationOfLine(int serviceType, std::string line);
