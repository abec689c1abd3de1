// The telnet link's decoder, option negotiation and line editor over one end of a socket pair.
// After a first byte that chooses how the link is read, the input is a list of steps: a header
// byte (low bit: typed by the user rather than sent by the host; the rest: length - 1) and that
// many bytes. After each step everything the link decoded is read, and what the link sent is
// taken off the host's end.
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "auto/CSettingsSection.h"
#include "auto/Registry.h"
#include "link/TelnetLink.h"
#include "platform/PollEventLoop.h"
#include "platform/ScriptedPrompt.h"

namespace {

// What every link of the run shares: the loop, the prompt and `Comm` settings in a store of
// its own, removed when the run ends.
struct Surroundings {
    Surroundings() {
        folder = std::filesystem::temp_directory_path() / "quilite-fuzz-XXXXXX";
        if (!mkdtemp(folder.data())) abort();
        registry = std::move(Registry::open(folder + "/profile.db").registry);
        if (!registry) abort();
        comm = std::make_unique<CSettingsSection>(*registry, "Comm");
        atexit([] { std::filesystem::remove_all(instance().folder); });
    }
    static Surroundings& instance() {
        static Surroundings* s = new Surroundings;
        return *s;
    }
    TelnetContext context() { return TelnetContext{loop, prompt, *comm}; }

    std::string folder;
    std::unique_ptr<Registry> registry;
    std::unique_ptr<CSettingsSection> comm;
    PollEventLoop loop;
    ScriptedPrompt prompt;
};

void readAll(TelnetLink& link, bool whole) {
    uint8_t buffer[7];
    if (whole) {
        while (link.Read(buffer, sizeof buffer) > 0) {
        }
    } else {
        while (link.ReadByte() >= 0) {
        }
    }
}

void drain(int fd) {
    char buffer[4096];
    while (recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    Surroundings& s = Surroundings::instance();
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) abort();
    {
        TelnetLink link(s.context());
        link.Adopt(ends[0], "fuzz");
        const bool whole = data[0] & 1;
        for (size_t at = 1; at < size;) {
            const uint8_t header = data[at++];
            const size_t n = std::min<size_t>(size - at, (header >> 1) + 1);
            if (header & 1) {
                for (size_t i = 0; i < n; ++i)
                    link.WriteByte(data[at + i]);
            } else if (write(ends[1], data + at, n) < 0) {
                abort();
            }
            at += n;
            readAll(link, whole);
            drain(ends[1]);
        }
    }
    close(ends[1]);
    s.loop.runFor(0);
    s.prompt.asked.clear();
    return 0;
}
