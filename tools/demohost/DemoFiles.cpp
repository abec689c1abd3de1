#include "tools/demohost/DemoFiles.h"

#include <cstdlib>
#include <filesystem>

std::string DemoFilesFolder() {
    if (const char* env = std::getenv("QUILITE_DATA_DIR"); env && env[0] == '/')
        return std::string(env) + "/DemoFiles";
    std::error_code ec;
    if (std::filesystem::is_directory(QUILITE_INSTALL_DEMOFILES_DIR, ec))
        return QUILITE_INSTALL_DEMOFILES_DIR;
    return QUILITE_BUILD_DEMOFILES_DIR;
}
