#pragma once
// A file-transfer engine. The host creates one per transfer by protocol name, hands it its link
// and monitor, and runs SendFile or ReceiveFile on its own thread; both return 0 or an error
// code (xfer/GFErrors.h).
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "xfer/GFComLink.h"
#include "xfer/GFMonitor.h"

class GFUserPrompt;

class GFTransfer {
public:
    virtual ~GFTransfer() = default;
    // A TAB-separated list of paths.
    virtual int SendFile(const char* /*files*/) { return -1; }
    // The path to write for protocols that carry no name; the others ignore it.
    virtual int ReceiveFile(const char* /*target*/) { return -1; }

    // "ZMODEM", "ZIMAGE", ... (case-sensitive); null for a name without an engine. A null
    // monitor makes the engine use a plain one of its own.
    static GFTransfer* CreateObject(const char* protocol, GFComLink* link, GFMonitor* monitor);

    // Where the engine takes its time from (the steady clock unless a test hands in another).
    void SetClock(Clock& clock) { clock_ = &clock; }
    // Who answers the engine's questions; without one nothing is asked.
    void SetUserPrompt(GFUserPrompt* prompt) { prompt_ = prompt; }
    // Paths for the next SendFile, used instead of its TAB-separated string: for local names
    // (UTF-8) whose bytes the double-byte rule of that string would split wrongly.
    void SetSendList(std::vector<std::string> paths) { sendList_ = std::move(paths); }

protected:
    std::vector<std::string> sendList_;
    Clock* clock_ = &Clock::steady();
    GFUserPrompt* prompt_ = nullptr;
};
