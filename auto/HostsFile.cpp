#include "auto/HostsFile.h"

#include <filesystem>

#include "platform/DataFolder.h"
#include "platform/UserDirs.h"

std::string HostsFilePath() {
    const std::string own = configHome() + "/quilite/hosts.cfg";
    std::error_code error;
    if (std::filesystem::is_regular_file(own, error)) return own;
    return dataFolder() + "/hosts.cfg";
}

IniFile LoadHostsFile() {
    return IniFile::Load(HostsFilePath());
}
