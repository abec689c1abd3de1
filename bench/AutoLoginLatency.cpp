// How soon the auto log-in answers: the headless session logs in 50 times, automatic selection
// on, to a loopback telnet host that plays the shipped service's prompts ("login: " and
// "Password: ") and times, at the host, each prompt's last byte to the answer's CR. The peer is
// a bare client thread that answers the same prompts straight from its socket: the floor that
// the loop and the loopback set. Targets: median at most 2 ms, 95th percentile at most 10 ms.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/CSettingsSection.h"
#include "bench/BenchEntry.h"
#include "bench/Median.h"
#include "bench/NoFrame.h"
#include "link/CQuillonDoc.h"
#include "link/SystemLinks.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"
#include "tests/fixtures/LoopbackListener.h"
#include "tests/fixtures/TelnetHostData.h"

namespace {

constexpr int kLogins = 50;
const std::string kService = "bench";
const std::string kPrompts[] = {"login: ", "Password: "};

using SteadyTime = std::chrono::steady_clock::time_point;

double msBetween(SteadyTime from, SteadyTime to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

class LineView : public TWView {
public:
    void OnLineReady(bool partial) override {
        if (doc) doc->LineReady(partial);
    }
    CQuillonDoc* doc = nullptr;
};

// Reads until a CR arrives; false when the connection ended or 5 s passed.
bool awaitCR(int fd) {
    char buffer[512];
    for (;;) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, 5000) <= 0) return false;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return false;
        if (std::find(buffer, buffer + n, '\r') != buffer + n) return true;
    }
}

// One connection of the host: the banner, then each prompt timed to the answer's CR.
bool hostOneLogin(LoopbackListener& listener, std::vector<double>& answers) {
    const int fd = listener.accept(10000);
    if (fd < 0) return false;
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    bool ok = sendAll(fd, kHostWillEcho + "*** bench ***\r\n\r\n");
    usleep(20000);  // the banner settles as its own burst, as a host's would
    for (const std::string& prompt : kPrompts) {
        ok = ok && sendAll(fd, prompt);
        const SteadyTime sent = std::chrono::steady_clock::now();
        ok = ok && awaitCR(fd);
        if (ok) answers.push_back(msBetween(sent, std::chrono::steady_clock::now()));
    }
    close(fd);
    return ok;
}

// The peer: a client that answers each prompt as soon as its last byte is read.
void bareClient(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        std::string seen;
        char buffer[512];
        for (const std::string& prompt : kPrompts) {
            while (seen.size() < prompt.size() ||
                   seen.compare(seen.size() - prompt.size(), prompt.size(), prompt) != 0) {
                const ssize_t n = read(fd, buffer, sizeof buffer);
                if (n <= 0) break;
                seen.append(buffer, static_cast<size_t>(n));
            }
            sendAll(fd, "x\r");
        }
    }
    close(fd);
}

void makeProfile(Registry& registry, int port) {
    CRecordStore records(registry);
    records.SelectKind(RecordKind::Service);
    RegKey service = *records.AddRecord(records.Section());
    records.WriteRecord(
        service,
        {{"Title", kService}, {"LoginString", kPrompts[0]}, {"PasswordString", kPrompts[1]}});
    records.SaveIdList(service, {{{"Title", "guest"}, {"Password", "secret"}}});
    addBenchEntry(registry, kService, port);
    CSettingsSection(registry, "Settings").SetInt("UseAutoLogin", 1);
}

// The session logs in `kLogins` times; false when a log-in failed.
bool sessionLogins(Registry& registry, LoopbackListener& listener, std::vector<double>& answers) {
    PollEventLoop loop;
    ScriptedPrompt prompt;
    SilentSoundPlayer sound;
    LineView view;
    NoFrame frame;
    SystemLinks links(loop, prompt, registry, frame);
    bool ok = true;
    for (int i = 0; i < kLogins && ok; ++i) {
        CQuillonDoc doc(SessionContext{loop, prompt, registry, sound, view, links, frame});
        view.doc = &doc;
        std::atomic<bool> done{false};
        std::thread host([&] {
            ok = hostOneLogin(listener, answers);
            done = true;
        });
        loop.setIdleHook([&] {
            if (done) loop.quit();
            return doc.OnIdle();
        });
        const int check = loop.addTimer(50, true, [&] {
            if (done) loop.quit();
        });
        doc.Start(std::vector<std::string>{"/t", "bench"});
        loop.run();
        loop.removeTimer(check);
        host.join();
        loop.setIdleHook(nullptr);
        doc.CloseWithoutQuestions();
        view.doc = nullptr;
    }
    return ok;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * v.size()))];
}

}  // namespace

int main() {
    char pattern[] = "/tmp/quilite-autologin-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    Registry::Opened store = Registry::open(folder + "/profile.db");
    LoopbackListener listener;
    makeProfile(*store.registry, listener.port());

    std::vector<double> ours, bare;
    const bool ok = sessionLogins(*store.registry, listener, ours);
    for (int i = 0; i < kLogins; ++i) {
        std::thread client(bareClient, listener.port());
        hostOneLogin(listener, bare);
        client.join();
    }
    std::filesystem::remove_all(folder);
    if (!ok || ours.size() != 2 * kLogins || bare.empty()) {
        std::printf("the session did not log in every time (%zu answers)\n", ours.size());
        return 1;
    }
    const double med = median(ours), p95 = percentile(ours, 0.95);
    const double bareMed = median(bare), bareP95 = percentile(bare, 0.95);
    std::printf(
        "auto log-in: %zu answers, median %.3f ms, 95th percentile %.3f ms "
        "(targets at most 2 and 10 ms)\n",
        ours.size(), med, p95);
    std::printf("bare client: median %.3f ms, 95th percentile %.3f ms; ratio of medians %.1f\n",
                bareMed, bareP95, med / bareMed);
    return med <= 2.0 && p95 <= 10.0 ? 0 : 1;
}
