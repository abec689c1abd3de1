#include "app/gui/ModemPageValues.h"

#include "auto/CSettingsSection.h"
#include "link/ModemTable.h"
#include "platform/TextCodec.h"

namespace {

// The stored device as the session takes it: an empty value means the first modem.
std::string deviceInUse(const std::string& stored, const ModemTable& table) {
    if (!stored.empty() || table.modems().empty()) return stored;
    return table.modems().front().name;
}

int choiceOf(const std::vector<ModemChoice>& choices, const std::string& device,
             const SerialPortPaths& paths) {
    for (size_t i = 0; i < choices.size(); ++i)
        if (!choices[i].direct && choices[i].device == device) return static_cast<int>(i);
    const std::string path = serialDevicePath(device, paths);
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i].direct && !path.empty() &&
            serialDevicePath(choices[i].device, paths) == path)
            return static_cast<int>(i);
    return -1;
}

}  // namespace

ModemPageValues ModemPageValues::Load(Registry& registry, const SerialPortPaths& paths) {
    const ModemTable table = ModemTable::load(registry, paths);
    ModemPageValues v;
    for (const ModemInfo& modem : table.modems())
        v.choices.push_back({cp949ToUtf8Lossy(modem.name), modem.name, false, modem.port,
                             modem.settings.value_or(PortSettings{})});
    for (const std::string& port : listSerialPorts(paths))
        v.choices.push_back({port + "에 직접 연결(널 모뎀)", port, true, port, PortSettings{}});
    CSettingsSection comm(registry, "Comm");
    v.activeDevice = deviceInUse(comm.GetString("ModemDevice"), table);
    v.selected = choiceOf(v.choices, v.activeDevice, paths);
    v.modemInit = comm.GetString("ModemInit");
    v.dialTimeOut = comm.GetInt("DialTimeOut", 80);
    return v;
}

bool ModemPageValues::Store(Registry& registry) {
    CSettingsSection comm(registry, "Comm");
    comm.SetString("ModemInit", modemInit);
    comm.SetInt("DialTimeOut", dialTimeOut);
    if (selected < 0 || selected >= static_cast<int>(choices.size())) return false;
    const ModemChoice& choice = choices[selected];
    comm.SetInt("NullModem", choice.direct);
    comm.SetString("ModemDevice", choice.device);
    const bool changed = choice.device != activeDevice;
    activeDevice = choice.device;
    return changed;
}

std::string ModemPageValues::PortText(const ModemChoice& choice) {
    return choice.direct ? "통신 포트 (" + choice.port + ")" : cp949ToUtf8Lossy(choice.port);
}

bool ModemPageValues::StorePortSettings(Registry& registry, int index,
                                        const PortSettings& settings) {
    if (index < 0 || index >= static_cast<int>(choices.size()) || choices[index].direct)
        return false;
    std::vector<ModemInfo> modems = ModemTable::load(registry).modems();
    for (ModemInfo& modem : modems) {
        if (modem.name != choices[index].device) continue;
        modem.settings = settings;
        if (!ModemTable::store(registry, modems)) return false;
        choices[index].settings = settings;
        return true;
    }
    return false;
}
