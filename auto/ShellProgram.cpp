// Any other command word starts a program, with an argument vector and never through a shell.
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "auto/Shell.h"
#include "platform/TextCodec.h"

namespace {

std::string linuxText(const std::string& cp949) {
    return cp949ToUtf8(cp949).value_or(cp949);
}

bool isProgramFile(const std::string& path, const struct stat& st) {
    return S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

void DosShell::startProgram(const ShellCommand& command) {
    std::vector<std::string> argv;
    // A file of the current folder (or a path) comes before PATH, as on the old system; a
    // folder or a document goes to the desktop's opener.
    const std::string local = drives_.resolve(command.typedWord);
    struct stat st;
    if (!local.empty() && stat(local.c_str(), &st) == 0) {
        if (isProgramFile(local, st)) {
            argv.push_back(local);
        } else {
            argv = {"xdg-open", local};
        }
    } else {
        argv.push_back(linuxText(command.typedWord));
    }
    for (const std::string& argument : command.arguments)
        argv.push_back(linuxText(argument));
    const ProcessLauncher::Started started = host_.startProgram(argv, drives_.directory());
    if (started.pid < 0)
        tellUser(cp949ToUtf8Lossy(command.typedWord) + ": 프로그램을 실행하지 못했습니다.\n" +
                 strerror(started.error));
}
