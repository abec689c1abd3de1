#include "image/VNImage.h"

#include <optional>

namespace {
std::optional<VNImageHooks> kept;
}

int VNImageInit(const VNImageHooks* hooks, Prompt& prompt) {
    if (!hooks || !hooks->readByte || !hooks->writeByte || !hooks->setMode || !hooks->query) {
        prompt.show(PromptRequest{
            "Invalid DLL Version", PromptButtons::Ok, PromptIcon::Error, {}, false, "vnimage.dll"});
        return 0;
    }
    kept = *hooks;
    return 1;
}

const VNImageHooks* VNImageHooksInUse() {
    return kept ? &*kept : nullptr;
}
