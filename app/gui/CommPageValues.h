#pragma once
// The values the "일반", "텔넷" and "터미널" pages of the communication settings read from the
// store and write back on Apply. Texts are CP949, as stored.
#include <string>

#include "auto/Registry.h"

class TWEmulator;

// "일반": the mode the next start begins in (`Comm` "InitMode": 0 modem, 1 telnet).
struct GeneralValues {
    bool modemMode = false;

    static GeneralValues Load(Registry& registry);
    void Store(Registry& registry) const;
};

// What the proxy dialog edits (`Comm` "ProxyHost", "ProxyPort", "ProxyUser", "ProxyPrompt").
struct ProxySettings {
    std::string host;
    int port = -1;  // -1: none given (the telnet port)
    std::string user;
    std::string prompt;
};

// "텔넷": the proxy, and whether Quilite is the desktop's telnet handler.
struct TelnetValues {
    bool useProxy = false;  // a missing "UseTelnetProxy" shows as off
    ProxySettings proxy;
    bool telnetHandler = false;
    bool telnetHandlerWas = false;

    static TelnetValues Load(Registry& registry);
    // Without a proxy host "UseTelnetProxy" is stored as 0. The handler file is rewritten only
    // when the box changed; false when that failed.
    bool Store(Registry& registry);
};

// "터미널" (section `Terminal`): how Enter is sent ("Send CR" 0 CR, 1 LF, 2 CR LF) and the
// received line ends taken as CR LF.
struct TerminalValues {
    int sendCR = 0;
    bool recvCR2CRLF = false;
    bool recvLF2CRLF = false;

    static TerminalValues Load(Registry& registry);
    void Store(Registry& registry) const;
    // Hands the values to a running interpreter (none: the next one reads the store).
    void ApplyTo(TWEmulator* interpreter) const;
};
