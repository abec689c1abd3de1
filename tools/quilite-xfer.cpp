// quilite-xfer: runs a transfer engine over standard input/output (like sz/rz) or a tty.
//   quilite-xfer send -p PROTOCOL [--line DEV] [--timeout SECONDS] FILE...
//   quilite-xfer receive -p PROTOCOL [-d DIR] [--line DEV] [--timeout SECONDS] [FILE]
// Exit status: 0 when every file arrived whole, 1 when the transfer failed, 2 for a usage error.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/FdLink.h"
#include "tools/quilite-xfer-monitor.h"
#include "tools/quilite-xfer-tty.h"
#include "xfer/GFTransfer.h"

namespace {

struct Options {
    bool send = false;
    std::string protocol;
    std::string folder = ".";
    std::string line;
    int timeoutSeconds = 0;
    std::vector<std::string> files;
    // receive: the file to write, for protocols that carry no name.
    std::string target;
};

// Protocols whose engines only receive.
const char* const receiveOnly[] = {"ZIMAGE"};
// Protocols that carry no file name: a receive names the file to write.
const char* const receiveIntoFile[] = {"ASCII"};

bool listed(const std::string& protocol, const auto& names) {
    for (const char* name : names) {
        if (protocol == name) return true;
    }
    return false;
}

int usage(const char* why) {
    std::fprintf(stderr,
                 "quilite-xfer: %s\n"
                 "usage: quilite-xfer send -p PROTOCOL [--line DEV] [--timeout SECONDS] FILE...\n"
                 "       quilite-xfer receive -p PROTOCOL [-d DIR] [--line DEV] "
                 "[--timeout SECONDS] [FILE]\n",
                 why);
    return 2;
}

std::optional<Options> parse(int argc, char** argv, const char** why) {
    Options o;
    if (argc < 2) return *why = "no command", std::nullopt;
    const std::string command = argv[1];
    if (command != "send" && command != "receive") return *why = "unknown command", std::nullopt;
    o.send = command == "send";
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (arg == "-p" || arg == "--protocol") {
            if (!(v = value())) return *why = "-p needs a protocol", std::nullopt;
            o.protocol = v;
            std::transform(o.protocol.begin(), o.protocol.end(), o.protocol.begin(),
                           [](unsigned char c) { return std::toupper(c); });
        } else if (arg == "-d" && !o.send) {
            if (!(v = value())) return *why = "-d needs a folder", std::nullopt;
            o.folder = v;
        } else if (arg == "--line") {
            if (!(v = value())) return *why = "--line needs a device", std::nullopt;
            o.line = v;
        } else if (arg == "--timeout") {
            if (!(v = value()) || std::atoi(v) <= 0) return *why = "bad --timeout", std::nullopt;
            o.timeoutSeconds = std::atoi(v);
        } else if (o.send && (arg.empty() || arg[0] != '-' || arg == "-")) {
            o.files.push_back(arg);
        } else if (!o.send && o.target.empty() && !arg.empty() && arg[0] != '-') {
            o.target = arg;
        } else {
            return *why = "unknown option", std::nullopt;
        }
    }
    if (o.protocol.empty()) return *why = "no protocol (-p)", std::nullopt;
    if (o.send && o.files.empty()) return *why = "no files to send", std::nullopt;
    if (!o.send && o.target.empty() && listed(o.protocol, receiveIntoFile)) {
        return *why = "this protocol receives into a FILE", std::nullopt;
    }
    return o;
}

bool sameDevice(int a, int b) {
    struct stat sa{}, sb{};
    return fstat(a, &sa) == 0 && fstat(b, &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Progress goes to standard error when it is a terminal other than the transfer's own line.
bool progressWanted(int inFd, int outFd) {
    return isatty(STDERR_FILENO) && !sameDevice(STDERR_FILENO, inFd) &&
           !sameDevice(STDERR_FILENO, outFd);
}

void onSignal(int) { ConsoleMonitor::interrupted = true; }

void installSignals() {
    signal(SIGPIPE, SIG_IGN);
    struct sigaction sa{};
    sa.sa_handler = onSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}

int run(const Options& o, int inFd, int outFd) {
    Clock& clock = Clock::steady();
    const int64_t deadline = o.timeoutSeconds ? clock.nowMs() + o.timeoutSeconds * 1000LL : 0;
    const int progressFd = progressWanted(inFd, outFd) ? STDERR_FILENO : -1;
    ConsoleMonitor monitor(o.folder, progressFd, clock, deadline);
    int result;
    {
        FdLink link(inFd, outFd);
        std::unique_ptr<GFTransfer> engine(
            GFTransfer::CreateObject(o.protocol.c_str(), &link, &monitor));
        if (!engine) return usage("unknown protocol");
        if (o.send) {
            std::string joined;
            for (const std::string& f : o.files) joined += (joined.empty() ? "" : "\t") + f;
            engine->SetSendList(o.files);
            result = engine->SendFile(joined.c_str());
        } else {
            result = engine->ReceiveFile(o.target.c_str());
        }
    }
    monitor.Finish();
    if (result != 0) std::fprintf(stderr, "quilite-xfer: transfer failed (%d)\n", result);
    return result == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const char* why = "";
    std::optional<Options> options = parse(argc, argv, &why);
    if (!options) return usage(why);
    if (options->send && listed(options->protocol, receiveOnly)) {
        return usage("this protocol only receives");
    }
    installSignals();
    int inFd = STDIN_FILENO, outFd = STDOUT_FILENO;
    if (!options->line.empty()) {
        inFd = outFd = open(options->line.c_str(), O_RDWR | O_NOCTTY);
        if (inFd < 0) {
            std::perror(options->line.c_str());
            return 1;
        }
    }
    RawTty inTty(inFd);
    std::optional<RawTty> outTty;
    if (outFd != inFd) outTty.emplace(outFd);
    const int status = run(*options, inFd, outFd);
    inTty.Restore();
    if (outTty) outTty->Restore();
    if (!options->line.empty()) close(inFd);
    return status;
}
