#include "xfer/GFTransfer.h"

#include <cstring>

#include "xfer/GFKermit.h"
#include "xfer/GFTranstxt.h"
#include "xfer/GFXmodem.h"
#include "xfer/GFYmodem.h"
#include "xfer/GFZimage.h"
#include "xfer/GFZmodem.h"

namespace {

struct EngineEntry {
    const char* name;
    GFTransfer* (*create)(GFComLink*, GFMonitor*);
};

template <class Engine>
GFTransfer* make(GFComLink* link, GFMonitor* monitor) {
    return new Engine(link, monitor);
}

const EngineEntry engines[] = {
    {"XMODEM", make<GFXmodem>}, {"YMODEM", make<GFYmodem>}, {"ZMODEM", make<GFZmodem>},
    {"ZIMAGE", make<GFZimage>}, {"KERMIT", make<GFKermit>}, {"ASCII", make<GFTranstxt>},
};

}  // namespace

GFTransfer* GFTransfer::CreateObject(const char* protocol, GFComLink* link, GFMonitor* monitor) {
    if (!protocol || !link) return nullptr;
    for (const EngineEntry& e : engines) {
        if (std::strcmp(e.name, protocol) == 0) return e.create(link, monitor);
    }
    return nullptr;
}
