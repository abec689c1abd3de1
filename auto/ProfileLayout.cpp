#include "auto/ProfileLayout.h"

#include "platform/TextCodec.h"

const std::string& appTitle() {
    static const std::string title = utf8ToCp949("반트라 퀼론 98 Lite").value();
    return title;
}

const std::string& userRootPath() {
    static const std::string path = "HKEY_CURRENT_USER\\Software\\Vantra\\" + appTitle();
    return path;
}

const std::string& installKeyPath() {
    static const std::string path =
        "HKEY_LOCAL_MACHINE\\Software\\Vantra\\" + appTitle() + "\\1.0.0.0";
    return path;
}

const std::string& soundEventsPath() {
    static const std::string path = "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\" + appTitle();
    return path;
}

std::optional<RegKey> openSection(Registry& registry, const std::string& section) {
    return registry.openPath(userRootPath() + "\\" + section);
}

std::optional<RegKey> createSection(Registry& registry, const std::string& section) {
    return registry.createPath(userRootPath() + "\\" + section);
}
