#include "link/PppdBackend.h"

#include <dirent.h>
#include <grp.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kPollMs = 50;

std::string readSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (!in) return text;
    text.resize(4096);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// A pid file's number: digits, then only white space; anything else is no pid.
int parsePid(const std::string& text) {
    size_t end = text.find_last_not_of(" \t\r\n");
    if (end == std::string::npos || end >= 9) return -1;
    int pid = 0;
    for (size_t i = 0; i <= end; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        pid = pid * 10 + (text[i] - '0');
    }
    return pid > 1 ? pid : -1;
}

bool inGroup(const std::string& group) {
    if (geteuid() == 0) return true;
    const struct group* entry = getgrnam(group.c_str());
    if (!entry) return false;
    if (getegid() == entry->gr_gid) return true;
    std::vector<gid_t> groups(static_cast<size_t>(std::max(getgroups(0, nullptr), 0)));
    groups.resize(static_cast<size_t>(
        std::max(getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    return std::find(groups.begin(), groups.end(), entry->gr_gid) != groups.end();
}

bool isPppInterfaceName(const std::string& name) {
    return name.size() > 3 && name.starts_with("ppp") &&
           std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool isPlainEntryName(const std::string& name) {
    if (name.empty() || name[0] == '-' || name[0] == '.') return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == ' ' || (static_cast<unsigned char>(c) < 0x20) || c == 0x7f;
    });
}

PppdBackend::PppdBackend(EventLoop& loop, ProcessLauncher& launcher, PppdPaths paths)
    : loop_(loop), launcher_(launcher), paths_(std::move(paths)) {}

PppdBackend::~PppdBackend() {
    for (const Pending& p : pending_)
        loop_.removeTimer(p.timer);
}

bool PppdBackend::installed(std::string& reason) {
    for (const std::string& program : {paths_.pon, paths_.poff, paths_.pppd}) {
        // pppd is in /usr/sbin, which a user's PATH often lacks.
        if (!ProcessLauncher::programFound(program, "/usr/sbin:/sbin")) {
            reason = "ppp 패키지가 없습니다";
            return false;
        }
    }
    DIR* dir = opendir(paths_.peers.c_str());
    const int error = errno;
    if (dir) closedir(dir);
    if (!dir && error != EACCES) {
        reason = "ppp 패키지가 없습니다";
        return false;
    }
    if (!dir || !inGroup(paths_.group)) {
        reason = paths_.group + " 그룹의 사용자가 아닙니다";
        return false;
    }
    return true;
}

std::vector<std::string> PppdBackend::entries() {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(paths_.peers, error)) {
        const std::string name = entry.path().filename().string();
        if (isPlainEntryName(name) && entry.is_regular_file(error)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string PppdBackend::peerOf(int pid) {
    if (pid <= 0) return "";
    const std::string cmdline = readSmallFile(paths_.proc + "/" + std::to_string(pid) + "/cmdline");
    std::vector<std::string> words;
    std::stringstream in(cmdline);
    for (std::string word; std::getline(in, word, '\0') && words.size() < 3;)
        words.push_back(word);
    // As poff finds it: "pppd call NAME", pppd named by path or not.
    if (words.size() < 3 || fs::path(words[0]).filename() != "pppd" || words[1] != "call")
        return "";
    return isPlainEntryName(words[2]) ? words[2] : "";
}

bool PppdBackend::interfaceUp(const std::string& interface) {
    const std::string folder = paths_.net + "/" + interface;
    if (firstLine(readSmallFile(folder + "/type")) != "512") return false;  // ARPHRD_PPP
    const unsigned long flags = std::strtoul(readSmallFile(folder + "/flags").c_str(), nullptr, 16);
    return (flags & 1) != 0;  // IFF_UP
}

std::vector<PppdBackend::Link> PppdBackend::links() {
    std::vector<Link> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(paths_.net, error)) {
        const std::string interface = entry.path().filename().string();
        if (!interfaceUp(interface)) continue;
        Link link{interface, -1, ""};
        if (isPppInterfaceName(interface)) {
            link.pid = parsePid(readSmallFile(paths_.run + "/" + interface + ".pid"));
            link.peer = peerOf(link.pid);
        }
        found.push_back(link);
    }
    std::sort(found.begin(), found.end(),
              [](const Link& a, const Link& b) { return a.interface < b.interface; });
    return found;
}

std::vector<std::string> PppdBackend::activeConnections() {
    std::vector<std::string> names;
    for (const Link& link : links())
        names.push_back(link.peer.empty() ? link.interface : link.peer);
    return names;
}

bool PppdBackend::connectStatus(const std::string& name) {
    if (!isPlainEntryName(name)) return false;
    const std::vector<Link> up = links();
    // A connection without a peer of ours goes by its interface's name.
    return std::any_of(up.begin(), up.end(), [&](const Link& link) {
        return link.peer.empty() ? link.interface == name : link.peer == name;
    });
}

int PppdBackend::pppdOf(const std::string& name) {
    for (const Pending& p : pending_)
        if (p.name == name) return p.pid;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(paths_.run, error)) {
        const std::string file = entry.path().filename().string();
        if (!file.ends_with(".pid") || !isPppInterfaceName(file.substr(0, file.size() - 4)))
            continue;
        const int pid = parsePid(readSmallFile(entry.path().string()));
        if (!name.empty() && peerOf(pid) == name) return pid;
    }
    return -1;
}

void PppdBackend::dial(const std::string& name, DialDone done) {
    const bool plain = isPlainEntryName(name);
    const ProcessLauncher::Started started =
        plain ? launcher_.start({paths_.pon, name, "updetach"}, "", true)
              : ProcessLauncher::Started{-1, EINVAL};
    if (started.pid < 0) {
        loop_.post([done, plain] { done(plain ? kNotStarted : kBadName); });
        return;
    }
    const int pid = started.pid;
    const int timer = loop_.addTimer(kPollMs, true, [this, pid] { finishDial(pid); });
    pending_.push_back({name, pid, timer, std::move(done)});
}

void PppdBackend::finishDial(int pid) {
    const int status = launcher_.wait(pid, 0);
    if (status < 0) return;
    auto it = std::find_if(pending_.begin(), pending_.end(),
                           [pid](const Pending& p) { return p.pid == pid; });
    if (it == pending_.end()) return;
    loop_.removeTimer(it->timer);
    DialDone done = std::move(it->done);
    pending_.erase(it);
    done(status);
}

void PppdBackend::hangUp(const std::string& name) {
    if (!isPlainEntryName(name)) return;
    const int pppd = pppdOf(name);
    const ProcessLauncher::Started poff = launcher_.start({paths_.poff, name}, "", true);
    if (poff.pid < 0) return;
    launcher_.wait(poff.pid, kHangUpWaitMs);
    if (pppd < 0) return;
    const bool ours = std::any_of(pending_.begin(), pending_.end(),
                                  [pppd](const Pending& p) { return p.pid == pppd; });
    if (ours) {
        launcher_.wait(pppd, kHangUpWaitMs);  // the dial's timer reports how it ended
        return;
    }
    for (int waited = 0; waited < kHangUpWaitMs && peerOf(pppd) == name; waited += kPollMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
}

std::string PppdBackend::errorText(int code) {
    switch (code) {
        case 0:
            return "연결되었습니다";
        case 2:
            return "연결 설정에 오류가 있습니다";
        case 3:
            return "pppd를 실행할 권한이 없습니다";
        case kNoKernelSupport:
            return "커널에 PPP가 없습니다";
        case 5:
            return "연결이 취소되었습니다";
        case 6:
            return "모뎀 포트가 다른 프로그램에서 사용 중입니다";
        case 7:
            return "모뎀 포트를 열 수 없습니다";
        case 8:
            return "연결 스크립트가 실패했습니다";
        case 10:
            return "PPP 협상에 실패했습니다";
        case 11:
        case 19:
            return "인증에 실패했습니다";
        case 15:
            return "상대편이 응답하지 않습니다";
        case 16:
            return "모뎀이 전화를 끊었습니다";
        case kBadName:
            return "연결 이름이 올바르지 않습니다";
        case kNotStarted:
            return "pon을 실행할 수 없습니다";
        default:
            return "전화 접속 네트워킹 오류 " + std::to_string(code);
    }
}

std::string PppdBackend::entryFile(const std::string& name) {
    if (!isPlainEntryName(name)) return "";
    const std::string path = paths_.peers + "/" + name;
    std::error_code error;
    return fs::is_regular_file(path, error) ? path : "";
}
