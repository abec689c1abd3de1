#pragma once
// The links the program makes for its session: the serial link over a real port and the
// telnet link over a TCP socket, both watched by the user-interface thread's loop. Status texts
// and traffic reports of the links go to the session's window.
#include "auto/CSettingsSection.h"
#include "auto/Registry.h"
#include "link/CommPortLines.h"
#include "link/LinkActivityRelay.h"
#include "link/SessionFrame.h"
#include "link/SessionLinks.h"
#include "link/TelnetLookup.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Prompt.h"

class SystemLinks : public SessionLinks {
public:
    // lines: the modem-control lines (a test's pty hands in its own); resolver: name lookup.
    SystemLinks(EventLoop& loop, Prompt& prompt, Registry& registry, SessionFrame& frame,
                CommPortLines& lines = CommPortLines::tty(), HostResolver resolver = resolveHost);

    std::unique_ptr<GFComLink> OpenModem(const ModemDevice& device) override;
    std::unique_ptr<GFComLink> ConnectTelnet(const std::string& host, int port) override;

private:
    EventLoop& loop_;
    Prompt& prompt_;
    Registry& registry_;
    SessionFrame& frame_;
    CommPortLines& lines_;
    HostResolver resolver_;
    CSettingsSection comm_;
    ModemTable modems_;  // as stored when the last modem link was opened
    LinkActivityRelay activity_;
};
