// quilite-xfer: runs a transfer engine over standard input/output (like sz/rz) or a tty.
//   quilite-xfer send -p PROTOCOL [--line DEV] [--timeout SECONDS] [--log LOG] FILE...
//   quilite-xfer receive -p PROTOCOL [-d DIR] [--line DEV] [--timeout SECONDS] [--log LOG] [FILE]
// FILE names the received file for the protocols that carry no name (XMODEM, ASCII), under DIR
// unless absolute. LOG gets the engine's diagnostic lines. With --timeout the run ends within
// SECONDS, the protocol's abort handshake included.
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
#include "platform/ProgramHelp.h"
#include "tools/quilite-xfer-monitor.h"
#include "tools/quilite-xfer-tty.h"
#include "xfer/GFTransfer.h"

namespace {

constexpr int kLinkWaitMs = 200;
// The engines' abort handshake (the abort string, then a wait of up to 3.5 seconds for the
// peer's CANs) ends a stopped transfer; the stop comes that much before the time limit.
constexpr int64_t kAbortHandshakeMs = 5000;

struct Options {
    bool send = false;
    std::string protocol;
    std::string folder = ".";
    std::string line;
    int timeoutSeconds = 0;
    std::string log;
    std::vector<std::string> files;
    int transferType = -1;  // set on the monitor after creation
};

// Protocols whose engines only receive.
const char* const receiveOnly[] = {"ZIMAGE"};
// Protocols that carry no file name: a receive names its file.
const char* const receiveNeedsName[] = {"XMODEM", "ASCII"};

// Variants a host selects by setting the transfer type on an engine of another name.
struct Variant {
    const char* name;
    const char* engine;
    int type;
};
const Variant variants[] = {
    {"XMODEM-1K", "XMODEM", GF_TYPE_XMODEM_1K},
    {"XMODEM-1KG", "XMODEM", GF_TYPE_XMODEM_1KG},
    {"YMODEM-G", "YMODEM", GF_TYPE_YMODEM_G},
};

// Upper case, a blank read as a hyphen; a variant becomes its engine and type.
void setProtocol(Options& o, std::string name) {
    for (char& ch : name)
        ch = ch == ' ' ? '-' : static_cast<char>(std::toupper(ch));
    o.protocol = name;
    for (const Variant& v : variants) {
        if (name == v.name) {
            o.protocol = v.engine;
            o.transferType = v.type;
        }
    }
}

bool listed(const std::string& protocol, const auto& names) {
    return std::find(std::begin(names), std::end(names), protocol) != std::end(names);
}

const char kUsage[] =
    "usage: quilite-xfer send -p PROTOCOL [--line DEV] [--timeout SECONDS] [--log LOG] FILE...\n"
    "       quilite-xfer receive -p PROTOCOL [-d DIR] [--line DEV] [--timeout SECONDS] "
    "[--log LOG] [FILE]\n"
    "  PROTOCOL: ZMODEM, XMODEM, XMODEM-1K, XMODEM-1KG, YMODEM, YMODEM-G, KERMIT, ASCII\n"
    "            (ZIMAGE only receives)\n"
    "Exit status: 0 every file arrived whole, 1 the transfer failed, 2 usage.\n";

int usage(const char* why) {
    std::fprintf(stderr, "quilite-xfer: %s\n%s", why, kUsage);
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
            setProtocol(o, v);
        } else if (arg == "-d" && !o.send) {
            if (!(v = value())) return *why = "-d needs a folder", std::nullopt;
            o.folder = v;
        } else if (arg == "--line") {
            if (!(v = value())) return *why = "--line needs a device", std::nullopt;
            o.line = v;
        } else if (arg == "--timeout") {
            if (!(v = value()) || std::atoi(v) <= 0) return *why = "bad --timeout", std::nullopt;
            o.timeoutSeconds = std::atoi(v);
        } else if (arg == "--log") {
            if (!(v = value())) return *why = "--log needs a file", std::nullopt;
            o.log = v;
        } else if (arg.empty() || arg[0] != '-' || arg == "-") {
            o.files.push_back(arg);
        } else {
            return *why = "unknown option", std::nullopt;
        }
    }
    if (o.protocol.empty()) return *why = "no protocol (-p)", std::nullopt;
    if (o.send && o.files.empty()) return *why = "no files to send", std::nullopt;
    if (!o.send && listed(o.protocol, receiveNeedsName) && o.files.size() != 1) {
        return *why = "this protocol receives one named FILE", std::nullopt;
    }
    if (!o.send && !listed(o.protocol, receiveNeedsName) && !o.files.empty()) {
        return *why = "this protocol takes file names from the sender", std::nullopt;
    }
    return o;
}

bool sameDevice(int a, int b) {
    struct stat sa {
    }, sb{};
    return fstat(a, &sa) == 0 && fstat(b, &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Progress goes to standard error when it is a terminal other than the transfer's own line.
bool progressWanted(int inFd, int outFd) {
    return isatty(STDERR_FILENO) && !sameDevice(STDERR_FILENO, inFd) &&
           !sameDevice(STDERR_FILENO, outFd);
}

void onSignal(int) {
    ConsoleMonitor::interrupted = true;
}

void installSignals() {
    signal(SIGPIPE, SIG_IGN);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}

// When the transfer is stopped so that the run ends within its time limit; 0 for no limit.
int64_t stopAtMs(const Options& o, Clock& clock) {
    if (!o.timeoutSeconds) return 0;
    const int64_t limit = o.timeoutSeconds * 1000LL;
    return clock.nowMs() + std::max(limit / 2, limit - kAbortHandshakeMs);
}

int run(const Options& o, int inFd, int outFd) {
    Clock& clock = Clock::steady();
    const int64_t deadline = stopAtMs(o, clock);
    const int progressFd = progressWanted(inFd, outFd) ? STDERR_FILENO : -1;
    ConsoleMonitor monitor(o.folder, progressFd, clock, deadline);
    if (!o.log.empty() && !monitor.LogTo(o.log)) {
        std::perror(o.log.c_str());
        return 1;
    }
    int result;
    {
        // Short waits let the time limit end a transfer promptly.
        FdLink link(inFd, outFd, kLinkWaitMs);
        std::unique_ptr<GFTransfer> engine(
            GFTransfer::CreateObject(o.protocol.c_str(), &link, &monitor));
        if (!engine) return usage("unknown protocol");
        if (o.transferType >= 0) monitor.SetTransferType(o.transferType);
        if (o.send) {
            std::string joined;
            for (const std::string& f : o.files)
                joined += (joined.empty() ? "" : "\t") + f;
            engine->SetSendList(o.files);
            result = engine->SendFile(joined.c_str());
        } else {
            result = engine->ReceiveFile(o.files.empty() ? o.folder.c_str() : o.files[0].c_str());
        }
    }
    monitor.Finish();
    if (result != 0) {
        std::fprintf(stderr, "quilite-xfer: transfer failed (%d)\n", result);
        return 1;
    }
    // A batch ends quietly at a file it cannot read; the files after it were never sent.
    const int listed = static_cast<int>(o.files.size());
    if (o.send && monitor.FilesClosed() < listed) {
        std::fprintf(stderr, "quilite-xfer: %d of %d files sent; %s could not be read\n",
                     monitor.FilesClosed(), listed, o.files[monitor.FilesClosed()].c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (printHelpIfAsked(argc, argv, kUsage)) return 0;
    const char* why = "";
    std::optional<Options> options = parse(argc, argv, &why);
    if (!options) return usage(why);
    if (options->send) {
        if (listed(options->protocol, receiveOnly)) return usage("this protocol only receives");
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
