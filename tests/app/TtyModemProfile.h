#pragma once
// The profile store of a new user of quilite --tty under test: the installed defaults, a modem
// named "Modem" on the given device, started in modem mode and initialised with "AT&F E1 V1".
#include <memory>
#include <optional>
#include <string>

#include "auto/CSettingsSection.h"
#include "auto/FirstRunSetup.h"
#include "auto/ProfileStore.h"
#include "link/ModemTable.h"
#include "platform/ScriptedPrompt.h"

inline std::unique_ptr<Registry> openTtyModemProfile(const std::string& home,
                                                     const std::string& device) {
    ScriptedPrompt prompt;
    std::string error;
    std::unique_ptr<Registry> registry =
        openProfileStore(home + "/config/quilite/profile.db", prompt, error);
    runFirstRunSetup(*registry, prompt, QUILITE_SOURCE_DIR "/data");
    ModemTable::store(*registry, {{"Modem", device, std::nullopt}});
    CSettingsSection comm(*registry, "Comm");
    comm.SetString("ModemDevice", "Modem");
    comm.SetString("InitMode", "0");
    comm.SetString("ModemInit", "AT&F E1 V1");
    return registry;
}
