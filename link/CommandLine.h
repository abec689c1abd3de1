#pragma once
// The connection a command line asks for, and the telnet address forms the session takes:
// "telnet://host", "host port", "/t entry", "/m entry", "host:port", a trailing "/".
#include <string>
#include <vector>

struct ConnectRequest {
    enum class Kind { None, Host, TelnetEntry, ModemEntry, Invalid };
    Kind kind = Kind::None;
    std::string host;   // Host: the name as given (UTF-8), without "telnet://"
    int port = 23;      // Host
    std::string entry;  // TelnetEntry, ModemEntry: the entry name (UTF-8)
    std::string error;  // Invalid: what to tell the user (UTF-8)
};

// The words of a command line (the program's arguments). One word is a host (port 23, a
// "telnet://" prefix removed); two words a host and a port; "/t" or "/m" followed by words an
// entry name (the words joined with single blanks). "/t" or "/m" alone, a port that is not a
// number from 1 to 65535, and more words without "/t" or "/m" are invalid.
ConnectRequest ParseCommandLine(const std::vector<std::string>& words);
// A line the user typed in place of a command line, as its blank-separated words.
std::vector<std::string> CommandLineWords(const std::string& line);

struct TelnetAddress {
    std::string host;
    int port = 23;
    bool valid = true;
    std::string portText;  // the port part as given, for the message when it is not valid
};

// The host a telnet connection goes to: a trailing "/" removed, then "host:port" split (the
// port replaces `port`). A port part that is not a number from 1 to 65535 makes it invalid.
TelnetAddress SplitTelnetAddress(std::string host, int port);

// "포트 번호가 올바르지 않습니다: %s" for the text given as a port.
std::string BadPortText(const std::string& port);
