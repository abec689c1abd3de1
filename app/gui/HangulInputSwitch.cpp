#include "app/gui/HangulInputSwitch.h"

std::unique_ptr<HangulInputSwitch> HangulInputSwitch::Create() {
    return std::make_unique<NullHangulInputSwitch>();
}
