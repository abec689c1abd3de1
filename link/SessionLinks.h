#pragma once
// How the session makes its links: the serial link to the modem (or a direct cable) and the
// telnet link. The program uses SystemLinks; tests hand in links of their own.
#include <memory>
#include <string>

#include "link/ModemTable.h"
#include "xfer/GFComLink.h"

class SessionLinks {
public:
    virtual ~SessionLinks() = default;

    // Opens the device with queues of 8192 bytes each way; null when the port could not be
    // opened (the user has been told why).
    virtual std::unique_ptr<GFComLink> OpenModem(const ModemDevice& device) = 0;
    // A telnet link that has started to connect to host (CP949) and port; how the connection
    // goes is shown in its stream. Null when it could not start (name not found, lookup
    // cancelled, no socket).
    virtual std::unique_ptr<GFComLink> ConnectTelnet(const std::string& host, int port) = 0;
};
