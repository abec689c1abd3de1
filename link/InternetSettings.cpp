#include "link/InternetSettings.h"

#include "auto/CSettingsSection.h"

namespace {

constexpr const char* kAutodialKey =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kProfileKey = "HKEY_CURRENT_USER\\RemoteAccess";

std::string systemValue(Registry& registry, const char* keyPath, const char* name) {
    std::optional<RegKey> key = registry.openPath(keyPath);
    return key ? registry.value(*key, name).value_or("") : "";
}

bool setSystemValue(Registry& registry, const char* keyPath, const char* name,
                    const std::string& value) {
    std::optional<RegKey> key = registry.createPath(keyPath);
    return key && registry.setValue(*key, name, value);
}

}  // namespace

InternetSettings LoadInternetSettings(Registry& registry) {
    CSettingsSection comm(registry, "Comm");
    InternetSettings settings;
    settings.askFirst = comm.GetInt("QPPP", 1) != 0;
    settings.offerNetquay = comm.GetInt("NetquayInternet", 1) != 0;
    const std::string autodial = systemValue(registry, kAutodialKey, "EnableAutodial");
    settings.autodial = !autodial.empty() && autodial != "0";
    settings.profile = systemValue(registry, kProfileKey, "InternetProfile");
    return settings;
}

bool StoreInternetSettings(Registry& registry, const InternetSettings& settings) {
    return registry.transaction([&] {
        CSettingsSection comm(registry, "Comm");
        return comm.SetInt("QPPP", settings.askFirst ? 1 : 0) &&
               comm.SetInt("NetquayInternet", settings.offerNetquay ? 1 : 0) &&
               setSystemValue(registry, kAutodialKey, "EnableAutodial",
                              settings.autodial ? "1" : "0") &&
               setSystemValue(registry, kProfileKey, "InternetProfile", settings.profile);
    });
}
