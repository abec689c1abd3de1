#pragma once
// The service the demo host plays, as the shipped profile describes it: its log-in prompts and
// the command words its users type, read from the profile's registry file so that the host and
// the program's automation share one source.
#include <map>
#include <string>

struct ServiceWords {
    std::string loginPrompt;     // "LoginString"
    std::string passwordPrompt;  // "PasswordString"
    // The service's command values by their Korean names ("초기 메뉴" -> "top"), UTF-8.
    std::map<std::string, std::string> commands;

    // The command value named `name`, or empty.
    std::string Command(const std::string& name) const;
};

// The name of the played service (UTF-8).
inline constexpr char kPlayedService[] = "하이텔";

// The played service's words from `regFile`; empty prompts when the file or the service is
// missing.
ServiceWords LoadServiceWords(const std::string& regFile);
// The shipped profile's registry file.
std::string ShippedProfilePath();
