// quilite: the Korean communications terminal. "--tty" runs the session in the user's own
// terminal; the graphical window is chosen with "--gui".
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/tty/TtyProgram.h"

namespace {

const char kUsage[] =
    "사용법: quilite [--tty | --gui] [호스트 [포트] | telnet://호스트[:포트] | /t 텔넷 연결 이름 |"
    " /m 모뎀 연결 이름]\n"
    "  --tty  지금 터미널 안에서 실행합니다 (Ctrl-] 다음 글쇠로 명령).\n"
    "  --gui  그래픽 창으로 실행합니다.\n";

}  // namespace

int main(int argc, char** argv) {
    bool tty = false, gui = false;
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!words.empty() || arg.empty() || arg[0] != '-') {
            words.push_back(arg);
        } else if (arg == "--tty") {
            tty = true;
        } else if (arg == "--gui") {
            gui = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "quilite: 알 수 없는 옵션 %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }
    if (gui) {
        std::fputs(
            "quilite: 그래픽 창은 아직 없습니다. 터미널에서 quilite --tty 로 "
            "실행하십시오.\n",
            stderr);
        return 2;
    }
    if (!tty && !(isatty(0) && isatty(1))) {
        std::fputs(
            "quilite: 터미널이 아닌 곳에서는 실행할 수 없습니다. 터미널에서 "
            "quilite --tty 로 실행하십시오.\n",
            stderr);
        return 2;
    }
    return RunTtyProgram(words);
}
