// The cost of the chat-room assistant on the receive path: the session benchmark's 16 MiB of
// Korean ANSI text and 16 MiB of chat-room lines of the first recognised service, sent by a
// loopback host through the telnet link and the session, whose view offers every line to the
// pipeline (no drawing). With recognition on the entry's service is that service and the
// stream opens with the room's enter notice, so that every line is classified and checked for
// notices; with it off the service is one the program does not recognise. Nine pairs of runs,
// one of each back to back; the session thread's processor time is compared within each pair
// and the median of the nine ratios is reported (target: at most 1.15 times).
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "auto/CRecordStore.h"
#include "bench/BenchEntry.h"
#include "bench/KoreanAnsiStream.h"
#include "bench/Median.h"
#include "bench/PumpSession.h"
#include "platform/TextCodec.h"

namespace {

constexpr size_t kStreamSize = 16u << 20;
constexpr int kRuns = 9;

class LineView : public TWView {
public:
    void OnLineReady(bool partial) override {
        if (doc) doc->LineReady(partial);
    }
    CQuillonDoc* doc = nullptr;
};

std::string cp(const char* utf8) {
    return utf8ToCp949(utf8).value();
}

std::string enterNotice() {
    return cp("## 나그네(guest01) 님이 입장하였습니다. ##\r\n");
}

// Fifty people talking, with now and then one coming, going or whispering.
std::string chatStream(size_t size) {
    std::mt19937 rng(31);
    const std::string words[] = {
        cp("안녕하세요"), cp("반갑습니다"), cp("오늘"), cp("날씨가"), cp("좋네요"), "ok", "hi",
        cp("ㅋㅋㅋ")};
    const std::string name = cp("손님");
    std::string out = enterNotice();
    while (out.size() < size) {
        char id[16];
        std::snprintf(id, sizeof id, "user%03u", static_cast<unsigned>(rng() % 50));
        const int kind = static_cast<int>(rng() % 20);
        if (kind == 0) {
            out += "## " + name + "(" + id + cp(") 님이 입장하였습니다. ##\r\n");
        } else if (kind == 1) {
            out += "## " + name + "(" + id + cp(") 님이 퇴장하였습니다. ##\r\n");
        } else if (kind == 2) {
            out += std::string("## ") + id + cp(" 님과 귀엣말이 설정되었습니다. ##\r\n");
        } else {
            std::string line = name + "(" + id + " )  ";
            for (int n = 2 + static_cast<int>(rng() % 8); n > 0; --n)
                line += words[rng() % std::size(words)] + " ";
            out += line + "\r\n";
        }
    }
    return out;
}

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// The session thread's processor seconds for the stream through an entry of `service`.
double timeStream(const std::string& folder, const std::string& service,
                  const std::string& stream) {
    const std::string path = folder + "/profile.db";
    std::filesystem::remove(path);
    Registry::Opened store = Registry::open(path);
    CRecordStore records(*store.registry);
    records.SelectKind(RecordKind::Service);
    records.WriteRecord(*records.AddRecord(records.Section()), {{"Title", service}});
    LoopbackListener listener;
    addBenchEntry(*store.registry, service, listener.port());
    std::thread host([&] {
        const int fd = listener.accept(10000);
        if (fd < 0 || !sendAll(fd, stream)) std::fprintf(stderr, "the host could not send\n");
        if (fd >= 0) close(fd);
    });
    HeadlessSessionWith<LineView> session(*store.registry);
    session.view.doc = &session.doc;
    bool wasOnline = false;
    const double start = threadSeconds();
    session.loop.setIdleHook([&] {
        const bool more = session.doc.OnIdle();
        if (!more && wasOnline && !session.doc.Online()) session.loop.quit();
        wasOnline |= session.doc.Online();
        return more;
    });
    session.doc.Start(std::vector<std::string>{"/t", "bench"});
    session.loop.run();
    session.loop.setIdleHook(nullptr);
    const double seconds = threadSeconds() - start;
    host.join();
    if (!wasOnline) std::fprintf(stderr, "the session never came online\n");
    return seconds;
}

}  // namespace

int main() {
    char pattern[] = "/tmp/quilite-chat-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string recognised = cp("하이텔");
    const std::pair<const char*, std::string> streams[] = {
        {"Korean ANSI stream", enterNotice() + makeKoreanAnsiStream(kStreamSize)},
        {"chat-room lines", chatStream(kStreamSize)},
    };
    bool ok = true;
    for (const auto& [label, stream] : streams) {
        std::vector<double> on, off, ratios;
        for (int run = 0; run < kRuns; ++run) {
            // Each pair runs back to back, the two sides taking turns to go first, so that a
            // spell of interference on a shared machine falls on both.
            if (run % 2) on.push_back(timeStream(folder, recognised, stream));
            off.push_back(timeStream(folder, "bench", stream));
            if (run % 2 == 0) on.push_back(timeStream(folder, recognised, stream));
            ratios.push_back(on.back() / off.back());
        }
        const double ratio = median(ratios);
        std::printf(
            "%s, %.1f MiB: recognition off %.3f s, on %.3f s (processor, median of %d), "
            "ratio %.2f (median of the pairs; target at most 1.15)\n",
            label, stream.size() / 1048576.0, median(off), median(on), kRuns, ratio);
        ok &= ratio <= 1.15;
    }
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
