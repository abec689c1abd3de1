// quilite-demohost: a small Korean bulletin-board host on 127.0.0.1 for trying Quilite.
//   --port N       listen on port N (0, the default: any free port)
//   --parent-fd N  end when this pipe's other end closes (the program that started us ended)
//   --listen-fd N  serve on this listening socket on 127.0.0.1, made by the program that
//                  started us, instead of opening one
//   --exit-when-idle  end when the last connection closes (once one has come)
//   --files DIR    offer the files of DIR instead of the generated ones
// The first line on standard output is "LISTEN 127.0.0.1 PORT". SIGINT and SIGTERM end it:
// every user gets a goodbye line, transfers stop, the upload folder is removed, exit status 0.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/DataFolder.h"
#include "platform/ProgramHelp.h"
#include "tools/demohost/DemoFiles.h"
#include "tools/demohost/DemoServer.h"

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char b = 1;
    [[maybe_unused]] ssize_t n = write(stopPipe[1], &b, 1);
}

const char kUsage[] =
    "usage: quilite-demohost [--port N] [--parent-fd N] [--listen-fd N] [--exit-when-idle]\n"
    "                        [--files DIR]\n"
    "  A small Korean bulletin-board host on 127.0.0.1; prints \"LISTEN 127.0.0.1 PORT\".\n"
    "  --port N       the port to listen on (default 0: a free one)\n"
    "  --parent-fd N  end when this descriptor reaches its end (the starting program's pipe)\n"
    "  --listen-fd N  serve on this listening socket on 127.0.0.1 instead of opening one\n"
    "  --exit-when-idle  end when the last connection closes (once one has come)\n"
    "  --files DIR    the download room's files (default: DemoFiles of the data folder)\n";

int usage(const char* why) {
    std::fprintf(stderr, "quilite-demohost: %s\n%s", why, kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int port = 0;
    int parentFd = -1;
    int listenFd = -1;
    bool exitWhenIdle = false;
    if (printHelpIfAsked(argc, argv, kUsage)) return 0;
    if (const std::string problem = dataFolderProblem(dataFolder()); !problem.empty()) {
        std::fprintf(stderr, "quilite-demohost: %s\n", problem.c_str());
        return 1;
    }
    DemoHostState host;
    host.filesFolder = DemoFilesFolder();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--exit-when-idle") {
            exitWhenIdle = true;
            continue;
        }
        if (i + 1 >= argc) return usage("an option needs a value");
        const char* value = argv[++i];
        if (arg == "--port")
            port = std::atoi(value);
        else if (arg == "--parent-fd")
            parentFd = std::atoi(value);
        else if (arg == "--listen-fd")
            listenFd = std::atoi(value);
        else if (arg == "--files")
            host.filesFolder = value;
        else
            return usage("unknown option");
    }
    host.words = LoadServiceWords(ShippedProfilePath());
    if (host.words.loginPrompt.empty()) return usage("the shipped profile cannot be read");

    signal(SIGPIPE, SIG_IGN);
    if (pipe2(stopPipe, O_CLOEXEC) != 0) return 1;
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    std::string uploads = std::filesystem::temp_directory_path().string() + "/quilite-demo-XXXXXX";
    if (!mkdtemp(uploads.data())) return usage("no upload folder can be made");
    host.uploadFolder = uploads;

    DemoServer server(host);
    if (exitWhenIdle) server.EndWhenIdle();
    const int listening = listenFd >= 0 ? server.Adopt(listenFd) : server.Listen(port);
    if (listening < 0) {
        std::filesystem::remove_all(uploads);
        return usage(listenFd >= 0 ? "--listen-fd names no socket listening on 127.0.0.1"
                                   : "the port cannot be had");
    }
    std::printf("LISTEN 127.0.0.1 %d\n", listening);
    std::fflush(stdout);
    server.Serve(stopPipe[0], parentFd);

    std::error_code ec;
    std::filesystem::remove_all(uploads, ec);
    // Connection threads still ending must not see the state go away under them.
    _exit(0);
}
