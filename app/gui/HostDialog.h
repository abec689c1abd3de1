#pragma once
// The connection dialogs: the telnet host dialog, with a host typed or taken from the recent
// hosts (`Recent Telnet`, the 30 last used, newest first).
#include <QString>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "auto/Registry.h"

// The words of the host chosen ("host", "host port", "host:port", "telnet://host"), UTF-8;
// nothing when cancelled. The host goes to the front of the recent hosts.
std::optional<std::vector<std::string>> AskTelnetHost(QWidget* parent, Registry& registry);
// The words of a host typed elsewhere, which goes to the front of the recent hosts; nothing
// when only blanks were typed.
std::optional<std::vector<std::string>> TakeTypedHost(Registry& registry, const QString& typed);
// The recent hosts, newest first.
QStringList RecentHosts(Registry& registry);
