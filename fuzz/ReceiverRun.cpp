#include "fuzz/ReceiverRun.h"

#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "link/MemoryLink.h"
#include "tests/fixtures/FakeClock.h"
#include "tests/fixtures/RecordingMonitor.h"
#include "xfer/GFErrors.h"
#include "xfer/GFTransfer.h"

namespace {

// The input stands for bytes that arrive while the engine runs, so a purge drops none of
// them. Without a hang-up the engine meets its time-outs once the input is read.
class FuzzLink : public MemoryLink {
public:
    FuzzLink(std::string input, bool hangUpAtEnd)
        : MemoryLink(std::move(input)), hangUpAtEnd_(hangUpAtEnd) {}
    void PurgeInput() override {}
    bool IsOnline() override { return !hangUpAtEnd_ || InputCount() > 0; }

private:
    bool hangUpAtEnd_;
};

// Time passes ten times faster in the engine's sleeps, so that a long time-out takes a few
// turns of its wait loop.
class FuzzClock : public FakeClock {
public:
    void sleepMs(int ms) override { FakeClock::sleepMs(ms * 10); }
};

// The user stops a transfer that is still waiting after an hour, as a line that stays quiet
// with the time-outs switched off (Kermit TIME 0) would otherwise be waited on for ever.
class FuzzMonitor : public RecordingMonitor {
public:
    FuzzMonitor(const std::string& folder, const Clock& clock)
        : RecordingMonitor(folder), clock_(clock), stopAt_(clock.nowMs() + 3600 * 1000) {}
    int TransferAbort() override { return clock_.nowMs() > stopAt_ ? GF_USER_ABORT : 0; }

private:
    const Clock& clock_;
    int64_t stopAt_;
};

// The folder that takes the received files: made once, emptied after every input.
class ReceiveFolder {
public:
    static ReceiveFolder& instance() {
        static ReceiveFolder* folder = new ReceiveFolder;
        return *folder;
    }
    const std::string& path() const { return path_; }
    void empty() {
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            std::filesystem::remove_all(entry.path());
    }

private:
    ReceiveFolder() {
        path_ = std::filesystem::temp_directory_path() / "quilite-fuzz-XXXXXX";
        if (!mkdtemp(path_.data())) abort();
        atexit([] { std::filesystem::remove_all(instance().path()); });
    }
    std::string path_;
};

}  // namespace

int runReceiver(const ReceiverRun& run, const uint8_t* data, size_t size) {
    ReceiveFolder& folder = ReceiveFolder::instance();
    FuzzLink link(std::string(reinterpret_cast<const char*>(data), size), run.hangUpAtEnd);
    FuzzClock clock;
    FuzzMonitor monitor(folder.path(), clock);
    std::unique_ptr<GFTransfer> engine(GFTransfer::CreateObject(run.protocol, &link, &monitor));
    engine->SetClock(clock);
    if (run.transferType >= 0) monitor.SetTransferType(run.transferType);
    const int result = engine->ReceiveFile(run.target);
    engine.reset();
    folder.empty();
    return result;
}
