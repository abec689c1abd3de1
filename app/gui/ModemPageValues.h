#pragma once
// The values of the "모뎀" page of the communication settings: the devices offered (every
// modem of the table, then a direct cable on every serial port present), the one chosen, the
// initialisation command and the dial time-out. Texts are CP949, as stored.
#include <optional>
#include <string>
#include <vector>

#include "auto/Registry.h"
#include "link/PortSettings.h"
#include "link/SerialPorts.h"

struct ModemChoice {
    std::string label;  // shown in the list (UTF-8)
    // What "ModemDevice" stores: the modem's name, or the port's entry name ("COMn" for
    // /dev/ttyS(n-1), else the device path).
    std::string device;
    bool direct = false;
    std::string port;       // the port the modem is attached to, or the port itself
    PortSettings settings;  // the device's line settings (the defaults when none are stored)
};

struct ModemPageValues {
    std::vector<ModemChoice> choices;
    int selected = -1;         // nothing chosen: the device values are left as they are
    std::string activeDevice;  // the device a session opens now ("" for none)
    std::string modemInit;
    int dialTimeOut = 80;

    static ModemPageValues Load(Registry& registry, const SerialPortPaths& paths = {});
    // Stores "ModemInit", "DialTimeOut" and, with a device chosen, "NullModem" and
    // "ModemDevice". True when the device differs from the one a session opens now, which must
    // then be reopened.
    bool Store(Registry& registry);

    // The port line of a choice: "통신 포트 (%s)" for a direct cable, else the modem's port.
    static std::string PortText(const ModemChoice& choice);
    // Stores a modem's line settings as its default configuration; false for a direct cable,
    // an unknown modem or a refused write.
    bool StorePortSettings(Registry& registry, int index, const PortSettings& settings);
};
