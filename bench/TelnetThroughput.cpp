// Telnet link throughput in transfer mode, as the transfer engines read: 64 MiB of data taken
// one byte at a time through TelnetLink::ReadByte from a loopback socket that a writer thread
// fills at full speed with the data already in telnet coding (binary, IAC doubled). Beside it,
// in the same run, a plain loop reads the same coded stream from a loopback socket with recv
// and hands each byte to a sink through a virtual call. Three runs each; medians compared.
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "auto/CSettingsSection.h"
#include "auto/Registry.h"
#include "bench/Median.h"
#include "link/TelnetLink.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"
#include "tests/fixtures/LoopbackListener.h"

namespace {

constexpr size_t kTotal = 64u << 20;
constexpr size_t kChunk = 65536;
constexpr int kRuns = 3;

using Steady = std::chrono::steady_clock;

// Each side folds what it read into a checksum, so that a fast but wrong path does not pass.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void take(uint8_t byte) = 0;
    uint64_t sum = 0;
};

class ChecksumSink : public Sink {
public:
    void take(uint8_t byte) override { sum = sum * 31 + byte; }
};

// Random data, the same in every chunk, and its telnet coding.
struct Pattern {
    Pattern() : bytes(kChunk) {
        std::mt19937 r(9);
        for (uint8_t& b : bytes) {
            b = static_cast<uint8_t>(r());
            coded.push_back(b);
            if (b == 0xFF) coded.push_back(0xFF);
        }
    }
    uint64_t expected() const {
        ChecksumSink sink;
        for (size_t done = 0; done < kTotal; done += kChunk)
            for (uint8_t b : bytes)
                sink.take(b);
        return sink.sum;
    }
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> coded;
};

// The host: says it will send binary, then sends the coded data as fast as the socket takes it.
void writeCoded(int fd, const Pattern& p) {
    const uint8_t willBinary[] = {0xFF, 0xFB, 0x00};
    sendAll(fd, std::string_view(reinterpret_cast<const char*>(willBinary), 3));
    const std::string_view coded(reinterpret_cast<const char*>(p.coded.data()), p.coded.size());
    for (size_t done = 0; done < kTotal; done += kChunk)
        if (!sendAll(fd, coded)) return;
    shutdown(fd, SHUT_WR);
}

// The plain loop: everything the socket brings, byte by byte into the sink.
void readPlain(int fd, Sink& sink) {
    std::vector<uint8_t> buffer(kChunk);
    for (ssize_t n; (n = recv(fd, buffer.data(), buffer.size(), 0)) > 0;)
        for (ssize_t i = 0; i < n; ++i)
            sink.take(buffer[static_cast<size_t>(i)]);
}

uint64_t readLink(GFComLink& link) {
    uint64_t sum = 0;
    for (size_t done = 0; done < kTotal;) {
        const int c = link.ReadByte();
        if (c >= 0) {
            sum = sum * 31 + static_cast<uint8_t>(c);
            ++done;
        } else if (!link.WaitReady(1, 1) && !link.IsOnline()) {
            break;
        }
    }
    return sum;
}

double megabytesPerSecond(Steady::time_point start, size_t bytes) {
    return bytes / std::chrono::duration<double>(Steady::now() - start).count() / 1e6;
}

// MB/s of decoded data through the link; 0 when it read other bytes than were sent.
double linkRun(const TelnetContext& context, EventLoop& loop, const Pattern& p) {
    LoopbackListener host;
    TelnetLink link(context);
    if (!link.Connect("127.0.0.1", host.port())) return 0;
    const int fd = host.accept(5000);
    while (!link.IsOnline())
        loop.runFor(5);
    while (link.ReadByte() >= 0) {
    }  // "Trying ...", "Connected to ...", as the terminal would have shown them
    link.SetTransferMode(1);
    GFComLink* volatile opaque = &link;  // read through the interface, as an engine does
    const auto start = Steady::now();
    std::thread writer([&] { writeCoded(fd, p); });
    const uint64_t sum = readLink(*opaque);
    const double rate = megabytesPerSecond(start, kTotal);
    writer.join();
    close(fd);
    link.SetTransferMode(0);
    return sum == p.expected() ? rate : 0;
}

// MB/s of the coded stream through the plain loop.
double plainRun(const Pattern& p, Sink& sink) {
    LoopbackListener host;
    const int ours = connectLoopback(host.port());
    const int fd = host.accept(5000);
    const auto start = Steady::now();
    Sink* volatile opaque = &sink;  // a call the compiler cannot see through
    std::thread writer([&] { writeCoded(fd, p); });
    readPlain(ours, *opaque);
    const double rate = megabytesPerSecond(start, 3 + kTotal / kChunk * p.coded.size());
    writer.join();
    close(fd);
    close(ours);
    return rate;
}

}  // namespace

int main() {
    char folder[] = "/tmp/quilite-telnet-bench-XXXXXX";
    const std::string dir = mkdtemp(folder);
    auto opened = Registry::open(dir + "/profile.db");
    if (!opened.registry) return 1;
    CSettingsSection comm(*opened.registry, "Comm");
    PollEventLoop loop;
    ScriptedPrompt prompt;
    const TelnetContext context{loop, prompt, comm};
    const Pattern pattern;

    std::vector<double> ours, plain;
    for (int run = 0; run < kRuns; ++run) {
        ChecksumSink sink;
        plain.push_back(plainRun(pattern, sink));
        ours.push_back(linkRun(context, loop, pattern));
    }
    std::filesystem::remove_all(dir);

    std::printf(
        "Telnet link over loopback, %zu MiB per run in transfer mode, %d runs, median ratio to a "
        "plain recv loop with a virtual sink per byte\n",
        kTotal >> 20, kRuns);
    std::printf("receive (ReadByte)   TelnetLink");
    for (double r : ours)
        std::printf(" %7.1f", r);
    std::printf("   plain");
    for (double r : plain)
        std::printf(" %7.1f", r);
    std::printf("  MB/s   ratio %.2f\n", median(ours) / median(plain));
    return 0;
}
