#include "platform/DataFolder.h"

#include <dirent.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/ProcessLauncher.h"

namespace fs = std::filesystem;

std::string dataFolder() {
    if (const char* env = std::getenv("QUILITE_DATA_DIR"); env && env[0] == '/') return env;
    const std::string program = ProcessLauncher::ownProgram();
    const std::string build = QUILITE_BUILD_DIR;
    if (program.rfind(build + "/", 0) == 0) return build + "/data";
    // An installed program lives in <prefix>/bin, its data in <prefix>/share/quilite.
    return (fs::path(program).parent_path() / QUILITE_DATA_FROM_BIN).lexically_normal().string();
}

std::string dataFolderProblem(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir) {
        closedir(dir);
        return "";
    }
    if (errno == ENOENT)
        return "프로그램의 데이터 폴더 " + folder +
               " 이(가) 없습니다.\n프로그램을 다시 설치하거나 QUILITE_DATA_DIR 에 데이터 "
               "폴더를 지정하십시오.";
    return "프로그램의 데이터 폴더 " + folder +
           " 을(를) 읽을 수 없습니다.\n폴더의 읽기 권한을 확인하십시오.";
}
