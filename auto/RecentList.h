#pragma once
// A most-recent-first list of texts kept as the values "<prefix>1", "<prefix>2", ... of one
// key, as the recent telnet hosts, the send box and the typed web addresses are stored.
#include <string>
#include <vector>

#include "auto/Registry.h"

class RecentList {
public:
    RecentList(Registry& registry, std::string keyPath, std::string prefix, int limit)
        : registry_(registry),
          keyPath_(std::move(keyPath)),
          prefix_(std::move(prefix)),
          limit_(limit) {}

    std::vector<std::string> load();
    // Replaces the stored list in one transaction, keeping at most the limit.
    bool save(const std::vector<std::string>& texts);
    // Puts `text` first, dropping an earlier entry equal to it apart from ASCII case.
    bool add(const std::string& text);

private:
    Registry& registry_;
    std::string keyPath_;
    std::string prefix_;
    int limit_;
};

RecentList recentTelnetHosts(Registry& registry);  // `Recent Telnet`, "host%d", 30
RecentList sendBoxFiles(Registry& registry);       // `FileManager\ToSend`, "File%d", 15
RecentList typedWebAddresses(Registry& registry);  // the browser's `TypedURLs`, "url%d", 30
