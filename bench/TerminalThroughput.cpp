// Throughput of the terminal engine on 64 MiB of Korean text with colours and cursor movement,
// against libvterm (screen layer on, UTF-8 off) fed the same bytes in the same run.
#include <vterm.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "bench/KoreanAnsiStream.h"
#include "link/MemoryLink.h"
#include "term/TWEmulator.h"
#include "term/TWView.h"

namespace {

size_t allocations = 0;

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double runOurs(const std::string& stream, size_t& allocated) {
    MemoryLink link(stream);
    TWView view;
    TWEmulator emulator(&view, &link);
    size_t before = allocations;
    auto start = std::chrono::steady_clock::now();
    while (link.InputCount() > 0)
        emulator.GetChar();
    double s = seconds(start);
    allocated = allocations - before;
    return stream.size() / s / 1e6;
}

double runVterm(const std::string& stream) {
    VTerm* vt = vterm_new(25, 80);
    vterm_set_utf8(vt, 0);
    VTermScreen* screen = vterm_obtain_screen(vt);
    vterm_screen_reset(screen, 1);
    auto start = std::chrono::steady_clock::now();
    const size_t chunk = 4096;
    for (size_t at = 0; at < stream.size(); at += chunk) {
        size_t n = std::min(chunk, stream.size() - at);
        vterm_input_write(vt, stream.data() + at, n);
    }
    double s = seconds(start);
    vterm_free(vt);
    return stream.size() / s / 1e6;
}

}  // namespace

void* operator new(size_t n) {
    ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

int main() {
    const std::string stream = makeKoreanAnsiStream(64u << 20);
    double bestOurs = 0, bestVterm = 0;
    size_t allocated = 0;
    for (int round = 0; round < 3; ++round) {
        bestOurs = std::max(bestOurs, runOurs(stream, allocated));
        bestVterm = std::max(bestVterm, runVterm(stream));
    }
    std::printf("terminal engine: %.1f MB/s (allocations while interpreting: %zu)\n", bestOurs,
                allocated);
    std::printf("libvterm:        %.1f MB/s\n", bestVterm);
    std::printf("ratio:           %.2fx\n", bestOurs / bestVterm);
    return 0;
}
