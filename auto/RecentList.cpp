#include "auto/RecentList.h"

#include "auto/ProfileLayout.h"

std::vector<std::string> RecentList::load() {
    std::vector<std::string> texts;
    std::optional<RegKey> key = registry_.openPath(keyPath_);
    for (int i = 1; key && i <= limit_; ++i) {
        std::string text = registry_.value(*key, prefix_ + std::to_string(i)).value_or("");
        if (!text.empty()) texts.push_back(text);
    }
    return texts;
}

bool RecentList::save(const std::vector<std::string>& texts) {
    return registry_.transaction([&] {
        std::optional<RegKey> key = registry_.createPath(keyPath_);
        if (!key) return false;
        for (int i = 1; i <= limit_; ++i) {
            std::string name = prefix_ + std::to_string(i);
            bool ok = i <= static_cast<int>(texts.size())
                          ? registry_.setValue(*key, name, texts[i - 1])
                          : registry_.deleteValue(*key, name);
            if (!ok) return false;
        }
        return true;
    });
}

bool RecentList::add(const std::string& text) {
    return registry_.transaction([&] {
        std::vector<std::string> texts = {text};
        for (std::string& old : load())
            if (Registry::foldName(old) != Registry::foldName(text)) texts.push_back(old);
        if (static_cast<int>(texts.size()) > limit_) texts.resize(limit_);
        return save(texts);
    });
}

RecentList recentTelnetHosts(Registry& registry) {
    return RecentList(registry, userRootPath() + "\\Recent Telnet", "host", 30);
}

RecentList sendBoxFiles(Registry& registry) {
    return RecentList(registry, userRootPath() + "\\FileManager\\ToSend", "File", 15);
}

RecentList typedWebAddresses(Registry& registry) {
    return RecentList(registry,
                      "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs", "url",
                      30);
}
