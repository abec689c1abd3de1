// Serial link throughput over a pty pair, in transfer mode as the transfer engines use it:
// 64 MiB written through SerialLink and read at the far end, and 64 MiB written at the far
// end and read through SerialLink, each beside a plain read/write loop with 8 KiB chunks on
// the same pty in the same run. Three runs each; the medians are compared.
#include <stdlib.h>
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
#include "link/SerialLink.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"
#include "tests/fixtures/PtyCable.h"

namespace {

constexpr size_t kTotal = 64u << 20;
constexpr size_t kChunk = 8192;
constexpr int kRuns = 3;

using Steady = std::chrono::steady_clock;

// A checksum of what a side saw, so that a fast but wrong path does not pass.
uint64_t checksum(const uint8_t* data, size_t n, uint64_t sum) {
    for (size_t i = 0; i < n; ++i)
        sum = sum * 31 + data[i];
    return sum;
}

// The pattern repeats every kChunk bytes; every chunk boundary lands on its start.
struct Pattern {
    Pattern() : bytes(kChunk) {
        std::mt19937 r(9);
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(r());
    }
    uint64_t expected() const {
        uint64_t sum = 0;
        for (size_t done = 0; done < kTotal; done += kChunk)
            sum = checksum(bytes.data(), kChunk, sum);
        return sum;
    }
    std::vector<uint8_t> bytes;
};

void writePlain(int fd, const Pattern& p) {
    for (size_t done = 0; done < kTotal;) {
        const size_t at = done % kChunk;
        const ssize_t n = write(fd, p.bytes.data() + at, kChunk - at);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

uint64_t readPlain(int fd) {
    std::vector<uint8_t> buffer(kChunk);
    uint64_t sum = 0;
    for (size_t done = 0; done < kTotal;) {
        const ssize_t n = read(fd, buffer.data(), std::min(kChunk, kTotal - done));
        if (n <= 0) break;
        sum = checksum(buffer.data(), static_cast<size_t>(n), sum);
        done += static_cast<size_t>(n);
    }
    return sum;
}

void writeLink(SerialLink& link, const Pattern& p) {
    for (size_t done = 0; done < kTotal;) {
        const size_t at = done % kChunk;
        const int n = link.Write(p.bytes.data() + at, static_cast<int>(kChunk - at));
        if (n > 0)
            done += static_cast<size_t>(n);
        else
            link.WaitReady(2, 1);
    }
}

uint64_t readLink(SerialLink& link) {
    std::vector<uint8_t> buffer(65536);
    uint64_t sum = 0;
    for (size_t done = 0; done < kTotal;) {
        const int n =
            link.Read(buffer.data(), static_cast<int>(std::min(buffer.size(), kTotal - done)));
        if (n > 0) {
            sum = checksum(buffer.data(), static_cast<size_t>(n), sum);
            done += static_cast<size_t>(n);
        } else {
            link.WaitReady(1, 1);
        }
    }
    return sum;
}

// Runs the reader and the writer on two threads (`readerHere`: the reader on this one); MB/s,
// or 0 when the reader saw other bytes than were written.
double timed(const std::function<uint64_t()>& reader, const std::function<void()>& writer,
             bool readerHere, uint64_t expected) {
    const auto start = Steady::now();
    uint64_t sum = 0;
    std::thread other(readerHere ? writer : [&] { sum = reader(); });
    if (readerHere)
        sum = reader();
    else
        writer();
    other.join();
    const double seconds = std::chrono::duration<double>(Steady::now() - start).count();
    return sum == expected ? kTotal / seconds / 1e6 : 0;
}

}  // namespace

int main() {
    char pattern[] = "/tmp/quilite-serial-bench-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    auto opened = Registry::open(dir + "/profile.db");
    if (!opened.registry) return 1;
    CSettingsSection comm(*opened.registry, "Comm");
    ModemTable modems;
    PollEventLoop loop;
    ScriptedPrompt prompt;
    const Pattern data;
    const uint64_t expected = data.expected();

    std::vector<double> linkSend, plainSend, linkReceive, plainReceive;
    for (int run = 0; run < kRuns; ++run) {
        PtyCable cable;
        const int master = cable.master();
        const int slave = cable.pair.theirs;
        plainSend.push_back(timed([&] { return readPlain(master); },
                                  [&] { writePlain(slave, data); }, false, expected));
        plainReceive.push_back(timed([&] { return readPlain(slave); },
                                     [&] { writePlain(master, data); }, true, expected));

        SerialLink link(SerialContext{loop, prompt, comm, modems, Clock::steady(), cable.lines});
        if (!link.Open(cable.slavePath, SerialLink::kDirectCable, 8192, 8192)) return 1;
        link.SetTransferMode(1);
        linkSend.push_back(timed([&] { return readPlain(master); }, [&] { writeLink(link, data); },
                                 false, expected));
        linkReceive.push_back(timed([&] { return readLink(link); },
                                    [&] { writePlain(master, data); }, true, expected));
        link.SetTransferMode(0);
    }
    std::filesystem::remove_all(dir);

    auto report = [](const char* what, const std::vector<double>& ours,
                     const std::vector<double>& plain) {
        std::printf("%-28s SerialLink", what);
        for (double r : ours)
            std::printf(" %6.1f", r);
        std::printf("   plain");
        for (double r : plain)
            std::printf(" %6.1f", r);
        std::printf("  MB/s   ratio %.2f\n", median(ours) / median(plain));
    };
    std::printf(
        "Serial link over a pty, %zu MiB per run, %d runs, median ratio to plain "
        "read/write with %zu-byte chunks\n",
        kTotal >> 20, kRuns, kChunk);
    report("send (link writes)", linkSend, plainSend);
    report("receive (link reads)", linkReceive, plainReceive);
    return 0;
}
