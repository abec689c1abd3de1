#pragma once
// The telnet host dialog: a host typed or taken from the recent hosts (`Recent Telnet`), which
// keeps the 30 last used, newest first.
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "auto/Registry.h"

// The words of the host chosen ("host", "host port", "host:port", "telnet://host"), UTF-8;
// nothing when cancelled. The host goes to the front of the recent hosts.
std::optional<std::vector<std::string>> AskTelnetHost(QWidget* parent, Registry& registry);
