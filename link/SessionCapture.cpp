#include "link/SessionCapture.h"

#include <ctime>

int64_t SessionCaptureHost::Now() {
    return static_cast<int64_t>(std::time(nullptr));
}

std::string capturePaneText(const Capture& capture) {
    return capture.state() == Capture::State::Off ? "" : "갈무리";
}
