#pragma once
// What a telnet link needs from the rest of the program: the loop of the user-interface
// thread, message boxes and wait notices, the `Comm` settings, and the name lookup (tests hand
// in their own) and the connect time-out.
#include "auto/CSettingsSection.h"
#include "link/TelnetLookup.h"
#include "platform/EventLoop.h"
#include "platform/Prompt.h"

struct TelnetContext {
    EventLoop& loop;
    Prompt& prompt;
    CSettingsSection& comm;
    HostResolver resolver = resolveHost;
    // A connect that gets no answer gives up after this long (tests shorten it).
    int connectTimeoutMs = 30000;
};
