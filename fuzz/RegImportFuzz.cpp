// REGEDIT4 and "Version 5.00" files imported into a profile store. Each input goes in inside a
// transaction that is then rolled back, so that every input meets the same empty store without
// a new one being made each time.
#include <stdlib.h>

#include <filesystem>
#include <string_view>

#include "auto/RegImport.h"
#include "auto/Registry.h"

namespace {

// The store of the run, in a folder removed when the run ends (both live until then).
Registry& store() {
    static const std::string* folder = [] {
        auto* path =
            new std::string(std::filesystem::temp_directory_path() / "quilite-fuzz-XXXXXX");
        if (!mkdtemp(path->data())) abort();
        atexit([] { std::filesystem::remove_all(*folder); });
        return path;
    }();
    static Registry* registry = Registry::open(*folder + "/profile.db").registry.release();
    if (!registry) abort();
    return *registry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Registry& registry = store();
    registry.transaction([&] {
        importRegText(registry, std::string_view(reinterpret_cast<const char*>(data), size));
        return false;
    });
    return 0;
}
