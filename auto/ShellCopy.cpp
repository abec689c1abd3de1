// `copy` and `move`: into a folder, or one file to a new name.
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "auto/Shell.h"
#include "auto/ShellTreeCopy.h"
#include "platform/TextCodec.h"

namespace {

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return lstat(a.c_str(), &sa) == 0 && lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool isFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string baseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

void DosShell::reportFailure(const std::string& linuxPath, int error) {
    ShellPrint(drives_.dosPath(linuxPath) + ": " + shellText(strerror(error)) + "\r\n");
}

void DosShell::copyFiles(const ShellCommand& command) {
    const std::vector<std::string>& args = command.arguments;
    if (args.empty() || args.size() > 2) {
        printMissingParameter();
        return;
    }
    const std::vector<std::string> paths = sources(args[0]);
    if (paths.empty()) return;
    const std::string target = drives_.resolve(args.size() == 2 ? args[1] : std::string("."));
    const bool intoFolder = isFolder(target);
    if (!intoFolder && paths.size() > 1) {
        ShellPrint((args.size() == 2 ? args[1] : std::string(".")) + ": " +
                   shellText(strerror(ENOTDIR)) + "\r\n");
        return;
    }
    const std::unique_ptr<WaitNotice> wait = host_.prompt().beginWait(
        command.word == "move" ? "옮기는 중입니다..." : "복사하는 중입니다...", 500);
    for (const std::string& source : paths) {
        const std::string destination = intoFolder ? target + "/" + baseName(source) : target;
        if (!transfer(source, destination, command.word == "move", wait.get())) return;
    }
}

bool DosShell::transfer(const std::string& source, const std::string& destination, bool move,
                        WaitNotice* wait) {
    if (source == destination || sameFile(source, destination)) {
        ShellPrint(drives_.dosPath(destination) +
                   shellText(": 원본과 대상이 같은 파일입니다.\r\n"));
        return true;
    }
    if (isFolder(source) && destination.starts_with(source + "/")) {
        ShellPrint(drives_.dosPath(destination) +
                   shellText(": 폴더를 그 자신 안으로 복사할 수 없습니다.\r\n"));
        return true;
    }
    struct stat st;
    if (lstat(destination.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
        const PromptAnswer answer = askUser(cp949ToUtf8Lossy(drives_.dosPath(destination)) +
                                                " 파일이 이미 있습니다. 바꾸시겠습니까?",
                                            PromptButtons::YesNoCancel, PromptIcon::Question);
        if (answer != PromptAnswer::Yes) return answer == PromptAnswer::No;
    }
    if (move && rename(source.c_str(), destination.c_str()) == 0) return true;
    if (move && errno != EXDEV) {
        reportFailure(source, errno);
        return false;
    }
    const TreeCopyResult copied = copyTree(source, destination, wait);
    if (copied.error) {
        if (copied.error != ECANCELED) reportFailure(copied.path, copied.error);
        return false;
    }
    std::error_code removed;
    if (move) std::filesystem::remove_all(source, removed);
    if (removed) reportFailure(source, removed.value());
    return !removed;
}
