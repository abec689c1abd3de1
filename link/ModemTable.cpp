#include "link/ModemTable.h"

#include "auto/ProfileLayout.h"

namespace {

constexpr const char* kSection = "Modems";

std::string valueOf(const std::vector<RegValue>& values, std::string_view name) {
    for (const RegValue& v : values)
        if (Registry::foldName(v.name) == Registry::foldName(name)) return v.data;
    return "";
}

std::string threeDigits(size_t i) {
    std::string n = std::to_string(i);
    return std::string(n.size() < 3 ? 3 - n.size() : 0, '0') + n;
}

}  // namespace

ModemTable ModemTable::load(Registry& registry, SerialPortPaths paths) {
    std::vector<ModemInfo> modems;
    if (auto section = openSection(registry, kSection)) {
        for (const RegChildContents& child : registry.subkeysWithValues(*section)) {
            ModemInfo modem{valueOf(child.values, ""), valueOf(child.values, "Port"),
                            PortSettings::parse(valueOf(child.values, "Settings"))};
            if (!modem.name.empty()) modems.push_back(std::move(modem));
        }
    }
    return ModemTable(std::move(modems), std::move(paths));
}

bool ModemTable::store(Registry& registry, const std::vector<ModemInfo>& modems) {
    return registry.transaction([&] {
        auto section = createSection(registry, kSection);
        if (!section || !registry.deleteSubkeys(*section)) return false;
        for (size_t i = 0; i < modems.size(); ++i) {
            auto key = registry.createKey(*section, threeDigits(i));
            if (!key || !registry.setValue(*key, "", modems[i].name) ||
                !registry.setValue(*key, "Port", modems[i].port))
                return false;
            if (modems[i].settings &&
                !registry.setValue(*key, "Settings", modems[i].settings->format()))
                return false;
        }
        return true;
    });
}

const ModemInfo* ModemTable::find(std::string_view name) const {
    for (const ModemInfo& modem : modems_)
        if (modem.name == name) return &modem;
    return nullptr;
}

std::string ModemTable::devicePath(std::string_view name) const {
    const ModemInfo* modem = find(name);
    return serialDevicePath(modem ? std::string_view(modem->port) : name, paths_);
}

std::optional<PortSettings> ModemTable::settingsFor(std::string_view name) const {
    const ModemInfo* modem = find(name);
    return modem ? modem->settings : std::nullopt;
}

std::optional<ModemDevice> ModemTable::chooseDevice(CSettingsSection& comm) const {
    std::string name = comm.GetString("ModemDevice");
    if (name.empty()) {
        if (modems_.empty()) return std::nullopt;
        name = modems_.front().name;
        comm.SetString("ModemDevice", name);
    }
    if (devicePath(name).empty()) return std::nullopt;
    return ModemDevice{name, find(name) == nullptr};
}
