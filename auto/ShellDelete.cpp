// `del` and `deltree`: files and folders go to the trash, never deleted for good.
#include <dirent.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>

#include "auto/Shell.h"
#include "platform/TextCodec.h"
#include "platform/Trash.h"

std::vector<std::string> DosShell::sources(const std::string& typed) {
    const std::string path = drives_.resolve(typed);
    const std::vector<std::string> names = splitPath(typed);
    if (path.empty()) return {};
    if (!hasWildcard(names.back())) {
        struct stat st;
        if (lstat(path.c_str(), &st) == 0) return {path};
        ShellPrint(typed + ": " + shellText(strerror(errno)) + "\r\n");
        return {};
    }
    // A wildcard picks files only.
    const std::string folder = path.substr(0, std::max<size_t>(path.rfind('/'), 1));
    std::vector<std::string> found;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            struct stat st;
            if (entry->d_name[0] == '.' || !matchesMask(names.back(), displayName(entry->d_name)) ||
                fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
                S_ISDIR(st.st_mode))
                continue;
            found.push_back((folder == "/" ? "" : folder) + "/" + entry->d_name);
        }
        closedir(dir);
    }
    std::sort(found.begin(), found.end());
    if (found.empty()) ShellPrint(typed + ": " + shellText(strerror(ENOENT)) + "\r\n");
    return found;
}

void DosShell::deleteFiles(const ShellCommand& command) {
    if (command.arguments.empty()) {
        if (command.word == "del") printMissingParameter();
        return;
    }
    const std::string& typed = command.arguments[0];
    const std::vector<std::string> paths = sources(typed);
    if (paths.empty()) return;
    const std::string question = paths.size() == 1
                                     ? std::string("'")
                                           .append(cp949ToUtf8Lossy(drives_.dosPath(paths[0])))
                                           .append("'을(를) 휴지통으로 보내시겠습니까?")
                                     : std::string("이 ")
                                           .append(std::to_string(paths.size()))
                                           .append("개 항목을 휴지통으로 보내시겠습니까?");
    if (askUser(question, PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes) return;
    bool failed = false;
    for (const std::string& path : paths) {
        if (const int error = moveToTrash(path)) {
            reportFailure(path, error);
            failed = true;
        }
    }
    if (!failed) ShellPrint("Deleting " + typed + "\r\n");
}
