#pragma once
// What a telnet link needs from the rest of the program: the loop of the user-interface
// thread, message boxes and wait notices, the `Comm` settings, and the name lookup (tests hand
// in their own).
#include "auto/CSettingsSection.h"
#include "link/TelnetLookup.h"
#include "platform/EventLoop.h"
#include "platform/Prompt.h"

struct TelnetContext {
    EventLoop& loop;
    Prompt& prompt;
    CSettingsSection& comm;
    HostResolver resolver = resolveHost;
};
