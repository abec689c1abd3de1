#include "link/SystemLinks.h"

#include "link/SerialLink.h"
#include "link/TelnetLink.h"

SystemLinks::SystemLinks(EventLoop& loop, Prompt& prompt, Registry& registry, SessionFrame& frame,
                         CommPortLines& lines, HostResolver resolver)
    : loop_(loop),
      prompt_(prompt),
      registry_(registry),
      frame_(frame),
      lines_(lines),
      resolver_(std::move(resolver)),
      comm_(registry, "Comm"),
      activity_(loop, frame) {}

// The session closes its old link before it asks for a new one, so the table the old link
// refers to may be replaced here.
std::unique_ptr<GFComLink> SystemLinks::OpenModem(const ModemDevice& device) {
    modems_ = ModemTable::load(registry_);
    auto link = std::make_unique<SerialLink>(
        SerialContext{loop_, prompt_, comm_, modems_, Clock::steady(), lines_});
    link->SetActivityHandler(activity_.Handler());
    const int mode = device.directCable ? SerialLink::kDirectCable : SerialLink::kModem;
    if (!link->Open(device.name, mode, 8192, 8192)) return nullptr;
    return link;
}

std::unique_ptr<GFComLink> SystemLinks::ConnectTelnet(const std::string& host, int port) {
    auto link = std::make_unique<TelnetLink>(TelnetContext{loop_, prompt_, comm_, resolver_});
    link->SetStatusHandler([this](const std::string& text) { frame_.ShowStatus(text); });
    link->SetActivityHandler(activity_.Handler());
    if (!link->Connect(host, port)) return nullptr;
    return link;
}
