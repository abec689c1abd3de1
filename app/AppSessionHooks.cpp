#include "app/AppSessionHooks.h"

void AppSessionHooks::AttachInternet(CQuillonDoc& doc, EventLoop& loop, Registry& registry,
                                     SessionFrame& frame, const std::string& connector) {
    DetachInternet();
    backend_ = std::make_unique<PppdBackend>(loop, launcher_);
    internet_ = std::make_unique<InternetDialer>(
        InternetContext{doc, loop, prompt_, registry, frame, *backend_, launcher_, connector});
}

void AppSessionHooks::DetachInternet() {
    internet_.reset();
    backend_.reset();
}
