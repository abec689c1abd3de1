#include "app/gui/CommPageValues.h"

#include <algorithm>

#include "app/gui/TelnetHandler.h"
#include "auto/CSettingsSection.h"
#include "term/TWEmulator.h"

GeneralValues GeneralValues::Load(Registry& registry) {
    return {CSettingsSection(registry, "Comm").GetInt("InitMode", 1) == 0};
}

void GeneralValues::Store(Registry& registry) const {
    CSettingsSection(registry, "Comm").SetInt("InitMode", modemMode ? 0 : 1);
}

TelnetValues TelnetValues::Load(Registry& registry) {
    CSettingsSection comm(registry, "Comm");
    TelnetValues v;
    v.useProxy = comm.GetInt("UseTelnetProxy", 0) != 0;
    v.proxy = {comm.GetString("ProxyHost"), comm.GetInt("ProxyPort", -1),
               comm.GetString("ProxyUser"), comm.GetString("ProxyPrompt")};
    v.telnetHandler = v.telnetHandlerWas = IsTelnetHandler();
    return v;
}

bool TelnetValues::Store(Registry& registry) {
    CSettingsSection comm(registry, "Comm");
    comm.SetString("ProxyHost", proxy.host);
    comm.SetInt("ProxyPort", proxy.port);
    comm.SetString("ProxyUser", proxy.user);
    comm.SetString("ProxyPrompt", proxy.prompt);
    comm.SetInt("UseTelnetProxy", useProxy && !proxy.host.empty() ? 1 : 0);
    if (telnetHandler == telnetHandlerWas) return true;
    if (!SetTelnetHandler(telnetHandler)) return false;
    telnetHandlerWas = telnetHandler;
    return true;
}

TerminalValues TerminalValues::Load(Registry& registry) {
    CSettingsSection terminal(registry, "Terminal");
    return {std::clamp(terminal.GetInt("Send CR", 0), 0, 2),
            terminal.GetInt("Recv CR2CRLF", 0) != 0, terminal.GetInt("Recv LF2CRLF", 0) != 0};
}

void TerminalValues::Store(Registry& registry) const {
    CSettingsSection terminal(registry, "Terminal");
    terminal.SetInt("Send CR", sendCR);
    terminal.SetInt("Recv CR2CRLF", recvCR2CRLF);
    terminal.SetInt("Recv LF2CRLF", recvLF2CRLF);
}

void TerminalValues::ApplyTo(TWEmulator* interpreter) const {
    if (interpreter) interpreter->SetLineOptions(sendCR != 0, recvCR2CRLF, recvLF2CRLF);
}
