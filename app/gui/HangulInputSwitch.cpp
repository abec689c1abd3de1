#include "app/gui/HangulInputSwitch.h"

#include "app/gui/FcitxInputSwitch.h"

std::unique_ptr<HangulInputSwitch> HangulInputSwitch::Create() {
    if (std::unique_ptr<FcitxInputSwitch> fcitx =
            FcitxInputSwitch::Connect(QDBusConnection::sessionBus()))
        return fcitx;
    return std::make_unique<NullHangulInputSwitch>();
}
