// quilite: the Korean communications terminal. It opens its window when a display is there
// ("--gui" asks for it), and runs inside the user's own terminal otherwise ("--tty").
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/DemoLaunch.h"
#include "app/gui/DisplayCheck.h"
#include "app/gui/GuiProgram.h"
#include "app/tty/TtyProgram.h"
#include "platform/DataFolder.h"

namespace {

const char kUsage[] =
    "사용법: quilite [--tty | --gui] [--nosplash] [--demo | 호스트 [포트] |"
    " telnet://호스트[:포트] | /t 텔넷 연결 이름 | /m 모뎀 연결 이름]\n"
    "  --tty       지금 터미널 안에서 실행합니다 (Ctrl-] 다음 글쇠로 명령).\n"
    "  --gui       그래픽 창으로 실행합니다.\n"
    "  --nosplash  시작 그림을 보이지 않습니다.\n"
    "  --demo      데모 통신망을 띄우고 접속합니다 (아이디와 비밀번호는 아무것이나).\n";

bool displayNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

bool inTerminal() {
    return isatty(0) && isatty(1);
}

}  // namespace

int main(int argc, char** argv) {
    // A write past the file-size limit fails with EFBIG, which the writers report, instead of
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    bool tty = false, gui = false, demo = false;
    GuiOptions options;
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!words.empty() || arg.empty() || arg[0] != '-') {
            words.push_back(arg);
        } else if (arg == "--tty") {
            tty = true;
        } else if (arg == "--gui") {
            gui = true;
        } else if (arg == "--demo") {
            demo = true;
        } else if (arg == "--nosplash") {
            options.noSplash = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "quilite: 알 수 없는 옵션 %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }
    if (demo && !words.empty()) {
        std::fprintf(stderr, "quilite: --demo 에는 연결할 곳을 함께 줄 수 없습니다.\n%s", kUsage);
        return 2;
    }
    const bool window = gui || (!tty && displayNamed() && (displayReachable() || !inTerminal()));
    if (!window && !inTerminal() && (!tty || demo)) {
        std::fputs(
            "quilite: 터미널이 아닌 곳에서는 실행할 수 없습니다. 터미널에서 "
            "quilite --tty 로 실행하십시오.\n",
            stderr);
        return 2;
    }
    // Without its data folder the program has neither fonts nor the default profile.
    if (const std::string problem = dataFolderProblem(dataFolder()); !problem.empty()) {
        if (window && displayReachable()) return ShowGuiStartError(argc, argv, problem);
        std::fprintf(stderr, "quilite: %s\n", problem.c_str());
        return 1;
    }
    // The demo host serves while its user is connected; its entry counts as a connection to open.
    DemoLaunch demoHost;
    std::string error;
    if (demo && !demoHost.Start(error)) {
        std::fprintf(stderr, "quilite: %s\n", error.c_str());
        return 1;
    }
    const Record* entry = demo ? &demoHost.Entry() : nullptr;
    if (window) {
        if (!displayReachable()) {
            std::fputs(
                "quilite: 그래픽 화면에 연결할 수 없습니다. 터미널에서 quilite --tty 로 "
                "실행하십시오.\n",
                stderr);
            return 2;
        }
        return RunGuiProgram(argc, argv, words, options, entry);
    }
    return RunTtyProgram(words, entry);
}
