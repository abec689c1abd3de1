#pragma once
// The modems the user has set up, kept in the profile store's `Modems` section: one numbered
// record per modem with its name (the record's unnamed value), "Port" (a "COMn" name or a
// device path) and "Settings" (line settings text, see PortSettings). Names are CP949.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "auto/CSettingsSection.h"
#include "auto/Registry.h"
#include "link/PortSettings.h"
#include "link/SerialPorts.h"

// What the session says when no modem is set up or the chosen one has no port.
inline constexpr const char* kNoModemText = "설정된 모뎀이 없습니다.";

struct ModemInfo {
    std::string name;
    std::string port;
    std::optional<PortSettings> settings;  // nothing: the port's defaults
};

// The device a session opens: a modem's name, or a port for a direct (null-modem) cable.
struct ModemDevice {
    std::string name;
    bool directCable = false;
};

class ModemTable {
public:
    explicit ModemTable(std::vector<ModemInfo> modems = {}, SerialPortPaths paths = {})
        : modems_(std::move(modems)), paths_(std::move(paths)) {}

    static ModemTable load(Registry& registry, SerialPortPaths paths = {});
    // Replaces the stored modems; false when the store refused.
    static bool store(Registry& registry, const std::vector<ModemInfo>& modems);

    const std::vector<ModemInfo>& modems() const { return modems_; }
    const SerialPortPaths& paths() const { return paths_; }
    const ModemInfo* find(std::string_view name) const;

    // The device behind a modem's name, a "COMn" name or a device path; "" for anything else.
    std::string devicePath(std::string_view name) const;
    // The line settings stored for the modem of that name; nothing for a plain port.
    std::optional<PortSettings> settingsFor(std::string_view name) const;

    // The `Comm` value "ModemDevice"; when it is empty the first modem, which is then stored.
    // A name that is not a modem's but a "COMn" name or a path is a direct cable. Nothing when
    // no modem is set up or the name has no port (the session then shows kNoModemText).
    std::optional<ModemDevice> chooseDevice(CSettingsSection& comm) const;

private:
    std::vector<ModemInfo> modems_;
    SerialPortPaths paths_;
};
