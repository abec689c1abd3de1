#include "auto/ProgramExit.h"

#include <atomic>

namespace {
std::atomic<bool> exiting{false};
}

bool programIsExiting() {
    return exiting.load();
}
void setProgramExiting(bool value) {
    exiting.store(value);
}
