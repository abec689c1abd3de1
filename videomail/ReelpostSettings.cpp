#include "videomail/ReelpostSettings.h"

#include "platform/DataFolder.h"
#include "platform/StoredValues.h"
#include "platform/TextCodec.h"

namespace {

const std::string kRoot = "HKEY_CURRENT_USER\\Software\\Vantra\\reelpost\\";

std::string text(Registry& registry, const std::string& section, const std::string& name) {
    std::optional<RegKey> key = registry.openPath(kRoot + section);
    return key ? registry.value(*key, name).value_or("") : "";
}

bool store(Registry& registry, const std::string& section, const std::string& name,
           const std::string& data) {
    std::optional<RegKey> key = registry.createPath(kRoot + section);
    return key && registry.setValue(*key, name, data);
}

}  // namespace

ReelpostSettings loadReelpostSettings(Registry& registry) {
    ReelpostSettings settings;
    settings.server = text(registry, "NETWORKINFO", "SERVER");
    settings.protocol = parseDecimal(text(registry, "NETWORKINFO", "PROTOCOL"));
    settings.withPlayer = parseDecimal(text(registry, "NETWORKINFO", "WITHPLAYER"));
    settings.email = text(registry, "USERINFO", "EMAIL");
    settings.signFile = text(registry, "USERINFO", "SIGNFILE");
    settings.appPath = text(registry, "APPINFO", "PATH");
    if (settings.appPath.empty()) settings.appPath = utf8ToCp949Lossy(dataFolder());
    return settings;
}

bool saveReelpostSettings(Registry& registry, const ReelpostSettings& settings) {
    return store(registry, "NETWORKINFO", "SERVER", settings.server) &&
           store(registry, "NETWORKINFO", "PROTOCOL", std::to_string(settings.protocol)) &&
           store(registry, "NETWORKINFO", "WITHPLAYER", std::to_string(settings.withPlayer)) &&
           store(registry, "USERINFO", "EMAIL", settings.email) &&
           store(registry, "USERINFO", "SIGNFILE", settings.signFile) &&
           store(registry, "APPINFO", "PATH", settings.appPath);
}
